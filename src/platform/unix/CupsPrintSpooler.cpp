#include "platform/PrintSpooler.h"

#include <cups/cups.h>

namespace glim {

bool submitPrintJob(const QString& printerName, const QString& pdfPath, const QString& title,
                    const QString& media) {
    cups_option_t* options = nullptr;
    int count = 0;
    if (!media.isEmpty())
        count = cupsAddOption("media", media.toLatin1().constData(), count, &options);
    // The job id is 0 when CUPS refused the job; the reason is in cupsLastErrorString().
    const int job =
        cupsPrintFile(printerName.toLocal8Bit().constData(), pdfPath.toLocal8Bit().constData(),
                      title.toLocal8Bit().constData(), count, options);
    cupsFreeOptions(count, options);
    return job > 0;
}

} // namespace glim
