#include "platform/QtServices.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace glim {

QRectF pagePlacement(QSize picture, QSizeF printable, double resolution) {
    // The picture's natural size on paper: 96 of its pixels an inch.
    QSizeF size = QSizeF(picture) * (resolution / 96.0);
    if (size.width() > printable.width() || size.height() > printable.height())
        size.scale(printable, Qt::KeepAspectRatio);
    return {QPointF(0, 0), size};
}

bool QtPrinter::printPicture(const Picture& picture) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (picture.isNull() || defaultPrinter.isNull())
        return false;
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Glimwell screenshot"));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the top-left of the printable area.
    const QSizeF printable = printer.pageRect(QPrinter::DevicePixel).size();
    painter.drawImage(pagePlacement(picture.size(), printable, printer.resolution()), picture);
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error &&
           printer.printerState() != QPrinter::Aborted;
}

} // namespace glim
