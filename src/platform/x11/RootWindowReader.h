#pragma once

#include "platform/x11/ZPixmapConversion.h"

#include <QRect>

#include <cstddef>
#include <cstdint>

#include <xcb/xcb.h>

namespace glim {

// The root window of the screen that DISPLAY names, which is the one Qt and xcb_connect(nullptr)
// open; the first screen when DISPLAY names none.
xcb_window_t rootWindow(xcb_connection_t* connection);

// How the last read reached the screen's pixels.
enum class ScreenReadPath {
    None,         // nothing read yet, or the last read failed
    SharedMemory, // MIT-SHM: the server wrote the pixels into our segment
    GetImage,     // the pixels came in the reply of a plain GetImage
};

// Reads rectangles of an X screen's root window into B,G,R rows. The server writes the
// pixels straight into a shared-memory segment that is kept from one read to the next, band
// by band for a large read, and they are converted once from there into the caller's rows. A server
// without MIT-SHM, one on another machine (a shared segment cannot reach it), or one that refuses
// the segment is read through GetImage instead.
class RootWindowReader {
public:
    RootWindowReader(xcb_connection_t* connection, xcb_window_t root, bool sharedMemory);
    ~RootWindowReader();
    RootWindowReader(const RootWindowReader&) = delete;
    RootWindowReader& operator=(const RootWindowReader&) = delete;

    xcb_connection_t* connection() const { return m_connection; }
    ScreenReadPath lastPath() const { return m_lastPath; }

    // Reads `rect` (root coordinates, inside the root window) into `rect.height()` rows of
    // `rect.width()` B,G,R pixels at `target`, `targetStride` bytes apart. False when the
    // server sent no pixels (the rows may then hold part of the screen) or the screen's pixel
    // format is not one the conversion reads.
    bool read(const QRect& rect, std::uint8_t* target, std::int64_t targetStride);

    // For a connection that was closed under the reader: it then sends nothing when it goes.
    void forgetConnection() { m_connection = nullptr; }

private:
    // The rect in bands of `bandRows` rows, `stride` bytes apart in the server's layout, through
    // the two halves of the segment in turn: the rows read before the first band that failed.
    int readSharedBands(const QRect& rect, std::int64_t stride, int bandRows, std::uint8_t* target,
                        std::int64_t targetStride);
    bool readWithGetImage(const QRect& rect, std::int64_t stride, std::uint8_t* target,
                          std::int64_t targetStride);
    bool startSharedMemory();
    bool holdSegment(std::size_t bytes);
    void releaseSegment();

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    ZPixmapFormat m_format;
    bool m_formatKnown = false;
    // Untried, in use, or given up for good on this connection.
    enum class Shared { Untried, Working, Off } m_shared;
    std::uint32_t m_segment = 0;
    const std::uint8_t* m_mapped = nullptr;
    std::size_t m_mappedBytes = 0;
    ScreenReadPath m_lastPath = ScreenReadPath::None;
};

} // namespace glim
