#pragma once

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace glim {

// The fastest read of the screen that X offers, as a floor: one MIT-SHM GetImage of the root
// window into a segment made once, on a connection of its own, with nothing done to the
// pixels. On a 24-bit screen they stay as the server wrote them: B,G,R and an unused byte.
class BareShmRead {
public:
    BareShmRead(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_bytes(std::size_t(width) * std::size_t(height) * 4) {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const int fd = memfd_create("bench-screen", MFD_CLOEXEC);
        if (fd < 0)
            return;
        void* mapped = ftruncate(fd, off_t(m_bytes)) == 0
                           ? mmap(nullptr, m_bytes, PROT_READ, MAP_SHARED, fd, 0)
                           : MAP_FAILED;
        if (mapped == MAP_FAILED) {
            close(fd);
            return;
        }
        m_pixels = static_cast<const unsigned char*>(mapped);
        m_segment = xcb_generate_id(m_connection);
        // xcb closes the descriptor once the server has it.
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_shm_attach_fd_checked(m_connection, m_segment, fd, 0));
        m_attached = error == nullptr;
        std::free(error);
    }
    ~BareShmRead() {
        if (m_pixels)
            munmap(const_cast<unsigned char*>(m_pixels), m_bytes);
        xcb_disconnect(m_connection);
    }
    BareShmRead(const BareShmRead&) = delete;
    BareShmRead& operator=(const BareShmRead&) = delete;

    bool isReady() const { return m_attached; }

    // The whole area read into the segment; false when the server refused.
    bool read() {
        xcb_generic_error_t* error = nullptr;
        xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(
            m_connection,
            xcb_shm_get_image(m_connection, m_root, 0, 0, std::uint16_t(m_width),
                              std::uint16_t(m_height), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment,
                              0),
            &error);
        const bool read = reply != nullptr && reply->size >= m_bytes;
        std::free(reply);
        std::free(error);
        return read;
    }
    const unsigned char* pixels() const { return m_pixels; }
    int stride() const { return m_width * 4; }

private:
    int m_width;
    int m_height;
    std::size_t m_bytes;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::uint32_t m_segment = 0;
    const unsigned char* m_pixels = nullptr;
    bool m_attached = false;
};

} // namespace glim
