#include "capture/SelectorGeometry.h"

#include <QTest>

using namespace glim;

// The selector's rectangle from the pointer positions of the press and the release, on a
// 1920 x 1080 screen.
class TestSelectorGeometry : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(TestSelectorGeometry)
#include "tst_SelectorGeometry.moc"
