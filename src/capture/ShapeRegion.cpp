#include "capture/ShapeRegion.h"

namespace glim {

namespace {

QRegion contribution(const ShapeControl& control) {
    const QRect& r = control.bounds;
    switch (control.kind) {
    case ShapeControl::Kind::Box:
        return QRegion(r);
    case ShapeControl::Kind::TransparentRectangle:
        // The one-pixel outline: the rectangle without the rectangle one pixel inside it.
        return QRegion(r).xored(QRegion(r.adjusted(1, 1, -1, -1)));
    }
    return {};
}

} // namespace

QRegion buildShapeRegion(const std::vector<ShapeControl>& controls) {
    QRegion shape;
    for (const ShapeControl& control : controls)
        shape = shape.xored(contribution(control));
    return shape;
}

} // namespace glim
