#include "platform/PrintSpooler.h"
#include "platform/QtServices.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

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
    // The page is made here as a PDF laid out for the default printer and handed to the spooler
    // by us: Qt's own hand-over does not say when the spooler refuses the job.
    QTemporaryFile pdf(QDir::tempPath() + QStringLiteral("/glimwell-print-XXXXXX.pdf"));
    if (!pdf.open())
        return false;
    pdf.close();
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    const QPageLayout layout = printer.pageLayout();
    printer.setOutputFileName(pdf.fileName());
    printer.setPageLayout(layout);
    const QString title = QStringLiteral("Glimwell screenshot");
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the top-left of the printable area.
    const QSizeF printable = printer.pageRect(QPrinter::DevicePixel).size();
    painter.drawImage(pagePlacement(picture.size(), printable, printer.resolution()), picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return false;
    return submitPrintJob(defaultPrinter.printerName(), pdf.fileName(), title,
                          layout.pageSize().key());
}

} // namespace glim
