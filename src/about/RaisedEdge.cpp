#include "about/RaisedEdge.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace glim {

namespace {

const QColor kLight = Qt::white;
const QColor kDark(95, 95, 95);

// Degrees to Qt's sixteenths of a degree, through radians taken with pi as 22/7.
int sixteenths(int degrees) {
    const double radians = degrees * (22.0 / 7.0) / 180.0;
    return int(std::lround(radians * 180.0 / std::numbers::pi * 16.0));
}

} // namespace

QRegion roundedRectRegion(QSize size, int ellipse) {
    const double r = ellipse / 2.0;
    QRegion region;
    for (int y = 0; y < size.height(); ++y) {
        // How far the row's centre lies above the top corners' centres or below the bottom
        // ones; between them the row is whole.
        const double centre = y + 0.5;
        const double dy = std::max({r - centre, centre - (size.height() - r), 0.0});
        const int inset =
            dy > 0.0 ? int(std::ceil(r - std::sqrt(std::max(r * r - dy * dy, 0.0)) - 0.5)) : 0;
        if (size.width() > 2 * inset)
            region += QRect(inset, y, size.width() - 2 * inset, 1);
    }
    return region;
}

void drawRaisedEdge(QPainter& painter, int left, int top, int width, int height, int radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    QPen pen(kLight, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    auto line = [&](const QColor& colour, int x1, int y1, int x2, int y2) {
        pen.setColor(colour);
        painter.setPen(pen);
        painter.drawLine(x1, y1, x2, y2);
    };
    // An arc about (cx, cy), counter-clockwise from `from` to `to` degrees (through 0 when
    // `to` is the smaller).
    auto arc = [&](const QColor& colour, int cx, int cy, int from, int to) {
        pen.setColor(colour);
        painter.setPen(pen);
        const int start = sixteenths(from);
        int span = sixteenths(to) - start;
        if (span <= 0)
            span += 360 * 16;
        painter.drawArc(QRect(cx - radius, cy - radius, 2 * radius, 2 * radius), start, span);
    };
    const int right = left + width;
    const int bottom = top + height;
    line(kLight, left + radius, top, right - radius, top);
    arc(kLight, left + radius, top + radius, 90, 180);
    line(kLight, left, top + radius, left, bottom - radius);
    arc(kLight, left + radius, bottom - radius, 180, 225);
    arc(kDark, left + radius, bottom - radius, 225, 270);
    line(kDark, left + radius, bottom, right - radius, bottom);
    arc(kDark, right - radius, bottom - radius, 270, 0);
    line(kDark, right, top + radius, right, bottom - radius);
    arc(kDark, right - radius, top + radius, 0, 45);
    arc(kLight, right - radius, top + radius, 45, 90);
    painter.restore();
}

} // namespace glim
