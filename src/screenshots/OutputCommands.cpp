#include "screenshots/OutputCommands.h"

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotViewer.h"

namespace glim {

namespace {

const QString kPrintQuestion =
    QStringLiteral("Are you sure you want to print the current active screenshot?");
const QString kPrintFailed = QStringLiteral("Failed to print picture.");
const QString kCopied = QStringLiteral("Copied to Clipboard");

} // namespace

void printScreenshot(Dialogs& dialogs, Printer& printer, ScreenshotViewer& viewer) {
    viewer.setRecordFlag(false);
    if (!dialogs.question(kPrintQuestion))
        return;
    if (!printer.printPicture(viewer.ima()->picture()))
        dialogs.plain(kPrintFailed);
}

void copyPicture(Clipboard& clipboard, const ScreenshotViewer& viewer) {
    const Picture& picture = viewer.ima()->picture();
    if (!picture.isNull())
        clipboard.putPicture(picture, true);
}

void copyPictureAlone(Clipboard& clipboard, Dialogs& dialogs, const ScreenshotViewer& viewer) {
    const Picture& picture = viewer.ima()->picture();
    // Without a picture there is nothing to copy, and nothing to claim.
    if (picture.isNull())
        return;
    clipboard.putPicture(picture, false);
    dialogs.information(kCopied);
}

} // namespace glim
