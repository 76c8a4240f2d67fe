#pragma once

#include "platform/Picture.h"

#include <QRectF>

namespace glim {

// The default printer, one page per job.
class Printer {
public:
    virtual ~Printer() = default;

    // Prints the picture as one page on the default printer: at the page's top-left at its
    // natural size (96 pixels an inch), scaled down with its proportions kept when it is larger
    // than the printable area. False when there is no printer or the job failed.
    virtual bool printPicture(const Picture& picture) = 0;
};

// Where a picture of `picture` pixels goes on a page whose printable area is `printable`
// device pixels at `resolution` device pixels an inch: at the area's top-left, at 96 picture
// pixels an inch, scaled down with its proportions kept when that does not fit.
QRectF pagePlacement(QSize picture, QSizeF printable, double resolution);

} // namespace glim
