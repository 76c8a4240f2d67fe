#include "capture/CaptureModes.h"

#include "capture/Capture.h"
#include "platform/Dialogs.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotViewer.h"

#include <QTimer>

namespace glim {

namespace {

const QString kActiveWindowText =
    QStringLiteral("You got 5 seconds to select an active window on the desktop");

// The delays are the only waiting: long enough for the hidden main window to leave the screen,
// and for the user to activate a window after closing the message.
constexpr int kActiveWindowDelayMs = 5000;
constexpr int kFullScreenDelayMs = 500;

QTimer* delayTimer(QObject* owner, const char* name, int intervalMs) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->setSingleShot(true);
    return timer;
}

} // namespace

CaptureCommands::CaptureCommands(QObject* owner, TimerNames names, bool fromTray, CaptureHost& host,
                                 ScreenGrabber& grabber, Dialogs& dialogs)
    : QObject(owner)
    , m_host(host)
    , m_grabber(grabber)
    , m_dialogs(dialogs)
    , m_activeWindowTimer(delayTimer(owner, names.activeWindow, kActiveWindowDelayMs))
    , m_fullScreenTimer(delayTimer(owner, names.fullScreen, kFullScreenDelayMs))
    , m_fromTray(fromTray) {
    setObjectName(QStringLiteral("captureCommands"));
    connect(m_activeWindowTimer, &QTimer::timeout, this, &CaptureCommands::activeWindowTick);
    connect(m_fullScreenTimer, &QTimer::timeout, this, &CaptureCommands::fullScreenTick);
}

void CaptureCommands::activeWindow() {
    m_host.mainViewer().setRecordFlag(true);
    // The five seconds run from the moment the user closes the message.
    m_dialogs.information(kActiveWindowText);
    m_host.hideMain();
    m_activeWindowTimer->start();
    m_host.setCheckMarks(CaptureMode::ActiveWindow);
}

void CaptureCommands::fullScreen() {
    m_host.mainViewer().setRecordFlag(true);
    m_host.hideMain();
    m_fullScreenTimer->start();
    m_host.setCheckMarks(CaptureMode::FullScreen);
}

void CaptureCommands::activeWindowTick() {
    endCapture(m_activeWindowTimer, captureActiveWindow(m_grabber));
}

void CaptureCommands::fullScreenTick() {
    endCapture(m_fullScreenTimer, captureScreen(m_grabber));
}

void CaptureCommands::endCapture(QTimer* timer, const Picture& picture) {
    // A capture of nothing (no window was active) leaves the viewer as it was rather than
    // emptying it.
    if (!picture.isNull()) {
        PictureBox* ima = m_host.mainViewer().ima();
        ima->setPicture(picture);
        ima->update();
    }
    m_host.showMainAfterCapture(m_fromTray);
    timer->stop();
    m_host.mainViewer().setRecordFlag(false);
}

} // namespace glim
