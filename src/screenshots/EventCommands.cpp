#include "screenshots/EventCommands.h"

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"
#include "screenshots/PictureBox.h"
#include "screenshots/PictureFileErrors.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ScreenshotViewer.h"
#include "screenshots/ViewerScrollBar.h"
#include "settings/IniFile.h"

namespace glim {

namespace {

const QString kNewEventQuestion =
    QStringLiteral("Are you sure you want to start a new glimwell event? This will delete all "
                   "temporary screenshots and the whole screenshotlist!");
const QString kPictureFilter = QStringLiteral("Picture Files (*.jpg *.gif *.bmp)");
const QString kOpenErrorTitle = QStringLiteral("Open File error ");
const QString kLastopen = QStringLiteral("Lastopen");

// The end of Open and Paste: the picture now shown (the new one, or screenshot 9 after a
// refusal, or the earlier one after a failed read) placed as a chosen picture, bars at 0.
void placeAndEnd(ScreenshotViewer& viewer) {
    viewer.placeChosenPicture();
    viewer.ima()->update();
    viewer.setRecordFlag(false);
}

} // namespace

void newEvent(Dialogs& dialogs, const ProgramFolder& folder, ScreenshotViewer& viewer) {
    if (!dialogs.question(kNewEventQuestion))
        return;
    PictureBox* ima = viewer.ima();
    // No picture: the store records nothing, switches the picture commands off and sets the
    // bars' ranges from the box's current size.
    ima->setPicture(Picture());
    // Out of sight, so that the frame's own background shows; Top stays.
    ima->resize(1, 1);
    ima->move(-100, ima->y());
    viewer.hBar()->setEnabled(false);
    viewer.vBar()->setEnabled(false);
    // The next picture is screenshot1 again, and no file of the old event is left to show.
    viewer.lstv()->clear();
    folder.clearTempFolder();
}

void openPictureFile(FileDialogs& fileDialogs, Dialogs& dialogs, const ProgramFolder& folder,
                     ScreenshotViewer& viewer, QWidget* dialogParent) {
    viewer.setRecordFlag(true);
    const QString settings = folder.settingsPath();
    const QString lastOpen = readIni(settings, QStringLiteral("PATHS"), kLastopen);
    const QString path = fileDialogs.openFile(dialogParent, lastOpen, kPictureFilter);
    if (path.isEmpty())
        return;
    // Remembered before the read, so that a file that fails is offered again next time.
    writeIni(settings, QStringLiteral("Paths"), kLastopen, path);
    OpenFileError error;
    const Picture picture = readPictureFile(path, error);
    if (picture.isNull())
        dialogs.critical(kOpenErrorTitle + QString::number(error.number), error.description);
    else
        viewer.ima()->setPicture(picture);
    placeAndEnd(viewer);
}

void pastePicture(const Clipboard& clipboard, ScreenshotViewer& viewer) {
    const Picture picture = clipboard.picture();
    if (picture.isNull())
        return;
    viewer.setRecordFlag(true);
    viewer.ima()->setPicture(picture);
    placeAndEnd(viewer);
}

} // namespace glim
