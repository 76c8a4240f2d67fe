#pragma once

#include "capture/CaptureModes.h"
#include "platform/ProgramFolder.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

namespace glim {

class Dialogs;
class InstanceLock;
class MainWindow;
class SelectorOverlay;
class TrayWindow;

// The application core: runs the start-up sequence, hands out the application-wide windows
// (each created and loaded on first use; a closed main window is gone and the next use loads a
// fresh one), carries out Exit, close and Show, and is the main window that the captures of
// both menus hide, fill and show again.
class Application : public QObject, private CaptureHost {
    Q_OBJECT
public:
    struct Services {
        ProgramFolder folder;
        Dialogs* dialogs = nullptr;
        ScreenGrabber* grabber = nullptr;
        QString executablePath;     // keys the single-instance lock
        QString lockFolder;         // where the lock lives; empty = the user's runtime folder
        std::function<void()> quit; // ends the process at once; default: leave the event loop
    };

    explicit Application(Services services);
    ~Application() override;

    // The start-up sequence. False when another instance runs: the message was shown and the
    // caller ends the process without doing anything else.
    bool start();

    TrayWindow* trayWindow();
    MainWindow* mainWindow();
    bool hasMainWindow() const { return !m_mainWindow.isNull(); }
    SelectorOverlay* selector();
    const ProgramFolder& folder() const { return m_services.folder; }
    Dialogs& dialogs() const { return *m_services.dialogs; }
    bool hasEnded() const { return m_ended; }

    void exitProcedure();
    void closeProcedure();
    void showMain();

signals:
    // A fresh main window has been created and loaded.
    void mainWindowLoaded(glim::MainWindow* window);

private:
    // CaptureHost
    ScreenshotViewer& mainViewer() override;
    void hideMain() override;
    void showMainAfterCapture(bool restore) override;
    void setCheckMarks(CaptureMode mode) override;
    // Connects a window's four capture items, in the order of CaptureMode, to its commands.
    void connectCaptureItems(QWidget* window, CaptureCommands* commands,
                             const std::array<const char*, 4>& items);

    bool settingIsOne(const char* key) const;
    bool settingIsZero(const char* key) const;
    void end();

    Services m_services;
    std::unique_ptr<InstanceLock> m_lock;
    std::unique_ptr<TrayWindow> m_trayWindow;
    QPointer<MainWindow> m_mainWindow;
    std::unique_ptr<SelectorOverlay> m_selector;
    bool m_ended = false;
};

} // namespace glim
