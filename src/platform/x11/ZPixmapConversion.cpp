#include "platform/x11/ZPixmapConversion.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLIM_HAS_SSSE3_PATH 1
#endif

namespace glim {

namespace {

// One colour's place in a pixel value and what each of its values becomes as a byte.
struct Channel {
    int shift = 0;
    int bits = 0;
    std::array<std::uint8_t, 256> bytes{};

    explicit Channel(std::uint32_t mask)
        : shift(std::countr_zero(mask))
        , bits(std::popcount(mask)) {
        if (bits > 8)
            return;
        const std::uint32_t largest = (1u << bits) - 1;
        for (std::uint32_t value = 0; value <= largest; ++value)
            bytes[value] = std::uint8_t((value * 255 + largest / 2) / largest);
    }

    std::uint8_t of(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel >> shift) & ((1u << bits) - 1);
        return bits > 8 ? std::uint8_t(value >> (bits - 8)) : bytes[value];
    }
};

bool isOneRun(std::uint32_t mask) {
    if (mask == 0)
        return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0 && std::popcount(mask) <= 16;
}

std::uint32_t pixelAt(const std::uint8_t* bytes, int byteCount, bool mostSignificantFirst) {
    std::uint32_t value = 0;
    for (int i = 0; i < byteCount; ++i) {
        const int place = mostSignificantFirst ? byteCount - 1 - i : i;
        value |= std::uint32_t(bytes[i]) << (8 * place);
    }
    return value;
}

void convertAnyRow(const ZPixmapFormat& format, const Channel& red, const Channel& green,
                   const Channel& blue, const std::uint8_t* source, std::uint8_t* target,
                   int width) {
    const int byteCount = format.bitsPerPixel / 8;
    for (int x = 0; x < width; ++x, source += byteCount, target += 3) {
        const std::uint32_t pixel = pixelAt(source, byteCount, format.mostSignificantByteFirst);
        target[0] = blue.of(pixel);
        target[1] = green.of(pixel);
        target[2] = red.of(pixel);
    }
}

// The common screen: every pixel is B,G,R and a byte that is not used.
void dropFourthBytes(const std::uint8_t* source, std::uint8_t* target, int width, int from) {
    for (int x = from; x < width; ++x)
        std::memcpy(target + 3 * x, source + 4 * x, 3);
}

#ifdef GLIM_HAS_SSSE3_PATH
// Sixteen pixels at a time: four shuffles pack each group of four pixels into 12 bytes, and
// three stores write the 48 bytes without touching what follows the row.
__attribute__((target("ssse3"))) void dropFourthBytesSsse3(const std::uint8_t* source,
                                                           std::uint8_t* target, int width) {
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const auto* in = reinterpret_cast<const __m128i*>(source + 4 * x);
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(in), pack);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(in + 1), pack);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(in + 2), pack);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(in + 3), pack);
        auto* out = reinterpret_cast<__m128i*>(target + 3 * x);
        _mm_storeu_si128(out, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    dropFourthBytes(source, target, width, x);
}

bool hasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

bool isBgrOrder(const ZPixmapFormat& format) {
    return !format.mostSignificantByteFirst && format.redMask == 0xff0000 &&
           format.greenMask == 0x00ff00 && format.blueMask == 0x0000ff;
}

} // namespace

bool canConvertZPixmap(const ZPixmapFormat& format) {
    const int bpp = format.bitsPerPixel;
    if (bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    if (format.scanlinePad <= 0 || format.scanlinePad % 8 != 0)
        return false;
    const std::uint64_t inPixel = bpp == 32 ? 0xffffffffull : (1ull << bpp) - 1;
    for (const std::uint32_t mask : {format.redMask, format.greenMask, format.blueMask}) {
        if (!isOneRun(mask) || (mask & ~inPixel) != 0)
            return false;
    }
    return (format.redMask & format.greenMask) == 0 && (format.redMask & format.blueMask) == 0 &&
           (format.greenMask & format.blueMask) == 0;
}

std::int64_t zPixmapStride(const ZPixmapFormat& format, int width) {
    if (!canConvertZPixmap(format) || width < 0)
        return 0;
    const std::int64_t pad = format.scanlinePad;
    const std::int64_t bits = std::int64_t(width) * format.bitsPerPixel;
    return (bits + pad - 1) / pad * pad / 8;
}

void convertZPixmapToBgr(const ZPixmapFormat& format, const std::uint8_t* source,
                         std::int64_t sourceStride, std::uint8_t* target, std::int64_t targetStride,
                         int width, int rows) {
    if (isBgrOrder(format) && format.bitsPerPixel == 24) {
        for (int y = 0; y < rows; ++y)
            std::memcpy(target + y * targetStride, source + y * sourceStride,
                        std::size_t(width) * 3);
        return;
    }
    if (isBgrOrder(format) && format.bitsPerPixel == 32) {
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* in = source + y * sourceStride;
            std::uint8_t* out = target + y * targetStride;
#ifdef GLIM_HAS_SSSE3_PATH
            if (hasSsse3()) {
                dropFourthBytesSsse3(in, out, width);
                continue;
            }
#endif
            dropFourthBytes(in, out, width, 0);
        }
        return;
    }
    const Channel red(format.redMask);
    const Channel green(format.greenMask);
    const Channel blue(format.blueMask);
    for (int y = 0; y < rows; ++y)
        convertAnyRow(format, red, green, blue, source + y * sourceStride,
                      target + y * targetStride, width);
}

} // namespace glim
