#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "capture/SelectorOverlay.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "support/AppHarness.h"
#include "support/PictureCompare.h"

#include <QAction>
#include <QTest>
#include <QTimer>

using namespace glim;

namespace {

template <typename T> T* child(QObject* parent, const QString& name) {
    return parent->findChild<T*>(name);
}

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

} // namespace

// Selector Shot from both menus and from the hot key, on the fake screen: the frozen overlay,
// the dragged rectangle and its band, what is recorded and what is not.
class TestSelectorShot : public QObject {
    Q_OBJECT

private slots:
    void selectionIsRecordedFromTheFrozenScreen_data() {
        QTest::addColumn<QString>("command"); // a menu item, or "hot key"
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRect>("selected");
        const QPoint topLeft(70, 45), bottomRight(370, 245);
        const QRect block(70, 45, 300, 200);
        QTest::newRow("sel, left, down-right") << "sel" << 1 << topLeft << bottomRight << block;
        QTest::newRow("sel, right, up-left") << "sel" << 2 << bottomRight << topLeft << block;
        QTest::newRow("sele, right, down-right") << "sele" << 2 << topLeft << bottomRight << block;
        QTest::newRow("sele, middle, up-right")
            << "sele" << 4 << QPoint(70, 245) << QPoint(370, 45) << block;
        QTest::newRow("hot key, left, down-left")
            << "hot key" << 1 << QPoint(370, 45) << QPoint(70, 245) << block;
        QTest::newRow("one point") << "sel" << 1 << topLeft << topLeft << QRect();
        QTest::newRow("no width") << "sele" << 1 << topLeft << QPoint(70, 300) << QRect();
        QTest::newRow("no height") << "hot key" << 2 << bottomRight << QPoint(9, 245) << QRect();
    }
    void selectionIsRecordedFromTheFrozenScreen() {
        QFETCH(QString, command);
        QFETCH(int, button);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QRect, selected);
        AppHarness h;
        QVERIFY(h.app->start());
        MainWindow* window = h.app->mainWindow();
        SelectorOverlay* overlay = h.app->trayWindow()->selector();
        window->show();
        // A picture first, for a selection of nothing to leave alone.
        child<QAction>(window, QStringLiteral("scrfull"))->trigger();
        QVERIFY(
            QMetaObject::invokeMethod(child<QTimer>(window, QStringLiteral("bckt")), "timeout"));
        const QImage before = window->viewer()->ima()->picture();
        const QImage atTheTick = h.grabber.screen;

        const bool fromMain = command == QLatin1String("sel");
        QObject* owner = fromMain ? static_cast<QObject*>(window) : h.app->trayWindow();
        QTimer* timer = child<QTimer>(owner, fromMain ? "selt" : "vertraag");
        if (command == QLatin1String("hot key"))
            h.selectorHotKey.press();
        else
            child<QAction>(owner, command)->trigger();
        QVERIFY(timer->isActive() && timer->isSingleShot() && timer->interval() == 500);
        QVERIFY(window->viewer()->recordFlag() && !window->isVisible());
        QVERIFY(child<QAction>(window, QStringLiteral("sel"))->isChecked());

        PaintCounter paints(overlay);
        bool up = false, exposed = false, rearmed = true, thin = true;
        int paintsBeforeMoves = -1, paintsAfterMoves = -1;
        QImage shown;
        QRect band;
        QTimer::singleShot(0, overlay, [&] {
            up = overlay->isVisible() && overlay->isSelecting();
            exposed = QTest::qWaitForWindowExposed(overlay);
            shown = overlay->grab().toImage().convertToFormat(QImage::Format_BGR888);
            // The live screen changes while the overlay is up; the selection does not.
            h.grabber.screen.fill(Qt::green);
            h.selectorHotKey.press();
            rearmed = timer->isActive();
            QTest::mousePress(overlay, Qt::MouseButton(button), {}, from);
            QCoreApplication::processEvents();
            paintsBeforeMoves = paints.count;
            for (int step = 1; step <= 10; ++step)
                QTest::mouseMove(overlay, from + (to - from) * step / 10);
            QCoreApplication::processEvents();
            paintsAfterMoves = paints.count;
            for (int line = 1; line <= 4; ++line) {
                const auto* edge = child<QWidget>(overlay, QStringLiteral("Line%1").arg(line));
                thin = thin && edge->isVisible() && std::min(edge->width(), edge->height()) == 1;
                band |= edge->geometry();
            }
            QTest::mouseRelease(overlay, Qt::MouseButton(button), {}, to);
            overlay->hide(); // should the release have left it up: a failure, not a hang
        });
        // As the single-shot timer fires: stopped by then.
        timer->stop();
        QMetaObject::invokeMethod(timer, "timeout");

        QVERIFY(up && exposed && !rearmed && !timer->isActive() && !overlay->isVisible());
        QVERIFY(thin);
        QVERIFY(!window->viewer()->recordFlag() && window->isVisible());
        // The overlay showed the screen pixel for pixel from its corner, and the band spanned
        // the anchor and the pointer without a repaint of that picture.
        QCOMPARE(overlay->pos(), QPoint(0, 0));
        QCOMPARE(shown, atTheTick.copy(QRect(QPoint(0, 0), overlay->size())));
        QVERIFY(paintsBeforeMoves > 0);
        QCOMPARE(paintsAfterMoves, paintsBeforeMoves);
        QCOMPARE(band, QRect(from, QSize(1, 1)).united(QRect(to, QSize(1, 1))));
        QVERIFY(child<QWidget>(overlay, QStringLiteral("Line1"))->isHidden());

        const QStringList files =
            QDir(h.folder.filePath(QStringLiteral("Temp"))).entryList(QDir::Files);
        if (selected.isEmpty()) {
            QCOMPARE(window->viewer()->ima()->picture(), before);
            QCOMPARE(files, QStringList{QStringLiteral("screenshot1.jpg")});
            QVERIFY(h.dialogs.shown().isEmpty());
            return;
        }
        const QImage expected = atTheTick.copy(selected);
        QCOMPARE(window->viewer()->ima()->picture(), expected);
        QCOMPARE(window->viewer()->lstv()->rowCount(), 2);
        QVERIFY(largestDifference(QImage(h.tempFile(QStringLiteral("screenshot2.jpg"))),
                                  expected) <= 6);
    }
};

QTEST_MAIN(TestSelectorShot)
#include "tst_SelectorShot.moc"
