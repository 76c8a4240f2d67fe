#include "platform/x11/X11ScreenGrabber.h"

#include "platform/x11/ActiveWindowProperty.h"
#include "platform/x11/MappedPicture.h"
#include "platform/x11/RootWindowReader.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace glim {

namespace {

// xcb allocates replies and errors with malloc and leaves freeing them to the caller.
struct FreeWithFree {
    void operator()(void* block) const { std::free(block); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeWithFree>;
using XcbError = XcbReply<xcb_generic_error_t>;

// Deep enough for any window manager's nesting; only stops a broken tree from looping forever.
constexpr int kMaxAncestors = 64;

// A screen's size in device pixels. Qt divides a screen's size by its device pixel ratio but
// keeps its top-left in device pixels.
QSize deviceSize(const QScreen& screen) {
    const qreal ratio = screen.devicePixelRatio();
    const QSize logical = screen.geometry().size();
    return {qRound(logical.width() * ratio), qRound(logical.height() * ratio)};
}

xcb_atom_t existingAtom(xcb_connection_t* connection, const char* name) {
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name),
        &rawError));
    const XcbError error(rawError);
    if (!reply)
        return XCB_ATOM_NONE;
    return reply->atom;
}

// The window that _NET_ACTIVE_WINDOW on the root names; none when the property is missing,
// malformed or set to None (which window managers do when the desktop has the focus).
xcb_window_t activeWindow(xcb_connection_t* connection, xcb_window_t root) {
    const xcb_atom_t property = existingAtom(connection, "_NET_ACTIVE_WINDOW");
    if (property == XCB_ATOM_NONE)
        return XCB_WINDOW_NONE;
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, property, XCB_ATOM_WINDOW, 0, 1),
        &rawError));
    const XcbError error(rawError);
    ActiveWindowReply fields;
    if (reply) {
        fields = {true, reply->type, reply->format, xcb_get_property_value_length(reply.get()),
                  xcb_get_property_value(reply.get())};
    }
    return activeWindowIn(fields);
}

// A reparenting window manager puts each client window into a frame window of its own that
// carries the caption and border; that frame is the client's ancestor whose parent is the root.
xcb_window_t topLevelAncestor(xcb_connection_t* connection, xcb_window_t window) {
    for (int depth = 0; depth < kMaxAncestors; ++depth) {
        xcb_generic_error_t* rawError = nullptr;
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), &rawError));
        const XcbError error(rawError);
        if (!tree || tree->parent == XCB_WINDOW_NONE)
            return XCB_WINDOW_NONE;
        if (tree->parent == tree->root)
            return window;
        window = tree->parent;
    }
    return XCB_WINDOW_NONE;
}

// The window's outer rectangle in root coordinates: X reports the position of the border's
// outer corner but the size inside the border.
QRect outerRectangle(xcb_connection_t* connection, xcb_window_t window) {
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), &rawError));
    const XcbError error(rawError);
    if (!geometry)
        return {};
    const int border = geometry->border_width;
    return {geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border};
}

} // namespace

X11ScreenGrabber::X11ScreenGrabber(ScreenRead read)
    : m_read(read) {}

X11ScreenGrabber::~X11ScreenGrabber() {
    // Qt may have closed its connection already when the grabber outlives the application.
    if (m_reader && m_reader->connection() != m_ownConnection &&
        m_reader->connection() != qtConnection())
        m_reader->forgetConnection();
    m_reader.reset();
    if (m_ownConnection)
        xcb_disconnect(m_ownConnection);
}

QRect X11ScreenGrabber::primaryScreenOnRoot() const {
    if (qtConnection()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? QRect(screen->geometry().topLeft(), deviceSize(*screen)) : QRect();
    }
    // Without Qt on X11 the primary screen is the whole root window of DISPLAY's screen.
    xcb_connection_t* xcb = connection();
    const xcb_window_t root = xcb ? rootWindow(xcb) : xcb_window_t(XCB_WINDOW_NONE);
    if (root == XCB_WINDOW_NONE)
        return {};
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(xcb, xcb_get_geometry(xcb, root), nullptr));
    return geometry ? QRect(0, 0, geometry->width, geometry->height) : QRect();
}

QSize X11ScreenGrabber::screenSize() const {
    return primaryScreenOnRoot().size();
}

Picture X11ScreenGrabber::grab(const QRect& area) {
    if (area.isEmpty())
        return {};
    Picture picture = newMappedPicture(area.size());
    if (picture.isNull())
        return {};
    const QRect screen = primaryScreenOnRoot();
    // Only the part on the screen is read: X refuses to read any rectangle of the root window
    // that reaches beyond it. The rest is black.
    const QRect part = area.intersected(QRect(QPoint(0, 0), screen.size()));
    if (part != area)
        picture.fill(Qt::black);
    RootWindowReader* reader = part.isEmpty() ? nullptr : rootReader();
    const qsizetype stride = picture.bytesPerLine();
    const auto read = [&] {
        std::uint8_t* at =
            picture.bits() + (part.y() - area.y()) * stride + (part.x() - area.x()) * 3;
        return reader->read(part.translated(screen.topLeft()), at, stride);
    };
    // No display, or a server that sent nothing: a black picture rather than stale memory.
    if (!reader || !read())
        picture.fill(Qt::black);
    return picture;
}

ScreenReadPath X11ScreenGrabber::lastReadPath() const {
    return m_reader ? m_reader->lastPath() : ScreenReadPath::None;
}

RootWindowReader* X11ScreenGrabber::rootReader() {
    xcb_connection_t* xcb = connection();
    if (!xcb)
        return nullptr;
    if (!m_reader || m_reader->connection() != xcb) {
        m_reader.reset();
        const xcb_window_t root = rootWindow(xcb);
        if (root == XCB_WINDOW_NONE)
            return nullptr;
        m_reader = std::make_unique<RootWindowReader>(xcb, root,
                                                      m_read == ScreenRead::SharedMemoryWhenLocal);
    }
    return m_reader.get();
}

QRect X11ScreenGrabber::activeWindowFrame() {
    xcb_connection_t* xcb = connection();
    if (!xcb)
        return {};
    const xcb_window_t root = rootWindow(xcb);
    if (root == XCB_WINDOW_NONE)
        return {};
    const xcb_window_t active = activeWindow(xcb, root);
    if (active == XCB_WINDOW_NONE || active == root)
        return {};
    const xcb_window_t frame = topLevelAncestor(xcb, active);
    if (frame == XCB_WINDOW_NONE)
        return {};
    QRect frameRect = outerRectangle(xcb, frame);
    // Root coordinates count from the top-left of all monitors together; the program counts
    // from the primary screen's top-left, which Qt keeps in device pixels.
    frameRect.translate(-primaryScreenOnRoot().topLeft());
    return frameRect;
}

xcb_connection_t* X11ScreenGrabber::qtConnection() {
    // Other platform plugins may offer the X11 interface too (offscreen does) without a
    // connection behind it.
    if (!qGuiApp)
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_connection_t* X11ScreenGrabber::connection() const {
    if (xcb_connection_t* qt = qtConnection())
        return qt;
    // A connection that the server dropped stays in error for good; a fresh one is tried.
    if (m_ownConnection && xcb_connection_has_error(m_ownConnection)) {
        if (m_reader && m_reader->connection() == m_ownConnection)
            m_reader->forgetConnection();
        xcb_disconnect(m_ownConnection);
        m_ownConnection = nullptr;
    }
    if (!m_ownConnection) {
        xcb_connection_t* opened = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(opened)) {
            xcb_disconnect(opened);
            return nullptr;
        }
        m_ownConnection = opened;
    }
    return m_ownConnection;
}

std::unique_ptr<ScreenGrabber> createScreenGrabber() {
    return std::make_unique<X11ScreenGrabber>();
}

} // namespace glim
