#include "capture/CaptureModes.h"

#include "capture/Capture.h"
#include "capture/SelectorOverlay.h"
#include "platform/Dialogs.h"
#include "screenshots/PictureBox.h"
#include "screenshots/RecordFlag.h"
#include "screenshots/ScreenshotViewer.h"

#include <QAction>
#include <QTimer>

namespace glim {

namespace {

// The delays are the only waiting: long enough for the hidden main window to leave the screen,
// and for the user to activate a window after closing the message.
constexpr CaptureModeRow kDelayedModes[] = {
    {CaptureMode::ActiveWindow,
     {"actt", "actt"},
     5000,
     "You got 5 seconds to select an active window on the desktop",
     [](CaptureHost&, ScreenGrabber& grabber) { return captureActiveWindow(grabber); }},
    {CaptureMode::Selector,
     {"selt", "vertraag"},
     500,
     nullptr,
     [](CaptureHost& host, ScreenGrabber& grabber) {
         return host.selector().selectRegion(grabber);
     }},
    {CaptureMode::FullScreen,
     {"bckt", "vertraag2"},
     500,
     nullptr,
     [](CaptureHost&, ScreenGrabber& grabber) { return captureScreen(grabber); }},
};

const CaptureModeRow* rowOf(CaptureMode mode) {
    for (const CaptureModeRow& row : kDelayedModes) {
        if (row.mode == mode)
            return &row;
    }
    return nullptr;
}

} // namespace

CaptureCommands::CaptureCommands(QObject* owner, CaptureOrigin origin, CaptureHost& host,
                                 ScreenGrabber& grabber, Dialogs& dialogs)
    : QObject(owner)
    , m_host(host)
    , m_grabber(grabber)
    , m_dialogs(dialogs)
    , m_fromTray(origin == CaptureOrigin::TrayWindow) {
    setObjectName(QStringLiteral("captureCommands"));
    for (const CaptureModeRow& row : kDelayedModes) {
        auto* timer = new QTimer(owner);
        timer->setObjectName(QString::fromLatin1(row.timerNames[m_fromTray ? 1 : 0]));
        timer->setInterval(row.delayMs);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, &row] { tick(row); });
        m_timers[std::size_t(row.mode)] = timer;
    }
}

void CaptureCommands::connectItems(const CaptureItems& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto mode = CaptureMode(i);
        connect(items[i], &QAction::triggered, this, [this, mode] { start(mode); });
    }
}

void CaptureCommands::start(CaptureMode mode) {
    const CaptureModeRow* row = rowOf(mode);
    if (row == nullptr) {
        // MSN Shot, the one mode without a delay: no record flag either, since the drag
        // window's "S" sets and clears the flag itself.
        m_host.hideMain();
        m_host.showDragWindow();
        m_host.setCheckMarks(mode);
        return;
    }
    m_host.recordFlag().set(true);
    // A delay that follows a message runs from the moment the user closes it.
    if (row->notice != nullptr)
        m_dialogs.information(QString::fromLatin1(row->notice));
    m_host.hideMain();
    timer(mode)->start();
    m_host.setCheckMarks(mode);
}

void CaptureCommands::tick(const CaptureModeRow& row) {
    // A capture of nothing (a selection of no width or height) leaves the viewer as it was
    // rather than emptying it: a screenshot without pixels would be a file nothing reads back.
    const Picture picture = row.take(m_host, m_grabber);
    if (!picture.isNull()) {
        PictureBox* ima = m_host.mainViewer().ima();
        ima->setPicture(picture);
        ima->update();
    }
    m_host.showMainAfterCapture(m_fromTray);
    timer(row.mode)->stop();
    m_host.recordFlag().set(false);
}

} // namespace glim
