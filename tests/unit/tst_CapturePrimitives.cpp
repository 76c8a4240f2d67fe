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

        grabber.activeFrame = QRect();
        const int grabs = int(grabber.grabbed.size());
        QVERIFY(captureActiveWindow(grabber).isNull());
        QCOMPARE(grabber.grabbed.size(), grabs);
    }

    void capturesAreOursWhateverTheGrabbersFormat() {
        QImage argb(8, 4, QImage::Format_ARGB32);
        argb.fill(QColor(10, 20, 30));
        const Picture picture = createBitmapPicture(argb);
        QCOMPARE(picture.format(), QImage::Format_BGR888);
        QCOMPARE(picture.pixelColor(7, 3), QColor(10, 20, 30));
        QVERIFY(createBitmapPicture(QImage()).isNull());
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
    }
};

QTEST_GUILESS_MAIN(TestCapturePrimitives)
#include "tst_CapturePrimitives.moc"
