#include "platform/x11/ActiveWindowProperty.h"

#include <xcb/xproto.h>

#include <cstring>

namespace glim {

static_assert(kWindowTypeAtom == XCB_ATOM_WINDOW);

std::uint32_t activeWindowIn(const ActiveWindowReply& reply) {
    std::uint32_t window = XCB_WINDOW_NONE;
    if (!reply.present || reply.type != kWindowTypeAtom || reply.format != 32 ||
        reply.valueLength < int(sizeof window))
        return XCB_WINDOW_NONE;
    std::memcpy(&window, reply.value, sizeof window);
    return window;
}

} // namespace glim
