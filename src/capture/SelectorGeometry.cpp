#include "capture/SelectorGeometry.h"

#include <algorithm>
#include <cmath>

namespace glim {

namespace {

// nearbyint rounds half to even in the default rounding mode; the clamp keeps a pointer far
// off every screen inside an int.
int roundedCoordinate(qreal value) {
    constexpr qreal kLimit = 1 << 28;
    return int(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

} // namespace

QPoint roundedPointer(QPointF position) {
    return {roundedCoordinate(position.x()), roundedCoordinate(position.y())};
}

QRect selectedArea(QPoint press, QPoint release, const QRect& bounds) {
    const int left = std::min(press.x(), release.x());
    const int top = std::min(press.y(), release.y());
    const int right = std::max(press.x(), release.x());
    const int bottom = std::max(press.y(), release.y());
    if (right == left || bottom == top)
        return {};
    // QRect's right and bottom are the last column and row inside.
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(bounds);
}

std::array<QLineF, 4> rubberBand(QPoint anchor, QPointF pointer) {
    const QPointF a(anchor);
    return {QLineF(a, QPointF(a.x(), pointer.y())), QLineF(a, QPointF(pointer.x(), a.y())),
            QLineF(QPointF(pointer.x(), a.y()), pointer),
            QLineF(QPointF(a.x(), pointer.y()), pointer)};
}

QRect edgeRect(const QLineF& edge) {
    const QPoint p1 = roundedPointer(edge.p1());
    const QPoint p2 = roundedPointer(edge.p2());
    return QRect(QPoint(std::min(p1.x(), p2.x()), std::min(p1.y(), p2.y())),
                 QPoint(std::max(p1.x(), p2.x()), std::max(p1.y(), p2.y())));
}

} // namespace glim
