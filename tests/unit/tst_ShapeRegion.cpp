#include "capture/DragWindow.h"

#include <QTest>

// The drag window's shape, built from its controls by exclusive-or.
class TestShapeRegion : public QObject {
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestShapeRegion)
#include "tst_ShapeRegion.moc"
