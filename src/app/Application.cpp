#include "app/Application.h"

#include "app/AppIcons.h"
#include "app/MainWindow.h"
#include "app/TrayWindow.h"
#include "capture/SelectorOverlay.h"
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotViewer.h"
#include "settings/IniFile.h"

#include <QAction>
#include <QCoreApplication>

namespace glim {

namespace {

// The capture items of the two menus, in the order of CaptureMode.
constexpr std::array<const char*, 4> kMainCaptureItems{"actw", "sel", "scrfull", "msnsh"};
constexpr std::array<const char*, 4> kTrayCaptureItems{"actws", "sele", "fuscsh", "msnsssh"};

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

bool Application::settingIsOne(const char* key) const {
    return iniNumber(readIni(m_services.folder.settingsPath(), QStringLiteral("Options"),
                             QString::fromLatin1(key))) == 1;
}

bool Application::settingIsZero(const char* key) const {
    return iniNumber(readIni(m_services.folder.settingsPath(), QStringLiteral("Options"),
                             QString::fromLatin1(key))) == 0;
}

bool Application::start() {
    // 1. One instance per executable; the second says so and ends, touching nothing.
    m_lock = std::make_unique<InstanceLock>(m_services.executablePath, m_services.lockFolder);
    if (m_lock->tryLock() == InstanceLock::Result::HeldByAnother) {
        m_services.dialogs->information(QStringLiteral("The program is allready running"));
        return false;
    }
    TrayWindow* tray = trayWindow();
    // 2. The main window at start.
    if (settingIsOne("Showmain"))
        mainWindow()->show();
    // 3. Temporary pictures deleted at start instead of at exit.
    if (settingIsOne("Startdel"))
        m_services.folder.clearTempFolder();
    // 4. The tray icon is the main window's icon, which loads the main window if step 2 did
    //    not (without showing it).
    tray->addTrayIcon(mainWindow()->windowIcon());
    // 5. The selector overlay covers the whole screen, loaded but not shown.
    selector()->coverScreen();
    return true;
}

TrayWindow* Application::trayWindow() {
    if (!m_trayWindow) {
        m_trayWindow = std::make_unique<TrayWindow>();
        connect(m_trayWindow.get(), &TrayWindow::showRequested, this, &Application::showMain);
        connect(m_trayWindow.get(), &TrayWindow::exitRequested, this, &Application::exitProcedure);
        connectCaptureItems(m_trayWindow.get(),
                            new CaptureCommands(m_trayWindow.get(),
                                                CaptureCommands::kTrayWindowTimers, true, *this,
                                                *m_services.grabber, *m_services.dialogs),
                            kTrayCaptureItems);
    }
    return m_trayWindow.get();
}

MainWindow* Application::mainWindow() {
    if (!m_mainWindow) {
        auto* window = new MainWindow(m_services.folder, *m_services.dialogs);
        m_mainWindow = window;
        connect(window, &MainWindow::exitRequested, this, &Application::exitProcedure);
        connect(window, &MainWindow::closeRequested, this, &Application::closeProcedure);
        connectCaptureItems(window,
                            new CaptureCommands(window, CaptureCommands::kMainWindowTimers, false,
                                                *this, *m_services.grabber, *m_services.dialogs),
                            kMainCaptureItems);
        emit mainWindowLoaded(window);
    }
    return m_mainWindow.data();
}

void Application::connectCaptureItems(QWidget* window, CaptureCommands* commands,
                                      const std::array<const char*, 4>& items) {
    auto item = [window, &items](CaptureMode mode) {
        return window->findChild<QAction*>(QString::fromLatin1(items[std::size_t(mode)]));
    };
    connect(item(CaptureMode::ActiveWindow), &QAction::triggered, commands,
            &CaptureCommands::activeWindow);
    connect(item(CaptureMode::FullScreen), &QAction::triggered, commands,
            &CaptureCommands::fullScreen);
    // The selector and the window-target capture come later; their items already keep the
    // check marks of the last mode used.
    for (CaptureMode mode : {CaptureMode::Selector, CaptureMode::MsnShot})
        connect(item(mode), &QAction::triggered, this, [this, mode] { setCheckMarks(mode); });
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
    for (const auto& [window, items] :
         {std::pair<QWidget*, const std::array<const char*, 4>&>{mainWindow(), kMainCaptureItems},
          {trayWindow(), kTrayCaptureItems}}) {
        for (std::size_t i = 0; i < items.size(); ++i)
            window->findChild<QAction*>(QString::fromLatin1(items[i]))
                ->setChecked(i == std::size_t(mode));
    }
}

SelectorOverlay* Application::selector() {
    if (!m_selector)
        m_selector = std::make_unique<SelectorOverlay>();
    return m_selector.get();
}

void Application::end() {
    m_ended = true;
    if (m_mainWindow)
        m_mainWindow->setEnding();
    m_services.quit();
}

void Application::exitProcedure() {
    if (!settingIsOne("Startdel"))
        m_services.folder.clearTempFolder();
    trayWindow()->removeTrayIcon();
    // No close handling runs and nothing is asked: the process ends at once.
    end();
}

void Application::closeProcedure() {
    const bool hideClosed = settingIsOne("Hideclosed");
    if (settingIsZero("Startdel"))
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
