#include "platform/x11/RootWindowReader.h"

#include <xcb/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace glim {

namespace {

struct FreeWithFree {
    void operator()(void* block) const { std::free(block); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeWithFree>;

constexpr std::uint32_t kAllPlanes = ~0u;

// A large read is made in bands of rows of at most this size, one request each: the segment
// then stays this small whatever the screen (a 3840 x 2160 screen at 4 bytes a pixel would take
// 33 MB), its pixels are still in the processor's cache when they are converted, and a GetImage
// reply is never larger either. Through shared memory the server writes the next band while
// the last one is converted, so the read takes little more than the server's copy.
constexpr std::int64_t kBandBytes = 1 << 20;

// The layout of the root window's pixels: the pixmap format of its depth, the server's byte
// order and its visual's colour masks.
bool rootFormat(xcb_connection_t* connection, xcb_window_t root, ZPixmapFormat* format) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = nullptr;
    for (auto it = xcb_setup_roots_iterator(setup); it.rem > 0; xcb_screen_next(&it)) {
        if (it.data->root == root)
            screen = it.data;
    }
    if (!screen)
        return false;
    bool pixmapFound = false;
    const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
    for (int i = 0; i < xcb_setup_pixmap_formats_length(setup); ++i) {
        if (formats[i].depth == screen->root_depth) {
            format->bitsPerPixel = formats[i].bits_per_pixel;
            format->scanlinePad = formats[i].scanline_pad;
            pixmapFound = true;
        }
    }
    format->mostSignificantByteFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen->root_visual) {
                format->redMask = visuals.data->red_mask;
                format->greenMask = visuals.data->green_mask;
                format->blueMask = visuals.data->blue_mask;
                return pixmapFound;
            }
        }
    }
    return false;
}

// A shared segment is memory on this machine, so only a server reached through a local
// socket can write into it (DISPLAY ":0", "unix:0" or a socket path).
bool displayIsLocal() {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        return false;
    const bool local =
        host == nullptr || host[0] == '\0' || std::strcmp(host, "unix") == 0 || host[0] == '/';
    std::free(host);
    return local;
}

} // namespace

xcb_window_t rootWindow(xcb_connection_t* connection) {
    int screenNumber = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screenNumber) == 0)
        screenNumber = 0;
    std::free(host);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skipped = 0; screens.rem > 0; xcb_screen_next(&screens), ++skipped) {
        if (skipped == screenNumber)
            return screens.data->root;
    }
    return XCB_WINDOW_NONE;
}

RootWindowReader::RootWindowReader(xcb_connection_t* connection, xcb_window_t root,
                                   bool sharedMemory)
    : m_connection(connection)
    , m_root(root)
    , m_shared(sharedMemory ? Shared::Untried : Shared::Off) {
    m_formatKnown = rootFormat(connection, root, &m_format) && canConvertZPixmap(m_format);
}

RootWindowReader::~RootWindowReader() {
    releaseSegment();
}

bool RootWindowReader::read(const QRect& rect, std::uint8_t* target, std::int64_t targetStride) {
    m_lastPath = ScreenReadPath::None;
    // The protocol carries positions in 16 bits and sizes in 16 bits without sign.
    const bool fits =
        rect.left() >= 0 && rect.top() >= 0 && rect.right() <= 32767 && rect.bottom() <= 32767;
    if (!m_connection || !m_formatKnown || rect.isEmpty() || !fits)
        return false;
    if (m_shared == Shared::Untried)
        m_shared = startSharedMemory() ? Shared::Working : Shared::Off;

    const std::int64_t stride = zPixmapStride(m_format, rect.width());
    const int bandRows = int(std::clamp<std::int64_t>(kBandBytes / stride, 1, rect.height()));
    int top = 0;
    if (m_shared == Shared::Working) {
        top = readSharedBands(rect, stride, bandRows, target, targetStride);
        // A server that took the segment and then failed a read with it is not trusted with
        // another: the plain read is slower but gives the same pixels.
        if (top < rect.height()) {
            m_shared = Shared::Off;
            releaseSegment();
        }
    }
    const ScreenReadPath path =
        top == rect.height() ? ScreenReadPath::SharedMemory : ScreenReadPath::GetImage;
    for (; top < rect.height(); top += bandRows) {
        const QRect band(rect.x(), rect.y() + top, rect.width(),
                         std::min(bandRows, rect.height() - top));
        if (!readWithGetImage(band, stride, target + top * targetStride, targetStride))
            return false;
    }
    m_lastPath = path;
    return true;
}

bool RootWindowReader::startSharedMemory() {
    // The segment goes to the server as a file descriptor (MIT-SHM 1.2), which needs no
    // System V segment shared with the server's IPC namespace.
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(m_connection, &xcb_shm_id);
    if (!extension || !extension->present || !displayIsLocal())
        return false;
    const XcbReply<xcb_shm_query_version_reply_t> version(
        xcb_shm_query_version_reply(m_connection, xcb_shm_query_version(m_connection), nullptr));
    return version && (version->major_version > 1 ||
                       (version->major_version == 1 && version->minor_version >= 2));
}

bool RootWindowReader::holdSegment(std::size_t bytes) {
    if (m_mapped && m_mappedBytes >= bytes)
        return true;
    releaseSegment();
    const int fd = ::memfd_create("glimwell-screen", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    void* mapped = MAP_FAILED;
    if (::ftruncate(fd, off_t(bytes)) == 0)
        mapped = ::mmap(nullptr, bytes, PROT_READ, MAP_SHARED, fd, 0);
    const std::uint32_t segment = xcb_generate_id(m_connection);
    if (mapped == MAP_FAILED || segment == std::uint32_t(-1)) {
        ::close(fd);
        if (mapped != MAP_FAILED)
            ::munmap(mapped, bytes);
        return false;
    }
    // xcb closes the descriptor once it has passed it to the server; the mapping stays.
    xcb_generic_error_t* error =
        xcb_request_check(m_connection, xcb_shm_attach_fd_checked(m_connection, segment, fd, 0));
    if (error) {
        std::free(error);
        ::munmap(mapped, bytes);
        return false;
    }
    m_segment = segment;
    m_mapped = static_cast<const std::uint8_t*>(mapped);
    m_mappedBytes = bytes;
    return true;
}

void RootWindowReader::releaseSegment() {
    if (!m_mapped)
        return;
    if (m_connection && !xcb_connection_has_error(m_connection)) {
        xcb_shm_detach(m_connection, m_segment);
        xcb_flush(m_connection);
    }
    ::munmap(const_cast<std::uint8_t*>(m_mapped), m_mappedBytes);
    m_mapped = nullptr;
    m_mappedBytes = 0;
}

int RootWindowReader::readSharedBands(const QRect& rect, std::int64_t stride, int bandRows,
                                      std::uint8_t* target, std::int64_t targetStride) {
    const auto half = std::size_t(stride * bandRows);
    if (!holdSegment(2 * half))
        return 0;
    const int bands = (rect.height() + bandRows - 1) / bandRows;
    const auto rowsOf = [&](int index) {
        return std::min(bandRows, rect.height() - index * bandRows);
    };
    const auto request = [&](int index) {
        return xcb_shm_get_image(
            m_connection, m_root, std::int16_t(rect.x()), std::int16_t(rect.y() + index * bandRows),
            std::uint16_t(rect.width()), std::uint16_t(rowsOf(index)), kAllPlanes,
            XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment, std::uint32_t(std::size_t(index % 2) * half));
    };
    xcb_shm_get_image_cookie_t next = request(0);
    for (int index = 0; index < bands; ++index) {
        const xcb_shm_get_image_cookie_t cookie = next;
        // The next band goes into the other half, whose rows have been converted already, while
        // this one is converted.
        if (index + 1 < bands)
            next = request(index + 1);
        xcb_generic_error_t* rawError = nullptr;
        const XcbReply<xcb_shm_get_image_reply_t> reply(
            xcb_shm_get_image_reply(m_connection, cookie, &rawError));
        std::free(rawError);
        if (!reply || reply->size < std::size_t(stride * rowsOf(index))) {
            if (index + 1 < bands)
                xcb_discard_reply(m_connection, next.sequence);
            return index * bandRows;
        }
        convertZPixmapToBgr(m_format, m_mapped + std::size_t(index % 2) * half, stride,
                            target + std::int64_t(index) * bandRows * targetStride, targetStride,
                            rect.width(), rowsOf(index));
    }
    return rect.height();
}

bool RootWindowReader::readWithGetImage(const QRect& rect, std::int64_t stride,
                                        std::uint8_t* target, std::int64_t targetStride) {
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, std::int16_t(rect.x()),
                      std::int16_t(rect.y()), std::uint16_t(rect.width()),
                      std::uint16_t(rect.height()), kAllPlanes),
        &rawError));
    std::free(rawError);
    if (!reply || xcb_get_image_data_length(reply.get()) < stride * rect.height())
        return false;
    convertZPixmapToBgr(m_format, xcb_get_image_data(reply.get()), stride, target, targetStride,
                        rect.width(), rect.height());
    return true;
}

} // namespace glim
