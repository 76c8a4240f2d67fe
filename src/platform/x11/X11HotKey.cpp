#include "platform/x11/X11HotKey.h"

#include "platform/x11/RootWindowReader.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace glim {

namespace {

constexpr std::uint32_t kKeysymF9 = 0xffc6;
constexpr std::uint32_t kKeysymNumLock = 0xff7f;
// The modifier bits of a key event's state; the rest are pointer buttons.
constexpr std::uint16_t kModifierBits = 0xff;

struct FreeWithFree {
    void operator()(void* block) const { std::free(block); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeWithFree>;

// The keyboard's keycodes with their keysyms, read once.
class KeyboardMap {
public:
    explicit KeyboardMap(xcb_connection_t* connection)
        : m_first(xcb_get_setup(connection)->min_keycode) {
        const int count = xcb_get_setup(connection)->max_keycode - m_first + 1;
        m_reply.reset(xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, m_first, std::uint8_t(count)),
            nullptr));
    }
    // The first keycode that gives `keysym` in any of its columns; 0 when none does.
    std::uint8_t keycodeOf(std::uint32_t keysym) const {
        if (!m_reply || m_reply->keysyms_per_keycode == 0)
            return 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(m_reply.get());
        const int total = xcb_get_keyboard_mapping_keysyms_length(m_reply.get());
        for (int i = 0; i < total; ++i) {
            if (syms[i] == keysym)
                return std::uint8_t(m_first + i / m_reply->keysyms_per_keycode);
        }
        return 0;
    }

private:
    std::uint8_t m_first;
    XcbReply<xcb_get_keyboard_mapping_reply_t> m_reply;
};

// The modifier bit that Num Lock sets (usually Mod2); 0 when the keyboard has none.
std::uint16_t numLockMask(xcb_connection_t* connection, std::uint8_t numLock) {
    if (numLock == 0)
        return 0;
    const XcbReply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!reply)
        return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (codes[modifier * perModifier + i] == numLock)
                return std::uint16_t(1u << modifier);
        }
    }
    return 0;
}

} // namespace

X11HotKey::X11HotKey(std::uint32_t keysym, std::uint16_t modifiers)
    : m_modifiers(modifiers) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Other platforms offer no global keys; offscreen offers the interface without a server.
    if (!x11 || !x11->connection())
        return;
    m_connection = x11->connection();
    m_root = rootWindow(m_connection);
    const KeyboardMap keyboard(m_connection);
    m_keycode = keyboard.keycodeOf(keysym);
    if (m_root == XCB_WINDOW_NONE || m_keycode == 0)
        return;
    const std::uint16_t numLock = numLockMask(m_connection, keyboard.keycodeOf(kKeysymNumLock));
    m_lockMasks = XCB_MOD_MASK_LOCK | numLock;

    const std::uint16_t lockStates[] = {0, XCB_MOD_MASK_LOCK, numLock,
                                        std::uint16_t(XCB_MOD_MASK_LOCK | numLock)};
    const int states = numLock ? 4 : 2;
    for (int i = 0; i < states; ++i) {
        const std::uint16_t state = m_modifiers | lockStates[i];
        // Not owner_events: the press comes on the root even when a window of ours has focus.
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            m_connection, 0, m_root, state, m_keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
            std::free(error);
            ungrab();
            return;
        }
        m_grabbed.push_back(state);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKey::~X11HotKey() {
    ungrab();
}

void X11HotKey::ungrab() {
    if (m_grabbed.empty())
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    for (std::uint16_t state : m_grabbed)
        xcb_ungrab_key(m_connection, m_keycode, m_root, state);
    xcb_flush(m_connection);
    m_grabbed.clear();
}

bool X11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    const std::uint16_t held = key->state & kModifierBits & ~m_lockMasks;
    if (key->event != m_root || key->detail != m_keycode || held != m_modifiers)
        return false;
    emit pressed();
    return true;
}

std::unique_ptr<GlobalHotKey> createSelectorHotKey() {
    return std::make_unique<X11HotKey>(kKeysymF9, XCB_MOD_MASK_CONTROL);
}

} // namespace glim
