#pragma once

#include <QLineF>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <array>

namespace glim {

// The arithmetic of the selector overlay, in screen pixels, without a widget.

// A pointer position rounded to whole pixels, halves to the even neighbour.
QPoint roundedPointer(QPointF position);

// The rectangle between the press and the release, whichever way it was dragged: its left and
// top are the smaller coordinates, and the column and the row of the larger ones are not in it,
// so a press and release at one point selects nothing. Cut to `bounds` (the frozen screen), so
// that a release beyond it (on another monitor) takes no pixels the screen did not show.
QRect selectedArea(QPoint press, QPoint release, const QRect& bounds);

// The rubber band's four edges from the anchor to the pointer: the vertical one through the
// anchor, the horizontal one through the anchor, the vertical one through the pointer and the
// horizontal one through the pointer. The pointer is taken as the event gives it, not rounded.
std::array<QLineF, 4> rubberBand(QPoint anchor, QPointF pointer);

// The pixels that draw an edge one pixel wide: from its smaller to its larger end coordinate,
// both included.
QRect edgeRect(const QLineF& edge);

} // namespace glim
