// The pixel work of the buffer that runs on its memory directly: the noise fill and the
// bilinear resample. Both address the pixels through a byte view over the buffer's own block.

#include "imaging/DibSection.h"

#include "imaging/PixelRows.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <span>

namespace glim {

namespace {

// The nearest whole number, halves to the even neighbour (the default rounding mode).
double roundHalfEven(double value) {
    return std::nearbyint(value);
}

// A component value: r x 255 rounded, r uniform in [0, 1).
class NoiseSource {
public:
    NoiseSource()
        : m_engine(std::uint32_t(QTime::currentTime().msecsSinceStartOfDay() / 1000)) {}
    std::uint8_t next() { return std::uint8_t(roundHalfEven(m_uniform(m_engine) * 255.0)); }

private:
    std::mt19937 m_engine;
    std::uniform_real_distribution<double> m_uniform{0.0, 1.0};
};

} // namespace

void DibSection::randomiseBits(bool gray) {
    if (isEmpty())
        return;
    const PixelRows s(m_bits.get(), bytesPerScanLine(), m_height);
    NoiseSource noise;
    if (!gray) {
        // Column by column, and within a column row by row: blue 0, then green, then red.
        for (int x = 0; x < m_width; ++x) {
            for (int y = 0; y < m_height; ++y) {
                std::uint8_t* pixel = s.row(y) + std::ptrdiff_t(x) * 3;
                pixel[0] = 0;
                pixel[1] = noise.next();
                pixel[2] = noise.next();
            }
        }
        return;
    }
    for (int y = 0; y < m_height; ++y) {
        std::uint8_t* pixel = s.row(y);
        for (int x = 0; x < m_width; ++x, pixel += 3) {
            const std::uint8_t value = noise.next();
            pixel[0] = value;
            pixel[1] = value;
            pixel[2] = value;
        }
    }
}

std::unique_ptr<DibSection> DibSection::resample(int newHeight, int newWidth) const {
    auto result = std::make_unique<DibSection>();
    if (!result->create(newWidth, newHeight))
        return nullptr;
    if (newWidth == m_width && newHeight == m_height) {
        if (!isEmpty())
            std::memcpy(result->m_bits.get(), m_bits.get(),
                        std::size_t(bytesPerScanLine()) * std::size_t(m_height));
    } else {
        resampleInto(*result);
    }
    return result;
}

void DibSection::resampleInto(DibSection& target) const {
    if (isEmpty() || target.isEmpty())
        return;
    const int w = m_width;
    const int h = m_height;
    const int newW = target.m_width;
    const int newH = target.m_height;
    const auto stride = std::size_t(bytesPerScanLine());
    // The source is read through views of exactly its rows' pixels, without their padding, so
    // that the checked builds stop at any read past a row or past the buffer.
    const std::span<const std::uint8_t> source(m_bits.get(), stride * std::size_t(h));
    const auto sourceRow = [&](int y) {
        return source.subspan(std::size_t(y) * stride, std::size_t(w) * 3);
    };
    const PixelRows t(target.m_bits.get(), target.bytesPerScanLine(), newH);

    // The scale is (source size - 1) / target size, so the last target column and row sample
    // short of the source's last ones. Rows count from the bottom in both buffers.
    const float xScale = float(double(w - 1) / double(newW));
    const float yScale = float(double(h - 1) / double(newH));
    const auto blend = [](double c1, double c2, float d) {
        return roundHalfEven((1.0 - double(d)) * c1 + double(d) * c2);
    };

    for (int y = 0; y < newH; ++y) {
        const float fY = float(double(y) * double(yScale));
        // A source lower than 2 rows has no row above: the edge row stands in for it, so that
        // nothing outside the source is read. The same holds for columns.
        const int iY = std::clamp(int(std::floor(fY)), 0, h - 1);
        const float dy = float(double(fY) - double(iY));
        const std::span<const std::uint8_t> lower = sourceRow(iY);
        const std::span<const std::uint8_t> upper = sourceRow(std::min(iY + 1, h - 1));
        std::uint8_t* out = t.row(y);
        for (int x = 0; x < newW; ++x) {
            const float fX = float(double(x) * double(xScale));
            const int iX = std::clamp(int(std::floor(fX)), 0, w - 1);
            const float dX = float(double(fX) - double(iX));
            const std::size_t left = std::size_t(iX) * 3;
            const std::size_t right = std::size_t(std::min(iX + 1, w - 1)) * 3;
            for (std::size_t c = 0; c < 3; ++c) {
                const double c13 = blend(lower[left + c], upper[left + c], dy);
                const double c24 = blend(lower[right + c], upper[right + c], dy);
                out[std::size_t(x) * 3 + c] =
                    std::uint8_t(std::clamp(blend(c13, c24, dX), 0.0, 255.0));
            }
        }
    }
}

} // namespace glim
