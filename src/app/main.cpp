#include "about/WebAddresses.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/GlobalHotKey.h"
#include "platform/MessageBoxDialogs.h"
#include "platform/QtServices.h"
#include "platform/ScreenGrabber.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

// The composition root: the platform services, then the application core on the folder of
// the executable.
int main(int argc, char** argv) {
    // --version and --help are answered before the toolkit, which needs a display.
    if (const std::optional<std::string> answer = glim::commandLineAnswer(argc, argv)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glimwell"));
    // The installed menu entry, so that a desktop ties the program's windows to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("glimwell"));
    // The program lives in the tray: closing or hiding its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    glim::MessageBoxDialogs dialogs;
    const std::unique_ptr<glim::ScreenGrabber> grabber = glim::createScreenGrabber();
    glim::QtClipboard clipboard;
    glim::QtPrinter printer;
    glim::DesktopShell shell;
    glim::QtHttpFetch http;
    glim::QtFileDialogs fileDialogs;
    // Held by another program, the key is not ours and the program runs on without it.
    const std::unique_ptr<glim::GlobalHotKey> selectorHotKey = glim::createSelectorHotKey();
    glim::Application app({
        .folder = glim::ProgramFolder(QCoreApplication::applicationDirPath()),
        .dialogs = dialogs,
        .grabber = *grabber,
        .clipboard = clipboard,
        .printer = printer,
        .shell = shell,
        .http = http,
        .fileDialogs = fileDialogs,
        .executablePath = QCoreApplication::applicationFilePath(),
        // The update check's version file and time-out can be pointed elsewhere, for a test
        // server or a mirror of the maker's site.
        .update = glim::UpdateSource::from(qEnvironmentVariable("GLIMWELL_VERSION_URL"),
                                           qEnvironmentVariable("GLIMWELL_UPDATE_TIMEOUT_MS")),
        .selectorHotKey = selectorHotKey.get(),
    });
    // A logout, `kill` or Ctrl+C ends the program through Exit, which empties Temp. The
    // handlers are in place before the tray icon shows, so that a request as soon as the icon
    // is seen is not the system's default end; the request is held until the start is done,
    // since a refused second start must end without touching anything.
    glim::TerminationSignals termination;
    termination.setHeld(true);
    if (!app.start())
        return 0;
    QObject::connect(&termination, &glim::TerminationSignals::terminationRequested, &app,
                     &glim::Application::exitProcedure);
    termination.setHeld(false);
    return QApplication::exec();
}
