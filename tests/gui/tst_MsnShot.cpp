#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "capture/DragWindow.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"
#include "support/PictureCompare.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>

using namespace glim;

namespace {

QList<QWidget*> dragWindows() {
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("dragfrm"))
            found.append(widget);
    return found;
}

QWidget* control(QWidget* window, const QString& name) {
    return window->findChild<QWidget*>(name);
}

// Where a window of the drag window's 104 x 113 pixels stands centred on the screen.
QPoint centred() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return screen.topLeft() + QPoint((screen.width() - 104) / 2, (screen.height() - 113) / 2);
}

void trigger(QWidget* window, const char* item) {
    window->findChild<QAction*>(QString::fromLatin1(item))->trigger();
}

} // namespace

// "MSN Shot" and its drag window under the offscreen platform, with the fake screen.
class TestMsnShot : public QObject {
    Q_OBJECT

private:
    static void startShown(AppHarness& h) {
        QVERIFY(h.app->start());
        h.app->mainWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.app->mainWindow()));
    }

private slots:
    void secondMsnShotLeavesTheOneDragWindowWhereItIs() {
        AppHarness h;
        startShown(h);
        MainWindow* main = h.app->mainWindow();
        trigger(main, "msnsh");
        QVERIFY(!main->isVisible());
        QCOMPARE(dragWindows().size(), 1);
        QWidget* drag = dragWindows().first();
        QVERIFY(drag->isVisible());
        QCOMPARE(drag->geometry(), QRect(centred(), QSize(104, 113)));
        // The frame's inside is no part of the window; its strip and edges are.
        QVERIFY(!drag->mask().contains(QPoint(50, 60)));
        QVERIFY(drag->mask().contains(QPoint(50, 5)) && drag->mask().contains(QPoint(97, 60)));

        drag->move(300, 200);
        trigger(h.app->trayWindow(), "msnsssh");
        QCOMPARE(dragWindows(), QList<QWidget*>{drag});
        QVERIFY(drag->isVisible());
        QCOMPARE(drag->pos(), QPoint(300, 200));
        QVERIFY(!h.app->mainWindow()->viewer()->recordFlag());
    }

    void captureRecordsTheScreenSeenThroughTheFrame() {
        AppHarness h;
        startShown(h);
        MainWindow* main = h.app->mainWindow();
        // A picture in the viewer already, whose pixels must not show in the new one.
        trigger(main, "scrfull");
        QVERIFY(QMetaObject::invokeMethod(main->findChild<QObject*>("bckt"), "timeout"));

        trigger(main, "msnsh");
        QPointer<QWidget> drag = dragWindows().first();
        drag->move(300, 200);
        QWidget* s = control(drag, QStringLiteral("Label2"));
        QTest::mouseClick(s, Qt::LeftButton, {}, s->rect().center());

        // The screen itself is read, below the strip: 97 x 97 from the window's (0, 17).
        QCOMPARE(h.grabber.grabbed.last(), QRect(300, 217, 97, 97));
        const QImage picture = main->viewer()->ima()->picture();
        QCOMPARE(picture.size(), QSize(99, 97));
        // The frame's left edge falls outside: columns 0 to 95 are the screen's 301 to 396.
        QCOMPARE(picture.copy(0, 0, 96, 97),
                 h.grabber.screen.copy(301, 217, 96, 97).convertToFormat(picture.format()));
        QImage frameColour(3, 97, picture.format());
        frameColour.fill(QColor(64, 64, 64));
        QCOMPARE(picture.copy(96, 0, 3, 97), frameColour);

        const ScreenshotList* list = main->viewer()->lstv();
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("2566 x 2619"));
        const QImage written(h.tempFile(QStringLiteral("screenshot2.jpg")));
        QVERIFY(largestDifference(written, picture) <= 6);
        QVERIFY(main->isVisible());
        QVERIFY(!main->viewer()->recordFlag());
        QTRY_VERIFY(drag.isNull());

        // The next "MSN Shot" loads a fresh window at the centre.
        trigger(h.app->trayWindow(), "msnsssh");
        QCOMPARE(dragWindows().size(), 1);
        QCOMPARE(dragWindows().first()->pos(), centred());
    }

    void captureAfterTheMainWindowWasClosedToTheTrayIsRecorded() {
        AppHarness h("[Options]\r\nHideclosed=1\r\n");
        startShown(h);
        trigger(h.app->mainWindow(), "msnsh");
        QWidget* drag = dragWindows().first();
        // Shown from the tray and closed again while the drag window waits.
        h.app->showMain();
        h.app->mainWindow()->close();
        QTRY_VERIFY(!h.app->hasMainWindow());

        QWidget* s = control(drag, QStringLiteral("Label2"));
        QTest::mouseClick(s, Qt::LeftButton, {}, s->rect().center());
        QVERIFY(h.app->hasMainWindow() && h.app->mainWindow()->isVisible());
        QCOMPARE(h.app->mainWindow()->viewer()->lstv()->rowCount(), 1);
        QVERIFY(QFile::exists(h.tempFile(QStringLiteral("screenshot1.jpg"))));
    }

    void onlyTheLeftButtonOnTheStripMovesTheWindow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("strip, left") << "Picture1" << Qt::LeftButton << true;
        QTest::newRow("Drag Me, left") << "Label1" << Qt::LeftButton << true;
        QTest::newRow("strip, right") << "Picture1" << Qt::RightButton << false;
        QTest::newRow("Drag Me, right") << "Label1" << Qt::RightButton << false;
        QTest::newRow("S, left") << "Label2" << Qt::LeftButton << false;
    }
    void onlyTheLeftButtonOnTheStripMovesTheWindow() {
        QFETCH(QString, name);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, moves);
        AppHarness h;
        startShown(h);
        trigger(h.app->mainWindow(), "msnsh");
        QWidget* drag = dragWindows().first();
        QVERIFY(QTest::qWaitForWindowExposed(drag));
        QWidget* part = control(drag, name);
        const QPoint start = drag->pos();
        const QPoint at(4, 4);

        QTest::mousePress(part, button, {}, at);
        QTest::mouseMove(part, at + QPoint(40, 30));
        QTest::mouseRelease(part, button, {}, at + QPoint(40, 30));
        QCOMPARE(drag->pos(), moves ? start + QPoint(40, 30) : start);
        // Letting go of "S" away from it captures nothing.
        QCOMPARE(dragWindows().size(), 1);
        QVERIFY(h.grabber.grabbed.isEmpty());
    }
};

QTEST_MAIN(TestMsnShot)
#include "tst_MsnShot.moc"
