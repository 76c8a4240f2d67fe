#pragma once

#include "about/WebAddresses.h"
#include "platform/ProgramFolder.h"

#include <QString>

#include <functional>

namespace glim {

class Clipboard;
class Dialogs;
class FileDialogs;
class GlobalHotKey;
class HttpFetch;
class Printer;
class ScreenGrabber;
class Shell;

// Everything from outside that the application core and its windows use, filled by the
// composition root (`main.cpp`, or a test harness) by field name. Each window takes from it
// what its commands need.
struct Services {
    ProgramFolder folder;
    Dialogs& dialogs;
    ScreenGrabber& grabber;
    Clipboard& clipboard;
    Printer& printer;
    Shell& shell;
    HttpFetch& http;
    FileDialogs& fileDialogs;
    QString executablePath;          // keys the single-instance lock
    QString lockFolder = {};         // where the lock lives; empty = the user's runtime folder
    std::function<void()> quit = {}; // ends the process at once; default: leave the event loop
    UpdateSource update = {};        // the version file of the update check and its time-out

    // Ctrl+F9, the tray's Selector Shot; null: none.
    GlobalHotKey* selectorHotKey = {};
};

} // namespace glim
