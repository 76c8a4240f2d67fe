#pragma once

#include "platform/Picture.h"

#include <QObject>

#include <array>
#include <cstddef>

class QAction;
class QTimer;

namespace glim {

class Dialogs;
class RecordFlag;
class ScreenGrabber;
class ScreenshotViewer;
class SelectorOverlay;

enum class CaptureMode { ActiveWindow, Selector, FullScreen, MsnShot };
inline constexpr std::size_t kCaptureModeCount = 4;
// The four capture items of one menu, in the order of CaptureMode.
using CaptureItems = std::array<QAction*, kCaptureModeCount>;

// What the captures need of the rest of the program. Reaching the main window loads it when it
// is not loaded; the record flag is reached without loading it.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    // The main window's viewer, into whose picture box the capture goes.
    virtual ScreenshotViewer& mainViewer() = 0;
    virtual RecordFlag& recordFlag() = 0;
    virtual void hideMain() = 0;
    // Shows the main window again; `restore` also brings it back from minimised and makes it
    // visible (the tray's captures).
    virtual void showMainAfterCapture(bool restore) = 0;
    // Checks the mode's item in the Tools menu and in the tray menu, unchecks the other six.
    virtual void setCheckMarks(CaptureMode mode) = 0;
    // Shows the drag window of "MSN Shot", loading it at the centre of the screen when it is not
    // loaded; while it is up it stays the only one, where the user left it.
    virtual void showDragWindow() = 0;
    // The selector overlay, one for both menus.
    virtual SelectorOverlay& selector() = 0;
};

// One capture mode that waits before it takes its picture: its delay timer in the main window
// and in the tray window, the delay, a message shown before the wait begins, and what the tick
// puts into the viewer (no picture leaves the viewer as it is).
struct CaptureModeRow {
    CaptureMode mode;
    std::array<const char*, 2> timerNames; // the main window's, the tray window's
    int delayMs;
    const char* notice; // null: none
    Picture (*take)(CaptureHost& host, ScreenGrabber& grabber);
};

// The windows that carry capture commands. The tray's commands also bring a minimised main
// window back after the capture.
enum class CaptureOrigin { MainWindow, TrayWindow };

// The capture commands of one window, with that window's single-shot delay timers as its
// children (named as in the table of modes). A command sets the record flag, hides the main
// window and arms its timer; the tick puts the capture into the viewer (where the screenshot
// store records it), shows the main window, disables its timer and clears the flag. Two
// captures that overlap share the one flag: the first tick to end clears it, so the later
// picture is shown but not recorded.
class CaptureCommands : public QObject {
    Q_OBJECT
public:
    CaptureCommands(QObject* owner, CaptureOrigin origin, CaptureHost& host, ScreenGrabber& grabber,
                    Dialogs& dialogs);

    // Connects the window's four capture items to their commands.
    void connectItems(const CaptureItems& items);
    void start(CaptureMode mode);
    // The mode's delay timer; null for a mode that does not wait.
    QTimer* timer(CaptureMode mode) const { return m_timers[std::size_t(mode)]; }

private:
    void tick(const CaptureModeRow& row);

    CaptureHost& m_host;
    ScreenGrabber& m_grabber;
    Dialogs& m_dialogs;
    std::array<QTimer*, kCaptureModeCount> m_timers{};
    bool m_fromTray;
};

} // namespace glim
