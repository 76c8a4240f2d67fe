#pragma once

#include "app/Services.h"
#include "capture/CaptureModes.h"
#include "screenshots/RecordFlag.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace glim {

class DragWindow;
class InstanceLock;
class MainWindow;
class TrayWindow;

// The application core and composer: runs the start-up sequence, hands out the
// application-wide windows (each created and loaded on first use; a closed main window is gone
// and the next use loads a fresh one), wires the commands that reach from one window into
// another, carries out Exit, close and Show, and is the main window that the captures of both
// menus hide, fill and show again. Each window owns the windows it opens itself.
class Application : public QObject, private CaptureHost {
    Q_OBJECT
public:
    explicit Application(Services services);
    ~Application() override;

    // The start-up sequence. False when another instance runs: the message was shown and the
    // caller ends the process without doing anything else.
    bool start();

    TrayWindow* trayWindow();
    MainWindow* mainWindow();
    bool hasMainWindow() const { return !m_mainWindow.isNull(); }
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
    RecordFlag& recordFlag() override { return m_recordFlag; }
    void hideMain() override;
    void showMainAfterCapture(bool restore) override;
    void setCheckMarks(CaptureMode mode) override;
    void showDragWindow() override;
    SelectorOverlay& selector() override;

    bool setting(const char* key, int value) const;
    void end();

    Services m_services;
    RecordFlag m_recordFlag;
    std::unique_ptr<InstanceLock> m_lock;
    std::unique_ptr<TrayWindow> m_trayWindow;
    QPointer<MainWindow> m_mainWindow;
    QPointer<DragWindow> m_dragWindow; // owned by the tray window; gone once unloaded
    bool m_ended = false;
};

} // namespace glim
