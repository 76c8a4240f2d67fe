#pragma once

#include "platform/GlobalHotKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace glim {

// A hot key on X11: a passive grab of the key on the root window, once for every state of the
// lock modifiers (Caps Lock, Num Lock), since X matches the modifier state exactly; the
// presses come to Qt's xcb connection and are taken from its event stream by a native filter.
// When any of the grabs is refused (another client holds the key) none is kept.
class X11HotKey : public GlobalHotKey, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // The key by its keysym, with the modifier mask that must be held (ShiftMask, ControlMask,
    // Mod1Mask ...).
    X11HotKey(std::uint32_t keysym, std::uint16_t modifiers);
    ~X11HotKey() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void ungrab();

    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint8_t m_keycode = 0;
    std::uint16_t m_modifiers = 0;
    std::uint16_t m_lockMasks = 0;
    std::vector<std::uint16_t> m_grabbed;
};

} // namespace glim
