#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "capture/DragWindow.h"
#include "capture/SelectorOverlay.h"
#include "platform/Dialogs.h"
#include "platform/GlobalHotKey.h"
#include "platform/InstanceLock.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotViewer.h"
#include "settings/IniFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

namespace glim {

namespace {

QString unwritableFolderText(const QString& folder) {
    return QStringLiteral("Glimwell cannot write in the folder %1, so what it keeps there (its "
                          "settings, Settings.ini, or the working files of its screenshots, Temp) "
                          "cannot be saved. It goes on running in the tray. Install it in a folder "
                          "of your own, such as ~/.local/opt/glimwell, or make this folder "
                          "writable.")
        .arg(folder);
}

} // namespace

Application::Application(Services services)
    : m_services(std::move(services)) {
    if (!m_services.quit)
        m_services.quit = [] { QCoreApplication::exit(0); };
}

Application::~Application() {
    if (m_mainWindow) {
        m_mainWindow->setEnding();
        delete m_mainWindow.data();
    }
}

bool Application::setting(const char* key, int value) const {
    return iniNumber(readIni(m_services.folder.settingsPath(), QStringLiteral("Options"),
                             QString::fromLatin1(key))) == value;
}

bool Application::start() {
    // 1. One instance per executable; the second says so and ends, touching nothing.
    m_lock = std::make_unique<InstanceLock>(m_services.executablePath, m_services.lockFolder);
    if (m_lock->tryLock() == InstanceLock::Result::HeldByAnother) {
        m_services.dialogs.information(QStringLiteral("The program is allready running"));
        return false;
    }
    TrayWindow* tray = trayWindow();
    // 2. The main window at start.
    if (setting("Showmain", 1))
        mainWindow()->show();
    // 3. Temporary pictures deleted at start instead of at exit.
    if (setting("Startdel", 1))
        m_services.folder.clearTempFolder();
    // 4. The tray icon is the main window's icon, which loads the main window if step 2 did
    //    not (without showing it).
    tray->addTrayIcon(mainWindow()->windowIcon());
    // 5. The selector overlay covers the whole screen, loaded but not shown.
    tray->selector()->coverScreen();
    // A program folder installed where the user may not write (system-wide by a packager)
    // is told once, with the icon already in the tray; each capture then reports its failed
    // auto-save as usual.
    const QString unwritable = m_services.folder.unwritableFolder();
    if (!unwritable.isEmpty())
        m_services.dialogs.exclamation(unwritableFolderText(unwritable));
    return true;
}

TrayWindow* Application::trayWindow() {
    if (!m_trayWindow) {
        m_trayWindow = std::make_unique<TrayWindow>(m_services);
        TrayWindow* tray = m_trayWindow.get();
        const TrayMenu& menu = tray->menu();
        connect(menu.shmain, &QAction::triggered, this, &Application::showMain);
        connect(menu.abouts, &QAction::triggered, tray, &TrayWindow::showAbout);
        connect(menu.chfupde, &QAction::triggered, tray, &TrayWindow::checkForUpdate);
        connect(menu.ex3, &QAction::triggered, this, &Application::exitProcedure);
        auto* captures = new CaptureCommands(m_trayWindow.get(), CaptureOrigin::TrayWindow, *this,
                                             m_services.grabber, m_services.dialogs);
        captures->connectItems(menu.capture);
        // The hot key is the tray's Selector Shot, recorded like one; pressed again while a
        // selection waits for its delay or is on screen, it would only start it over.
        if (m_services.selectorHotKey) {
            connect(m_services.selectorHotKey, &GlobalHotKey::pressed, captures, [captures, tray] {
                if (!captures->timer(CaptureMode::Selector)->isActive() &&
                    !tray->selector()->isSelecting())
                    captures->start(CaptureMode::Selector);
            });
        }
    }
    return m_trayWindow.get();
}

MainWindow* Application::mainWindow() {
    if (!m_mainWindow) {
        // A fresh main window starts with its record flag off.
        m_recordFlag.set(false);
        auto* window = new MainWindow(m_services, m_recordFlag);
        m_mainWindow = window;
        connect(window->menu().ex1, &QAction::triggered, this, &Application::exitProcedure);
        connect(window, &MainWindow::closeRequested, this, &Application::closeProcedure);
        connect(window->menu().ab, &QAction::triggered, trayWindow(), &TrayWindow::showAbout);
        connect(window->menu().chupd, &QAction::triggered, trayWindow(),
                &TrayWindow::checkForUpdate);
        auto* captures = new CaptureCommands(window, CaptureOrigin::MainWindow, *this,
                                             m_services.grabber, m_services.dialogs);
        captures->connectItems(window->menu().capture);
        emit mainWindowLoaded(window);
    }
    return m_mainWindow.data();
}

ScreenshotViewer& Application::mainViewer() {
    return *mainWindow()->viewer();
}

void Application::hideMain() {
    mainWindow()->hide();
}

void Application::showMainAfterCapture(bool restore) {
    MainWindow* window = mainWindow();
    window->show();
    if (restore) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->setVisible(true);
    }
}

void Application::setCheckMarks(CaptureMode mode) {
    for (const CaptureItems* items :
         {&mainWindow()->menu().capture, &trayWindow()->menu().capture}) {
        for (std::size_t i = 0; i < items->size(); ++i)
            (*items)[i]->setChecked(i == std::size_t(mode));
    }
}

void Application::showDragWindow() {
    if (m_dragWindow.isNull())
        m_dragWindow = new DragWindow(*this, m_services.grabber, trayWindow());
    m_dragWindow->show();
    m_dragWindow->raise();
}

SelectorOverlay& Application::selector() {
    return *trayWindow()->selector();
}

void Application::end() {
    m_ended = true;
    if (m_mainWindow)
        m_mainWindow->setEnding();
    m_services.quit();
}

void Application::exitProcedure() {
    if (!setting("Startdel", 1))
        m_services.folder.clearTempFolder();
    trayWindow()->removeTrayIcon();
    // No close handling runs and nothing is asked: the process ends at once.
    end();
}

void Application::closeProcedure() {
    const bool hideClosed = setting("Hideclosed", 1);
    if (setting("Startdel", 0))
        m_services.folder.clearTempFolder();
    if (hideClosed) {
        // The main window unloads (its list and picture are gone); the program stays in the
        // tray, and the next use of the main window loads a fresh one.
        if (m_mainWindow)
            m_mainWindow->hide();
        return;
    }
    trayWindow()->removeTrayIcon();
    end();
}

void Application::showMain() {
    MainWindow* window = mainWindow();
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->setVisible(true);
    window->raise();
    window->activateWindow();
    PictureBox* ima = window->viewer()->ima();
    if (!ima->hasPicture())
        ima->resize(0, 0);
}

} // namespace glim
