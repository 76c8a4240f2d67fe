#pragma once

#include "platform/Picture.h"

#include <QRect>
#include <QSize>

#include <memory>

namespace glim {

// Reads what the screen shows. The X11 implementation reads the root window through xcb
// (shared memory where the server allows it) and asks the window manager for the active
// window's frame; tests hand in a fake that returns known pixels.
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;

    // Size of the primary screen in pixels.
    virtual QSize screenSize() const = 0;
    // A picture of `area` (screen pixels, primary screen's top-left at 0,0) as the screen shows
    // it, windows lying over each other included. Parts of `area` outside the screen are black.
    // The picture owns its pixels and has exactly the size of `area`.
    virtual Picture grab(const QRect& area) = 0;
    // Outer frame rectangle (frame and caption included) of the active window, in screen
    // pixels; an empty rectangle when no window is active.
    virtual QRect activeWindowFrame() = 0;
};

// The screen grabber of the window system the program runs on, chosen once at start-up.
std::unique_ptr<ScreenGrabber> createScreenGrabber();

} // namespace glim
