#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"

#include <QPointer>
#include <QScreen>
#include <QTest>

namespace {

QList<QWidget*> dragWindows(AppHarness& h) {
    return h.app->trayWindow()->findChildren<QWidget*>(QStringLiteral("dragfrm"));
}

void trigger(QWidget* window, const char* item) {
    window->findChild<QAction*>(QString::fromLatin1(item))->trigger();
}

void clickS(QWidget* drag) {
    QWidget* s = drag->findChild<QWidget*>(QStringLiteral("Label2"));
    QTest::mouseClick(s, Qt::LeftButton, {}, s->rect().center());
}

} // namespace

// "MSN Shot" and its drag window under the offscreen platform, with the fake screen.
class TestMsnShot : public QObject {
    Q_OBJECT

private slots:
    void oneDragWindowCapturesTheScreenThroughItsFrame() {
        AppHarness h;
        QVERIFY(h.app->start());
        glim::MainWindow* main = h.app->mainWindow();
        // A picture in the viewer already, whose pixels must not show in the new one.
        trigger(main, "scrfull");
        QVERIFY(QMetaObject::invokeMethod(main->findChild<QObject*>("bckt"), "timeout"));
        trigger(main, "msnsh");
        QVERIFY(!main->isVisible());
        QPointer<QWidget> drag = dragWindows(h).first();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(drag->geometry(),
                 QRect((screen.width() - 104) / 2, (screen.height() - 113) / 2, 104, 113));
        QVERIFY(!drag->mask().contains(QPoint(50, 60)) && drag->mask().contains(QPoint(97, 60)));
        // A second "MSN Shot" leaves the one window where the user put it.
        drag->move(300, 200);
        trigger(h.app->trayWindow(), "msnsssh");
        QCOMPARE(dragWindows(h), QList<QWidget*>{drag});
        clickS(drag);

        // The screen itself, 97 x 97 from the window's (0, 17), its first column cut off; the
        // three columns left over in the frame's colour.
        QCOMPARE(h.grabber.grabbed.last(), QRect(300, 217, 97, 97));
        const QImage picture = main->viewer()->ima()->picture();
        QCOMPARE(picture.size(), QSize(99, 97));
        QCOMPARE(picture.copy(0, 0, 96, 97), h.grabber.screen.copy(301, 217, 96, 97));
        QImage frameColour(3, 97, picture.format());
        frameColour.fill(QColor(64, 64, 64));
        QCOMPARE(picture.copy(96, 0, 3, 97), frameColour);
        QCOMPARE(main->viewer()->lstv()->topLevelItem(1)->text(1), QStringLiteral("2566 x 2619"));
        QCOMPARE(QImage(h.tempFile(QStringLiteral("screenshot2.jpg"))).size(), QSize(99, 97));
        QVERIFY(main->isVisible() && !main->viewer()->recordFlag());
        QTRY_VERIFY(drag.isNull());
    }

    void captureAfterTheMainWindowWasClosedToTheTrayIsRecorded() {
        AppHarness h("[Options]\r\nHideclosed=1\r\n");
        QVERIFY(h.app->start());
        trigger(h.app->trayWindow(), "msnsssh");
        h.app->showMain();
        h.app->mainWindow()->close();
        QTRY_VERIFY(!h.app->hasMainWindow());
        clickS(dragWindows(h).first());
        QCOMPARE(h.app->mainWindow()->viewer()->lstv()->rowCount(), 1);
        QVERIFY(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))));
    }
};

QTEST_MAIN(TestMsnShot)
#include "tst_MsnShot.moc"
