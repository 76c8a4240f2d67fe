#pragma once

#include "platform/ScreenGrabber.h"
#include "platform/x11/RootWindowReader.h"

#include <memory>

namespace glim {

// The screen on X11: pictures are read from the root window, so that windows lying over each
// other and the window manager's frames are in them, through MIT-SHM where the server allows it
// (see RootWindowReader); the active window's frame comes from the window manager's
// _NET_ACTIVE_WINDOW. All rectangles are in device pixels.
class X11ScreenGrabber : public ScreenGrabber {
public:
    // Whether reads may go through a shared-memory segment; GetImageOnly reads every picture
    // the way a remote display is read.
    enum class ScreenRead { SharedMemoryWhenLocal, GetImageOnly };

    explicit X11ScreenGrabber(ScreenRead read = ScreenRead::SharedMemoryWhenLocal);
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;

    QSize screenSize() const override;
    Picture grab(const QRect& area) override;
    QRect activeWindowFrame() override;

    // How the last grab reached the pixels; None when it read nothing.
    ScreenReadPath lastReadPath() const;

private:
    // Qt's own connection when the program runs on xcb; null otherwise.
    static xcb_connection_t* qtConnection();
    // Qt's connection, else one of ours opened on first use.
    xcb_connection_t* connection() const;
    // The primary screen's rectangle in root coordinates: Qt's primary screen when Qt runs on
    // xcb, else the whole root window.
    QRect primaryScreenOnRoot() const;
    RootWindowReader* rootReader();

    ScreenRead m_read;
    mutable xcb_connection_t* m_ownConnection = nullptr;
    mutable std::unique_ptr<RootWindowReader> m_reader;
};

} // namespace glim
