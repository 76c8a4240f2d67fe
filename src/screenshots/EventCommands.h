#pragma once

#include "platform/ProgramFolder.h"

class QWidget;

namespace glim {

class Clipboard;
class Dialogs;
class FileDialogs;
class ScreenshotViewer;

// The commands that change the capture event without a capture: New Event empties it, Open
// and Paste add a picture from a file or from the clipboard through the screenshot store, as
// if it had been captured (or see it refused at nine screenshots with the store's message).

// Asks first; on Yes clears the viewer and the list and deletes every working file, so that the
// next picture is screenshot1 again. Nothing is reported when a file cannot be deleted.
void newEvent(Dialogs& dialogs, const ProgramFolder& folder, ScreenshotViewer& viewer);

// Lets the user choose a picture file, starting at the last one chosen (`Lastopen`), remembers
// the choice, and records the picture. A file that gives no picture is reported under the title
// "Open File error " and its number; the viewer is placed all the same.
void openPictureFile(FileDialogs& fileDialogs, Dialogs& dialogs, const ProgramFolder& folder,
                     ScreenshotViewer& viewer, QWidget* dialogParent);

// Records the clipboard's picture, in any image format the clipboard offers. Does nothing at
// all when the clipboard holds no picture.
void pastePicture(const Clipboard& clipboard, ScreenshotViewer& viewer);

} // namespace glim
