#include "app/CommandLine.h"

#include "about/VersionCheck.h"

#include <string_view>

namespace glim {

namespace {

std::string versionText() {
    return "Zivra Glimwell " + kOwnVersion.toStdString() + "\n";
}

std::string helpText() {
    return "Usage: Glimwell [--help | --version]\n"
           "Zivra Glimwell sits in the notification area and takes screenshots: the active "
           "window after 5 seconds, a rectangle dragged on the frozen screen, the full screen, "
           "or a small area seen through a movable frame; a click on its tray icon opens the "
           "menu, and \"Show\" opens the main window, which lists the screenshots and edits, "
           "prints, copies and exports them. Settings.ini and the working pictures (Temp/) are "
           "kept in the program folder, the folder of the executable, which must be writable. "
           "--help prints this text and --version the version; the program has no other "
           "options.\n";
}

} // namespace

std::optional<std::string> commandLineAnswer(int argc, const char* const* argv) {
    // The first of the two that appears wins, as with most programs.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--help" || argument == "-h")
            return helpText();
        if (argument == "--version")
            return versionText();
    }
    return std::nullopt;
}

} // namespace glim
