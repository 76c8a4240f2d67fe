#pragma once

#include <cstddef>
#include <cstdint>

namespace glim {

// A two-dimensional byte view (byte column, row) laid over pixel memory that someone else owns:
// row y starts y x stride bytes after the base, in the order the memory stores its rows. It
// copies nothing and frees nothing. `Byte` is std::uint8_t or const std::uint8_t.
template <typename Byte> class BasicPixelRows {
public:
    BasicPixelRows(Byte* base, int stride, int rows)
        : m_base(base)
        , m_stride(std::ptrdiff_t(stride))
        , m_rows(rows) {}

    int rows() const { return m_rows; }
    std::ptrdiff_t stride() const { return m_stride; }
    // Row y in storage order.
    Byte* row(int y) const { return m_base + std::ptrdiff_t(y) * m_stride; }
    // Row r counted from the top of a bottom-up picture.
    Byte* fromTop(int r) const { return row(m_rows - 1 - r); }
    Byte& operator()(int x, int y) const { return row(y)[x]; }

private:
    Byte* m_base;
    std::ptrdiff_t m_stride;
    int m_rows;
};

using PixelRows = BasicPixelRows<std::uint8_t>;
using ConstPixelRows = BasicPixelRows<const std::uint8_t>;

} // namespace glim
