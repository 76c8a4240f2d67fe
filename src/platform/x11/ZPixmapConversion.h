#pragma once

#include <cstdint>

namespace glim {

// How an X server lays out the pixels of a Z-format image of the screen: bits per pixel, the
// byte order within a pixel, where each colour lies in a pixel's value, and the multiple of
// bits that every row is padded to. The defaults are the common 24-bit screen (B,G,R,unused
// bytes in memory).
struct ZPixmapFormat {
    int bitsPerPixel = 32;
    bool mostSignificantByteFirst = false;
    std::uint32_t redMask = 0xff0000;
    std::uint32_t greenMask = 0x00ff00;
    std::uint32_t blueMask = 0x0000ff;
    int scanlinePad = 32;
};

// Whether convertZPixmapToBgr reads the format: 16, 24 or 32 bits a pixel, each colour one
// unbroken run of 1 to 16 bits inside the pixel, rows padded to a multiple of 8 bits.
bool canConvertZPixmap(const ZPixmapFormat& format);

// Bytes from one row's start to the next's in an image of `width` pixels; 0 for a format that
// cannot be converted.
std::int64_t zPixmapStride(const ZPixmapFormat& format, int width);

// Converts `rows` rows of `width` pixels into B,G,R bytes, 3 a pixel, rows `targetStride`
// bytes apart, top row first; nothing beyond the pixels of each target row is written. A
// colour of fewer than 8 bits is stretched over 0 to 255 (full intensity stays full), one of
// more keeps its 8 highest bits. The format must be one that canConvertZPixmap accepts.
void convertZPixmapToBgr(const ZPixmapFormat& format, const std::uint8_t* source,
                         std::int64_t sourceStride, std::uint8_t* target, std::int64_t targetStride,
                         int width, int rows);

} // namespace glim
