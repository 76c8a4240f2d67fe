#pragma once

#include "platform/Picture.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace glim {

// The program's 24-bit pixel buffer: Height rows of BytesPerScanLine bytes, each pixel blue,
// green, red, rows stored bottom-up and padded to a multiple of 4 bytes. Pictures are copied
// into it and out of it; the JPEG writer hands its memory to the encoder as it is.
class DibSection {
public:
    // The pixel block. It is zero-filled when made, like a fresh bitmap.
    struct FreeBlock {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    using PixelBlock = std::unique_ptr<std::uint8_t[], FreeBlock>;

    DibSection() = default;
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
    DibSection(DibSection&&) noexcept = default;
    DibSection& operator=(DibSection&&) noexcept = default;
    ~DibSection() { clearUp(); }

    // Releases any pixels held, then makes a zeroed buffer of the size. False (and empty) for a
    // width or height below 1 or a block too large to make; Width and Height still report
    // the size asked for.
    bool create(int width, int height);
    // Records the size in the header and makes a pixel block for it, handed back through
    // `dib`; it does not adopt the block (create does). True when the block was made.
    bool createDib(int width, int height, PixelBlock& dib);
    // Makes a buffer of the picture's size and copies the picture into it, converted to 24-bit
    // B,G,R whatever the picture's own format. A null picture leaves the buffer empty.
    void createFromPicture(const Picture& picture);

    // (Width x 3 + 3) with the two low bits cleared: 4, 8, 12, 12, 16 for widths 1 to 5.
    int bytesPerScanLine() const;
    // The size in the header: after clearUp or a failed create, the last size asked for.
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return !m_bits; }

    // Copies the picture's rectangle at (srcLeft, srcTop) to the buffer's top-left corner, byte
    // for byte (no command combines the bytes in another way). A negative width or height
    // means the buffer's own. Coordinates count from the top, as on the screen; the parts that
    // fall outside the picture or the buffer are not copied.
    void loadPictureBlt(const Picture& source, int srcLeft = 0, int srcTop = 0, int srcWidth = -1,
                        int srcHeight = -1);
    // Copies the buffer's rectangle at (srcLeft, srcTop) to the picture at (destLeft, destTop),
    // with the same negative-means-whole rule. The picture is held as Format_BGR888 afterwards.
    void paintPicture(Picture& destination, int destLeft = 0, int destTop = 0, int destWidth = -1,
                      int destHeight = -1, int srcLeft = 0, int srcTop = 0);

    // The handles of the buffer. Here the pixel block is both the bitmap and its own drawing
    // surface, so hdc and hDib name the block; all three are 0 when the buffer is empty.
    std::uintptr_t hdc() const { return reinterpret_cast<std::uintptr_t>(m_bits.get()); }
    std::uintptr_t hDib() const { return reinterpret_cast<std::uintptr_t>(m_bits.get()); }
    std::uint8_t* dibSectionBitsPtr() { return m_bits.get(); }
    const std::uint8_t* dibSectionBitsPtr() const { return m_bits.get(); }

    // Fills the buffer with noise seeded from the time of day: blue 0 and random green and red,
    // or (gray) one random value in all three. Padding bytes are not touched.
    void randomiseBits(bool gray = false);
    // Releases the pixels; the header keeps its size.
    void clearUp() { m_bits.reset(); }

    // A new buffer of the size (height first) holding this one's pixels, copied when the size
    // is the same and bilinearly resampled otherwise; null when it cannot be made.
    std::unique_ptr<DibSection> resample(int newHeight, int newWidth) const;
    // Resamples this buffer's pixels into the target's size.
    void resampleInto(DibSection& target) const;

private:
    int m_width = 0;
    int m_height = 0;
    PixelBlock m_bits;
};

} // namespace glim
