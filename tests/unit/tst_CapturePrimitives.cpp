#include "capture/Capture.h"
#include "capture/DragWindow.h"
#include "capture/SelectorGeometry.h"
#include "support/FakeScreenGrabber.h"
#include "support/PictureCompare.h"

#include <QTest>

using namespace glim;

// The capture primitives over a screen of known pixels: which block of the screen each one
// reads, and what the picture it hands on holds; the selector's rectangle; and the drag
// window's shape, built from its controls by exclusive-or.
class TestCapturePrimitives : public QObject {
    Q_OBJECT

private slots:
    // On a 1024 x 768 screen, a window with a 1-pixel border and a 20-pixel caption: the block
    // each capture reads (none: no picture), and a picture of its pixels, black off the screen.
    void captureReadsItsBlockOfTheScreen_data() {
        QTest::addColumn<QString>("capture");
        QTest::addColumn<QRect>("block"); // of the window, or the active window's frame
        QTest::addColumn<QRect>("grabbed");
        const QString active = u"active"_qs;
        QTest::newRow("client block") << "client" << QRect(10, 5, 40, 30) << QRect(111, 75, 40, 30);
        QTest::newRow("active, partly off")
            << active << QRect(900, 700, 300, 200) << QRect(900, 700, 300, 200);
        // As huge as X allows: its part on the screen.
        QTest::newRow("active, huge")
            << active << QRect(-10, -10, 32767, 32767) << QRect(0, 0, 1024, 768);
        QTest::newRow("active, wholly off") << active << QRect(1100, 0, 300, 200) << QRect();
    }
    void captureReadsItsBlockOfTheScreen() {
        QFETCH(QString, capture);
        QFETCH(QRect, block);
        QFETCH(QRect, grabbed);
        FakeScreenGrabber grabber;
        grabber.activeFrame = block;
        const WindowArea window{QRect(100, 50, 302, 225), QRect(101, 70, 300, 200)};
        const Picture picture = capture == u"active"
                                    ? captureActiveWindow(grabber)
                                    : captureWindow(grabber, window, true, block.x(), block.y(),
                                                    block.width(), block.height());
        QCOMPARE(grabber.grabbed, grabbed.isNull() ? QList<QRect>() : QList<QRect>{grabbed});
        QCOMPARE(picture.isNull(), grabbed.isNull());
        if (!grabbed.isNull()) {
            QCOMPARE(picture.format(), QImage::Format_BGR888);
            QCOMPARE(largestDifference(picture, grabber.screen.copy(grabbed)), 0);
        }
    }

    // On a 1024 x 768 screen.
    void captureAreaIsBoundToTheScreen_data() {
        QTest::addColumn<QList<qint64>>("area"); // left, top, width, height
        QTest::addColumn<QRect>("bounded");
        using Area = QList<qint64>;
        QTest::newRow("partly off: kept") << Area{900, -50, 300, 200} << QRect(900, -50, 300, 200);
        QTest::newRow("screen-wide, half off")
            << Area{-512, 0, 1024, 768} << QRect(-512, 0, 1024, 768);
        QTest::newRow("too long: its part")
            << Area{-100, 10, 32767, 32767} << QRect(0, 10, 1024, 758);
        QTest::newRow("ends at the left edge") << Area{-300, 0, 300, 10} << QRect();
        QTest::newRow("starts at the right edge") << Area{1024, 0, 10, 10} << QRect();
        QTest::newRow("no width") << Area{5, 5, 0, 10} << QRect();
        QTest::newRow("negative height") << Area{5, 5, 10, -3} << QRect();
        QTest::newRow("beyond 32 bits") << Area{4294967296, 0, 10, 10} << QRect();
    }
    void captureAreaIsBoundToTheScreen() {
        QFETCH(QList<qint64>, area);
        QTEST(boundCaptureArea(area[0], area[1], area[2], area[3], QSize(1024, 768)), "bounded");
    }

    // A block longer than a 100-pixel screen is read where it lies on the screen and drawn
    // where that part belongs; what it does not cover keeps what the destination held.
    void screenBlockIsDrawnIntoTheDestinationAtItsCorner() {
        FakeScreenGrabber small(QSize(100, 50));
        Picture frozen(200, 100, QImage::Format_BGR888);
        frozen.fill(Qt::white);
        copyScreenToDC(small, frozen, -20, 0, 150, 50);
        QCOMPARE(small.grabbed.last(), QRect(0, 0, 100, 50));
        QCOMPARE(frozen.pixelColor(19, 10), QColor(Qt::white));
        QCOMPARE(frozen.pixelColor(20, 10), FakeScreenGrabber::blockColour(0, 0));
    }

    // The selector's rectangle from the pointer positions of the press and the release, on a
    // 1920 x 1080 screen.
    void rectangleIsRoundedAndNormalised_data() {
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QPointF>("release");
        QTest::addColumn<QRect>("selected");
        const QRect block(10, 20, 100, 50);
        QTest::newRow("top-left to bottom-right") << QPointF(10, 20) << QPointF(110, 70) << block;
        QTest::newRow("halves to even") << QPointF(10.5, 19.5) << QPointF(110.5, 70.5) << block;
        QTest::newRow("one pixel") << QPointF(5, 5) << QPointF(6, 6) << QRect(5, 5, 1, 1);
        QTest::newRow("rounded to no width") << QPointF(40.5, 10) << QPointF(39.5, 90) << QRect();
        using P = QPointF;
        QTest::newRow("whole screen") << P(0, 0) << P(1920, 1080) << QRect(0, 0, 1920, 1080);
        QTest::newRow("released beyond it")
            << P(1900, 1000) << P(2500, 1400) << QRect(1900, 1000, 20, 80);
        QTest::newRow("left of and above it") << P(-30, -0.5) << P(50, 60) << QRect(0, 0, 50, 60);
        QTest::newRow("far off every screen") << P(-1e12, 5) << P(1e12, 6) << QRect(0, 5, 1920, 1);
    }
    void rectangleIsRoundedAndNormalised() {
        QFETCH(QPointF, press);
        QFETCH(QPointF, release);
        QTEST(selectedArea(roundedPointer(press), roundedPointer(release), QRect(0, 0, 1920, 1080)),
              "selected");
    }

    // The pixels of one row (or column) inside the shape, as stretches "from-to" or single
    // pixels: the strip over the full width; row 17 gone where strip and frame overlap; the
    // frame's sides and bottom row; its inside and everything right of column 97 open.
    void dragWindowShapeRowByRowAndColumnByColumn_data() {
        QTest::addColumn<bool>("column");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const struct {
            bool column;
            int index;
            const char* expected;
        } cases[] = {{false, 0, "0-97"},    {false, 16, "0-97"},    {false, 17, ""},
                     {false, 18, "0 97"},   {false, 111, "0 97"},   {false, 112, "0-97"},
                     {false, 113, ""},      {true, -1, ""},         {true, 0, "0-16 18-112"},
                     {true, 1, "0-16 112"}, {true, 96, "0-16 112"}, {true, 97, "0-16 18-112"},
                     {true, 98, ""}};
        for (const auto& c : cases)
            QTest::addRow("%s %d", c.column ? "column" : "row", c.index)
                << c.column << c.index << c.expected;
    }
    void dragWindowShapeRowByRowAndColumnByColumn() {
        QFETCH(bool, column);
        QFETCH(int, index);
        const QRegion shape = glim::buildShapeRegion(glim::dragWindowControls());
        QStringList stretches;
        for (int i = -8, start = 0; i <= 130; ++i) {
            const auto in = [&](int at) {
                return shape.contains(column ? QPoint(index, at) : QPoint(at, index));
            };
            if (in(i) && !in(i - 1))
                start = i;
            if (in(i) && !in(i + 1))
                stretches << (start == i ? QString::number(i)
                                         : QStringLiteral("%1-%2").arg(start).arg(i));
        }
        QTEST(stretches.join(QLatin1Char(' ')), "expected");
    }
};

QTEST_GUILESS_MAIN(TestCapturePrimitives)
#include "tst_CapturePrimitives.moc"
