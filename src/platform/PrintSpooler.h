#pragma once

#include <QString>

namespace glim {

// The system's print spooler, as far as the printer service needs it: a finished PDF file
// handed over as one job for the named printer, on paper of the PDF's page size (`media`, a
// page-size key such as "A4" or "Letter"), so that the spooler does not scale it to a paper of
// its own. True only when the spooler took the job (a
// queue that rejects jobs, a spooler that has gone, or a printer that no longer exists give
// false), so that a failure is never reported as a print.
bool submitPrintJob(const QString& printerName, const QString& pdfPath, const QString& title,
                    const QString& media);

} // namespace glim
