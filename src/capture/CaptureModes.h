#pragma once

#include "platform/Picture.h"

#include <QObject>

class QTimer;

namespace glim {

class Dialogs;
class ScreenGrabber;
class ScreenshotViewer;

enum class CaptureMode { ActiveWindow, Selector, FullScreen, MsnShot };

// The main window as a capture sees it. Reaching it loads it when it is not loaded.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    // The main window's viewer, into whose picture box the capture goes.
    virtual ScreenshotViewer& mainViewer() = 0;
    virtual void hideMain() = 0;
    // Shows the main window again; `restore` also brings it back from minimised and makes it
    // visible (the tray's captures).
    virtual void showMainAfterCapture(bool restore) = 0;
    // Checks the mode's item in the Tools menu and in the tray menu, unchecks the other six.
    virtual void setCheckMarks(CaptureMode mode) = 0;
};

// The capture commands of one window, with that window's single-shot delay timers as its
// children: the main window's `actt` (5000 ms) and `bckt` (500 ms), or the tray window's
// `actt` and `vertraag2`. A command sets the record flag, hides the main window and arms a
// timer; the tick puts the capture into the viewer (where the screenshot store records it),
// shows the main window, disables its timer and clears the flag. Two captures that overlap
// share the one flag: the first tick to end clears it, so the later picture is shown but
// not recorded.
class CaptureCommands : public QObject {
    Q_OBJECT
public:
    struct TimerNames {
        const char* activeWindow;
        const char* fullScreen;
    };
    static constexpr TimerNames kMainWindowTimers{"actt", "bckt"};
    static constexpr TimerNames kTrayWindowTimers{"actt", "vertraag2"};

    // `fromTray`: the tray's commands also restore a minimised main window after the capture.
    CaptureCommands(QObject* owner, TimerNames names, bool fromTray, CaptureHost& host,
                    ScreenGrabber& grabber, Dialogs& dialogs);

    void activeWindow();
    void fullScreen();

    QTimer* activeWindowTimer() const { return m_activeWindowTimer; }
    QTimer* fullScreenTimer() const { return m_fullScreenTimer; }

private:
    void activeWindowTick();
    void fullScreenTick();
    // The end of every tick: the picture into the viewer, the main window back, the timer
    // disabled and the record flag cleared.
    void endCapture(QTimer* timer, const Picture& picture);

    CaptureHost& m_host;
    ScreenGrabber& m_grabber;
    Dialogs& m_dialogs;
    QTimer* m_activeWindowTimer;
    QTimer* m_fullScreenTimer;
    bool m_fromTray;
};

} // namespace glim
