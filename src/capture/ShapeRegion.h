#pragma once

#include <QRect>
#include <QRegion>

#include <vector>

namespace glim {

// One control of a window as its shape sees it: what kind of control it is and where it lies
// (left, top, width, height in the window's pixels).
struct ShapeControl {
    enum class Kind {
        // Any control that is not a shape, or a rectangle shape with a filled back: its
        // bounding rectangle.
        Box,
        // A rectangle shape with a transparent back: its one-pixel outline only.
        TransparentRectangle,
    };
    Kind kind = Kind::Box;
    QRect bounds;
};

// The part of a window that exists on the screen and receives the mouse, built from its
// controls: each control's contribution combined by exclusive-or, starting from nothing, so
// that where two contributions overlap the window is see-through. A control of no width or
// height adds nothing.
QRegion buildShapeRegion(const std::vector<ShapeControl>& controls);

} // namespace glim
