#include "capture/Capture.h"
#include "support/FakeScreenGrabber.h"
#include "support/PictureCompare.h"

#include <QTest>

using namespace glim;

// The capture primitives over a screen of known pixels: which block of the screen each one
// reads, and what the picture it hands on holds.
class TestCapturePrimitives : public QObject {
    Q_OBJECT

private slots:
    void windowBlocksCountFromTheFrameOrTheClientArea() {
        FakeScreenGrabber grabber;
        // A window with a 1-pixel border and a 20-pixel caption.
        const WindowArea window{QRect(100, 50, 302, 225), QRect(101, 70, 300, 200)};
        const Picture whole = captureWindow(grabber, window, false, 0, 0, 302, 225);
        QCOMPARE(grabber.grabbed.last(), QRect(100, 50, 302, 225));
        QCOMPARE(whole.format(), QImage::Format_BGR888);
        QCOMPARE(largestDifference(whole, grabber.screen.copy(100, 50, 302, 225)), 0);

        const Picture inner = captureWindow(grabber, window, true, 10, 5, 40, 30);
        QCOMPARE(grabber.grabbed.last(), QRect(111, 75, 40, 30));
        QCOMPARE(largestDifference(inner, grabber.screen.copy(111, 75, 40, 30)), 0);

        QVERIFY(captureWindow(grabber, window, false, 0, 0, 0, 30).isNull());
    }

    void screenIsTheWholePrimaryScreenFromItsCorner() {
        FakeScreenGrabber grabber(QSize(640, 400));
        const Picture screen = captureScreen(grabber);
        QCOMPARE(grabber.grabbed, QList<QRect>{QRect(0, 0, 640, 400)});
        QCOMPARE(largestDifference(screen, grabber.screen), 0);
    }

    void activeWindowIsItsWholeFrame() {
        FakeScreenGrabber grabber;
        grabber.activeFrame = QRect(900, 700, 300, 200); // partly off a 1024 x 768 screen
        const Picture window = captureActiveWindow(grabber);
        QCOMPARE(window.size(), QSize(300, 200));
        QCOMPARE(grabber.grabbed.last(), grabber.activeFrame);

        // A frame as huge as X allows is read only where it lies on the screen.
        grabber.activeFrame = QRect(-10, -10, 32767, 32767);
        QCOMPARE(captureActiveWindow(grabber).size(), QSize(1024, 768));
        QCOMPARE(grabber.grabbed.last(), QRect(0, 0, 1024, 768));

        // No window active: the desktop has the focus, and its picture is the whole screen.
        grabber.activeFrame = QRect();
        QCOMPARE(largestDifference(captureActiveWindow(grabber), grabber.screen), 0);
        QCOMPARE(grabber.grabbed.last(), QRect(0, 0, 1024, 768));
    }

    // On a 1024 x 768 screen.
    void captureAreaIsBoundToTheScreen_data() {
        QTest::addColumn<qint64>("left");
        QTest::addColumn<qint64>("top");
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<QRect>("bounded");
        QTest::newRow("inside") << 100ll << 50ll << 300ll << 200ll << QRect(100, 50, 300, 200);
        QTest::newRow("partly off, whole extent kept")
            << 900ll << -50ll << 300ll << 200ll << QRect(900, -50, 300, 200);
        QTest::newRow("as wide as the screen, half off")
            << -512ll << 0ll << 1024ll << 768ll << QRect(-512, 0, 1024, 768);
        QTest::newRow("longer than the screen: its part on it")
            << -100ll << 10ll << 32767ll << 32767ll << QRect(0, 10, 1024, 758);
        QTest::newRow("longer on one axis only")
            << 1000ll << 700ll << 2000ll << 100ll << QRect(1000, 700, 24, 100);
        QTest::newRow("ends at the left edge") << -300ll << 0ll << 300ll << 10ll << QRect();
        QTest::newRow("starts at the right edge") << 1024ll << 0ll << 10ll << 10ll << QRect();
        QTest::newRow("starts below the screen") << 0ll << 768ll << 10ll << 10ll << QRect();
        QTest::newRow("no width") << 5ll << 5ll << 0ll << 10ll << QRect();
        QTest::newRow("negative height") << 5ll << 5ll << 10ll << -3ll << QRect();
        QTest::newRow("beyond 32 bits") << 4294967296ll << 0ll << 10ll << 10ll << QRect();
    }
    void captureAreaIsBoundToTheScreen() {
        QFETCH(qint64, left);
        QFETCH(qint64, top);
        QFETCH(qint64, width);
        QFETCH(qint64, height);
        QTEST(boundCaptureArea(left, top, width, height, QSize(1024, 768)), "bounded");
    }

    void screenBlockIsDrawnIntoTheDestinationAtItsCorner() {
        FakeScreenGrabber grabber;
        Picture frozen(200, 100, QImage::Format_BGR888);
        frozen.fill(Qt::white);
        copyScreenToDC(grabber, frozen, 64, 32, 120, 80);
        QCOMPARE(frozen.size(), QSize(200, 100));
        QCOMPARE(
            largestDifference(frozen.copy(0, 0, 120, 80), grabber.screen.copy(64, 32, 120, 80)), 0);
        // What the block does not cover keeps what the destination held.
        QCOMPARE(frozen.pixelColor(150, 90), QColor(Qt::white));
        QCOMPARE(frozen.pixelColor(119, 79), FakeScreenGrabber::blockColour(5, 3));

        // A block longer than a 100-pixel screen is read where it lies on the screen and drawn
        // where that part belongs.
        FakeScreenGrabber small(QSize(100, 50));
        frozen.fill(Qt::white);
        copyScreenToDC(small, frozen, -20, 0, 150, 50);
        QCOMPARE(small.grabbed.last(), QRect(0, 0, 100, 50));
        QCOMPARE(frozen.pixelColor(19, 10), QColor(Qt::white));
        QCOMPARE(frozen.pixelColor(20, 10), FakeScreenGrabber::blockColour(0, 0));
        QCOMPARE(frozen.pixelColor(119, 10), FakeScreenGrabber::blockColour(3, 0));
    }
};

QTEST_GUILESS_MAIN(TestCapturePrimitives)
#include "tst_CapturePrimitives.moc"
