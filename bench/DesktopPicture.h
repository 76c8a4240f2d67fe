#pragma once

#include "platform/Picture.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace glim {

// A desktop-like picture: a gradient background, flat windows with title bars, and rows of
// small dark marks standing in for text.
inline Picture desktopPicture(int width, int height) {
    Picture picture(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = std::uint8_t(120 + 100 * y / height);
            row[3 * x + 1] = std::uint8_t(60 + 80 * x / width);
            row[3 * x + 2] = 40;
        }
    }
    std::mt19937 engine(5);
    for (int w = 0; w < 6; ++w) {
        const int left = int(engine() % unsigned(width * 2 / 3));
        const int top = int(engine() % unsigned(height * 2 / 3));
        const int right = std::min(width, left + width / 3);
        const int bottom = std::min(height, top + height / 3);
        for (int y = top; y < bottom; ++y) {
            std::uint8_t* row = picture.scanLine(y);
            const bool title = y < top + 24;
            for (int x = left; x < right; ++x) {
                const bool mark = !title && (y - top) % 18 < 10 && (x * 7 + y / 18 * 3) % 11 < 6 &&
                                  (x / 40 + y / 18) % 5 != 0;
                const std::uint8_t value = title ? 90 : mark ? 20 : 245;
                row[3 * x] = title ? 200 : value;
                row[3 * x + 1] = value;
                row[3 * x + 2] = value;
            }
        }
    }
    return picture;
}

} // namespace glim
