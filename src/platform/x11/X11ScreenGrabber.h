#pragma once

#include "platform/ScreenGrabber.h"

struct xcb_connection_t;

namespace glim {

// The screen on X11: pictures come from the root window through Qt, so that windows lying over
// each other and the window manager's frames are in them; the active window's frame comes from
// the window manager's _NET_ACTIVE_WINDOW through xcb. All rectangles are in device pixels.
class X11ScreenGrabber : public ScreenGrabber {
public:
    X11ScreenGrabber() = default;
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;

    QSize screenSize() const override;
    Picture grab(const QRect& area) override;
    QRect activeWindowFrame() override;

private:
    // Qt's own connection when the program runs on xcb, else one of ours opened on first use.
    xcb_connection_t* connection();

    xcb_connection_t* m_ownConnection = nullptr;
};

} // namespace glim
