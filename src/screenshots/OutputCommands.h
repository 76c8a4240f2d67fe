#pragma once

namespace glim {

class Clipboard;
class Dialogs;
class Printer;
class ScreenshotViewer;

// The commands that hand the viewer's picture to the outside world. None of them changes the
// viewer, the list or the working files, so the picture commands stay as they are.

// Asks first; on Yes prints the picture itself as one page on the default printer (not the
// screen area the viewer covers, which could show other windows or only part of a large
// screenshot). No printer, or a job that fails, is reported; nothing else is touched.
void printScreenshot(Dialogs& dialogs, Printer& printer, ScreenshotViewer& viewer);

// The File menu's Copy: the picture goes on the clipboard beside what is there already (text
// copied earlier stays available); no message.
void copyPicture(Clipboard& clipboard, const ScreenshotViewer& viewer);

// The tool bar's Copy: the clipboard is emptied and holds only the picture, then says so.
void copyPictureAlone(Clipboard& clipboard, Dialogs& dialogs, const ScreenshotViewer& viewer);

} // namespace glim
