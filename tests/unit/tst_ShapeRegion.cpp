#include "capture/DragWindow.h"
#include "capture/ShapeRegion.h"

#include <QTest>

using namespace glim;
using Kind = ShapeControl::Kind;

namespace {

// The stretches of one row (or one column) of the region, written "from-to" or a single
// pixel, far enough beyond the window to see anything that leaks out of it.
QString stretches(const QRegion& region, bool column, int index) {
    QStringList found;
    int start = 0;
    bool inside = false;
    for (int i = -8; i <= 130; ++i) {
        const bool here = region.contains(column ? QPoint(index, i) : QPoint(i, index));
        if (here && !inside)
            start = i;
        else if (!here && inside)
            found << (start == i - 1 ? QString::number(start)
                                     : QStringLiteral("%1-%2").arg(start).arg(i - 1));
        inside = here;
    }
    return found.join(QLatin1Char(' '));
}

std::vector<ShapeControl> layout(const QString& name) {
    if (name == QLatin1String("dragfrm"))
        return dragWindowControls();
    if (name == QLatin1String("box under opaque"))
        return {{Kind::Control, QRect(0, 0, 10, 10)}, {Kind::OpaqueRectangle, QRect(5, 5, 10, 10)}};
    return {{Kind::TransparentRectangle, QRect(0, 0, 5, 4)}};
}

} // namespace

// The shape of a window built from its controls by exclusive-or.
class TestShapeRegion : public QObject {
    Q_OBJECT

private slots:
    void shapeRowByRowAndColumnByColumn_data() {
        QTest::addColumn<QString>("controls");
        QTest::addColumn<bool>("column");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const QString drag = QStringLiteral("dragfrm");
        // The strip over the full width, row 17 gone where strip and frame overlap, the frame's
        // two sides and its bottom row, the inside and everything right of column 97 open.
        QTest::newRow("row 0, strip") << drag << false << 0 << "0-97";
        QTest::newRow("row 16, strip") << drag << false << 16 << "0-97";
        QTest::newRow("row 17, cancelled") << drag << false << 17 << "";
        QTest::newRow("row 18, sides") << drag << false << 18 << "0 97";
        QTest::newRow("row 60, sides") << drag << false << 60 << "0 97";
        QTest::newRow("row 111, sides") << drag << false << 111 << "0 97";
        QTest::newRow("row 112, bottom") << drag << false << 112 << "0-97";
        QTest::newRow("row 113, below") << drag << false << 113 << "";
        QTest::newRow("column -1") << drag << true << -1 << "";
        QTest::newRow("column 0, left side") << drag << true << 0 << "0-16 18-112";
        QTest::newRow("column 1, inside") << drag << true << 1 << "0-16 112";
        QTest::newRow("column 50, inside") << drag << true << 50 << "0-16 112";
        QTest::newRow("column 96, inside") << drag << true << 96 << "0-16 112";
        QTest::newRow("column 97, right side") << drag << true << 97 << "0-16 18-112";
        QTest::newRow("column 98, beyond") << drag << true << 98 << "";
        QTest::newRow("column 103, window edge") << drag << true << 103 << "";

        // An opaque rectangle gives its whole area, and overlapping areas cancel.
        const QString boxes = QStringLiteral("box under opaque");
        QTest::newRow("overlap row 2") << boxes << false << 2 << "0-9";
        QTest::newRow("overlap row 7") << boxes << false << 7 << "0-4 10-14";
        QTest::newRow("overlap column 12") << boxes << true << 12 << "5-14";
        // A transparent rectangle alone is its outline.
        const QString outline = QStringLiteral("outline alone");
        QTest::newRow("outline row 0") << outline << false << 0 << "0-4";
        QTest::newRow("outline row 1") << outline << false << 1 << "0 4";
        QTest::newRow("outline column 2") << outline << true << 2 << "0 3";
    }
    void shapeRowByRowAndColumnByColumn() {
        QFETCH(QString, controls);
        QFETCH(bool, column);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(stretches(buildShapeRegion(layout(controls)), column, index), expected);
    }
};

QTEST_GUILESS_MAIN(TestShapeRegion)
#include "tst_ShapeRegion.moc"
