#pragma once

#include <cstdint>

namespace glim {

// The window manager's _NET_ACTIVE_WINDOW property on the root window, as the X server's reply
// to a property read gives it, in plain fields so that the decision below stands on its own.
struct ActiveWindowReply {
    bool present = false;    // a reply came (no error)
    std::uint32_t type = 0;  // the property's type atom
    std::uint8_t format = 0; // bits per item: 8, 16 or 32
    int valueLength = 0;     // bytes of value
    const void* value = nullptr;
};

// The atom of type WINDOW, fixed by the X protocol.
inline constexpr std::uint32_t kWindowTypeAtom = 33;

// The window the property names, or 0 (None): when no reply came, or the property is not one
// 32-bit item of type WINDOW, or it is None itself (as when the desktop has the focus).
std::uint32_t activeWindowIn(const ActiveWindowReply& reply);

} // namespace glim
