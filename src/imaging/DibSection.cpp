#include "imaging/DibSection.h"

#include "imaging/PixelRows.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace glim {

namespace {

// One axis of a rectangle copy, clipped to both ends: `length` items from `srcStart` in a
// source of `srcSize` go to `destStart` in a destination of `destSize`. Computed in 64 bits
// so that no combination of 32-bit arguments overflows.
struct Span {
    int dest = 0;
    int src = 0;
    int length = 0;
};

Span clipSpan(int destStart, int srcStart, int length, int destSize, int srcSize) {
    std::int64_t dest = destStart;
    std::int64_t src = srcStart;
    std::int64_t end = std::int64_t(destStart) + length; // exclusive, in destination terms
    const std::int64_t shift = std::max<std::int64_t>({0, -dest, -src});
    dest += shift;
    src += shift;
    end = std::min<std::int64_t>({end, destSize, dest + (std::int64_t(srcSize) - src)});
    if (end <= dest)
        return {};
    return {int(dest), int(src), int(end - dest)};
}

} // namespace

bool DibSection::create(int width, int height) {
    clearUp();
    PixelBlock block;
    if (!createDib(width, height, block))
        return false;
    m_bits = std::move(block);
    return true;
}

bool DibSection::createDib(int width, int height, PixelBlock& dib) {
    // The header takes the size first, so that a refused size is still what Width and Height
    // report afterwards.
    m_width = width;
    m_height = height;
    dib.reset();
    if (width < 1 || height < 1)
        return false;
    const std::int64_t stride = (std::int64_t(width) * 3 + 3) & ~std::int64_t(3);
    if (stride > INT_MAX)
        return false;
    // Far beyond any screen or picture file; a larger request is a fault, not a picture.
    constexpr std::int64_t kLargestBlock = std::int64_t(1) << 32;
    if (std::int64_t(height) > kLargestBlock / stride)
        return false;
    const auto rows = std::size_t(height);
    dib.reset(static_cast<std::uint8_t*>(std::calloc(rows, std::size_t(stride))));
    return dib != nullptr;
}

void DibSection::createFromPicture(const Picture& picture) {
    if (!create(picture.width(), picture.height()))
        return;
    loadPictureBlt(picture, 0, 0, -1, -1);
}

int DibSection::bytesPerScanLine() const {
    // Kept in 32 bits like the header; create refuses every width whose stride would not fit,
    // and for such a width left in the header the value wraps instead of overflowing.
    return int(std::uint32_t((std::int64_t(m_width) * 3 + 3) & ~std::int64_t(3)));
}

void DibSection::loadPictureBlt(const Picture& source, int srcLeft, int srcTop, int srcWidth,
                                int srcHeight) {
    if (isEmpty() || source.isNull())
        return;
    const Picture bgr = asPicture(source); // shares the pixels when no conversion is needed
    const int w = srcWidth < 0 ? m_width : srcWidth;
    const int h = srcHeight < 0 ? m_height : srcHeight;
    const Span xs = clipSpan(0, srcLeft, w, m_width, bgr.width());
    const Span ys = clipSpan(0, srcTop, h, m_height, bgr.height());
    if (xs.length == 0 || ys.length == 0)
        return;
    const PixelRows rows(m_bits.get(), bytesPerScanLine(), m_height);
    for (int r = 0; r < ys.length; ++r) {
        std::uint8_t* dest = rows.fromTop(ys.dest + r) + std::size_t(xs.dest) * 3;
        const std::uint8_t* src = bgr.constScanLine(ys.src + r) + std::size_t(xs.src) * 3;
        std::memcpy(dest, src, std::size_t(xs.length) * 3);
    }
}

void DibSection::paintPicture(Picture& destination, int destLeft, int destTop, int destWidth,
                              int destHeight, int srcLeft, int srcTop) {
    if (isEmpty() || destination.isNull())
        return;
    if (destination.format() != QImage::Format_BGR888)
        destination.convertTo(QImage::Format_BGR888);
    const int w = destWidth < 0 ? m_width : destWidth;
    const int h = destHeight < 0 ? m_height : destHeight;
    const Span xs = clipSpan(destLeft, srcLeft, w, destination.width(), m_width);
    const Span ys = clipSpan(destTop, srcTop, h, destination.height(), m_height);
    if (xs.length == 0 || ys.length == 0)
        return;
    const PixelRows rows(m_bits.get(), bytesPerScanLine(), m_height);
    for (int r = 0; r < ys.length; ++r) {
        std::uint8_t* dest = destination.scanLine(ys.dest + r) + std::size_t(xs.dest) * 3;
        const std::uint8_t* src = rows.fromTop(ys.src + r) + std::size_t(xs.src) * 3;
        std::memcpy(dest, src, std::size_t(xs.length) * 3);
    }
}

} // namespace glim
