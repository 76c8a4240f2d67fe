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

#include <functional>

using namespace glim;

namespace {

QAction* item(QWidget* window, const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name));
}

QTimer* timer(QWidget* window, const char* name) {
    return window->findChild<QTimer*>(QString::fromLatin1(name));
}

QWidget* bandLine(SelectorOverlay* overlay, int number) {
    return overlay->findChild<QWidget*>(QStringLiteral("Line%1").arg(number));
}

void drag(SelectorOverlay* overlay, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(overlay, button, {}, from);
    QTest::mouseMove(overlay, (from + to) / 2);
    QTest::mouseMove(overlay, to);
    QTest::mouseRelease(overlay, button, {}, to);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

constexpr int kJpegTolerance = 6;

} // namespace

// Selector Shot from both menus and from the hot key, on the fake screen: the frozen overlay,
// the dragged rectangle, what is recorded and what is not.
class TestSelectorShot : public QObject {
    Q_OBJECT

private:
    static void startShown(AppHarness& h) {
        QVERIFY(h.app->start());
        h.app->mainWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.app->mainWindow()));
    }
    // Runs the tick of the armed `timer`, during which `user` acts on the overlay once it is up.
    // Should the user's actions leave it up, it is hidden, so that a fault fails the test
    // rather than hanging it. False when the tick did not bring the overlay up.
    static bool select(AppHarness& h, QTimer* timer, const std::function<void()>& user) {
        SelectorOverlay* overlay = h.app->trayWindow()->selector();
        if (!timer || !timer->isActive() || !timer->isSingleShot() || timer->interval() != 500)
            return false;
        bool wasUp = false;
        QTimer::singleShot(0, overlay, [&] {
            wasUp =
                overlay->isVisible() && overlay->isSelecting() && !h.app->mainWindow()->isVisible();
            user();
            if (overlay->isVisible())
                overlay->hide();
        });
        // As the single-shot timer fires: it is stopped by then.
        timer->stop();
        QMetaObject::invokeMethod(timer, "timeout");
        return wasUp && !overlay->isVisible() && !timer->isActive();
    }
    static QStringList tempFiles(const AppHarness& h) {
        return QDir(h.folder.filePath(QStringLiteral("Temp"))).entryList(QDir::Files);
    }

private slots:
    void draggedRectangleIsRecordedFromEitherMenu_data() {
        QTest::addColumn<bool>("fromTray");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        const QPoint topLeft(70, 45), bottomRight(370, 245);
        QTest::newRow("Tools, left, down-right")
            << false << int(Qt::LeftButton) << topLeft << bottomRight;
        QTest::newRow("Tools, right, up-left")
            << false << int(Qt::RightButton) << bottomRight << topLeft;
        QTest::newRow("tray, right, down-right")
            << true << int(Qt::RightButton) << topLeft << bottomRight;
        QTest::newRow("tray, left, up-left")
            << true << int(Qt::LeftButton) << bottomRight << topLeft;
        QTest::newRow("tray, middle, up-right")
            << true << int(Qt::MiddleButton) << QPoint(70, 245) << QPoint(370, 45);
    }
    void draggedRectangleIsRecordedFromEitherMenu() {
        QFETCH(bool, fromTray);
        QFETCH(int, button);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        QWidget* owner = fromTray ? static_cast<QWidget*>(h.app->trayWindow()) : window;
        SelectorOverlay* overlay = h.app->trayWindow()->selector();

        item(owner, fromTray ? "sele" : "sel")->trigger();
        QVERIFY(window->viewer()->recordFlag());
        QVERIFY(!window->isVisible());
        QVERIFY(item(window, "sel")->isChecked() && item(h.app->trayWindow(), "sele")->isChecked());
        QVERIFY(select(h, timer(owner, fromTray ? "vertraag" : "selt"),
                       [&] { drag(overlay, Qt::MouseButton(button), from, to); }));

        // Columns 70 to 369 and rows 45 to 244, whichever way and with whichever button.
        const QImage expected = h.grabber.screen.copy(70, 45, 300, 200);
        QCOMPARE(h.grabber.grabbed, QList<QRect>{QRect(0, 0, 1024, 768)});
        QCOMPARE(window->viewer()->ima()->picture(), expected);
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        const QImage written(h.tempFile(QStringLiteral("screenshot1.jpg")));
        QVERIFY(largestDifference(written, expected) <= kJpegTolerance);
        QVERIFY(!window->viewer()->recordFlag());
        QVERIFY(window->isVisible());
        for (int line = 1; line <= 4; ++line)
            QVERIFY(bandLine(overlay, line)->isHidden());
    }

    void overlayHoldsTheScreenFrozenAndMovesOnlyTheBand() {
        AppHarness h;
        startShown(h);
        SelectorOverlay* overlay = h.app->trayWindow()->selector();
        const QImage shownAtTheTick = h.grabber.screen;
        PaintCounter paints(overlay);
        int paintsBeforeMoves = -1, paintsAfterMoves = -1;
        QImage onScreen;
        QList<QRect> band;
        bool exposed = false;

        item(h.app->trayWindow(), "sele")->trigger();
        QVERIFY(select(h, timer(h.app->trayWindow(), "vertraag"), [&] {
            exposed = QTest::qWaitForWindowExposed(overlay);
            onScreen = overlay->grab().toImage();
            // The live screen changes while the overlay is up; the selection does not.
            h.grabber.screen.fill(QColor(0, 255, 0));
            QTest::mousePress(overlay, Qt::LeftButton, {}, QPoint(300, 200));
            QCoreApplication::processEvents();
            paintsBeforeMoves = paints.count;
            for (int step = 1; step <= 10; ++step)
                QTest::mouseMove(overlay, QPoint(300 - 20 * step, 200 - 15 * step));
            QCoreApplication::processEvents();
            paintsAfterMoves = paints.count;
            for (int line = 1; line <= 4; ++line)
                band.append(bandLine(overlay, line)->isVisible()
                                ? bandLine(overlay, line)->geometry()
                                : QRect());
            QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(100, 50));
        }));

        QVERIFY(exposed);
        // Its own cursor, 32 x 32, a cross-hair whose hot spot is at the gap in its middle.
        const QImage cursor = overlay->cursor().pixmap().toImage();
        QCOMPARE(cursor.size(), QSize(32, 32));
        QCOMPARE(overlay->cursor().hotSpot(), QPoint(16, 16));
        QCOMPARE(cursor.pixelColor(16, 16).alpha(), 0);
        QCOMPARE(cursor.pixelColor(16, 5), QColor(Qt::black));
        QCOMPARE(cursor.pixelColor(26, 16), QColor(Qt::black));
        // Pixel for pixel the screen as the tick read it, at the overlay's corner.
        const QRect covered(QPoint(0, 0), overlay->size());
        QCOMPARE(overlay->pos(), QPoint(0, 0));
        QCOMPARE(onScreen.convertToFormat(QImage::Format_BGR888), shownAtTheTick.copy(covered));
        QVERIFY(paintsBeforeMoves > 0);
        QCOMPARE(paintsAfterMoves, paintsBeforeMoves);
        // The band from the anchor (300, 200) to the pointer (100, 50).
        QCOMPARE(band, (QList<QRect>{QRect(300, 50, 1, 151), QRect(100, 200, 201, 1),
                                     QRect(100, 50, 1, 151), QRect(100, 50, 201, 1)}));
        QCOMPARE(h.app->mainWindow()->viewer()->ima()->picture(),
                 shownAtTheTick.copy(100, 50, 200, 150));
    }

    void selectionOfNoWidthOrHeightRecordsNothing_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("one point") << QPoint(200, 150) << QPoint(200, 150);
        QTest::newRow("no width") << QPoint(200, 150) << QPoint(200, 400);
        QTest::newRow("no height") << QPoint(500, 150) << QPoint(200, 150);
    }
    void selectionOfNoWidthOrHeightRecordsNothing() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        SelectorOverlay* overlay = h.app->trayWindow()->selector();
        item(window, "scrfull")->trigger();
        QVERIFY(QMetaObject::invokeMethod(timer(window, "bckt"), "timeout"));
        const QImage shown = window->viewer()->ima()->picture();

        item(window, "sel")->trigger();
        QVERIFY(select(h, timer(window, "selt"), [&] { drag(overlay, Qt::LeftButton, from, to); }));
        QCOMPARE(window->viewer()->lstv()->rowCount(), 1);
        QCOMPARE(window->viewer()->ima()->picture(), shown);
        QCOMPARE(tempFiles(h), QStringList{QStringLiteral("screenshot1.jpg")});
        QVERIFY(h.dialogs.shown().isEmpty());
        QVERIFY(!window->viewer()->recordFlag());
        QVERIFY(window->isVisible());
    }

    void hotKeyStartsTheTraySelectorAndIsIgnoredWhileItRuns() {
        AppHarness h;
        startShown(h);
        MainWindow* window = h.app->mainWindow();
        QWidget* tray = h.app->trayWindow();
        SelectorOverlay* overlay = h.app->trayWindow()->selector();
        window->setWindowState(Qt::WindowMinimized);

        h.selectorHotKey.press();
        QTimer* vertraag = timer(tray, "vertraag");
        QVERIFY(window->viewer()->recordFlag());
        QVERIFY(item(tray, "sele")->isChecked() && item(window, "sel")->isChecked());
        bool rearmed = true;
        QVERIFY(select(h, vertraag, [&] {
            h.selectorHotKey.press();
            rearmed = vertraag->isActive();
            drag(overlay, Qt::LeftButton, QPoint(10, 10), QPoint(74, 42));
        }));
        QVERIFY(!rearmed);
        QCOMPARE(window->viewer()->ima()->picture(), h.grabber.screen.copy(10, 10, 64, 32));
        QCOMPARE(tempFiles(h), QStringList{QStringLiteral("screenshot1.jpg")});
        QVERIFY(!(window->windowState() & Qt::WindowMinimized) && window->isVisible());
    }
};

QTEST_MAIN(TestSelectorShot)
#include "tst_SelectorShot.moc"
