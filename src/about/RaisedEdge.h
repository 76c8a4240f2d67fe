#pragma once

#include <QRegion>

class QPainter;

namespace glim {

// The About window's shape: the rectangle from (0, 0) to `size` with corners cut along
// ellipses of `ellipse` x `ellipse` pixels (40 gives a radius of 20). A pixel belongs to the
// shape when its centre lies inside.
QRegion roundedRectRegion(QSize size, int ellipse);

// Draws a raised rounded edge with a pen 2 pixels wide: white along the top and the left, grey
// (95, 95, 95) along the bottom and the right, the colours changing at the middle of the
// bottom-left and the top-right corners. The box is `width` x `height` from (`left`, `top`),
// its corners of `radius`. Angles are turned into radians with pi taken as 22/7, as the edge
// always was, so each corner's arc ends a hair past its quarter.
void drawRaisedEdge(QPainter& painter, int left, int top, int width, int height, int radius);

} // namespace glim
