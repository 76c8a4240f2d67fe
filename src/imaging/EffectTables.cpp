#include "imaging/EffectTables.h"

#include <algorithm>
#include <cmath>

namespace glim {

namespace {

// Tone arithmetic is done in 32-bit floats; each result is rounded to the nearest whole
// number, halves to the even neighbour (the default rounding mode). w is within 0 ... 255:
// adding 2^23 leaves no bit below the units, so the sum is rounded in the current mode exactly
// as nearbyint would round w (checked for every float in that range), without a library call
// for each of the 256 entries.
std::uint8_t roundToByte(float w) {
    constexpr float kUnitsOnly = 8388608.0f; // 2^23
    return std::uint8_t((w + kUnitsOnly) - kUnitsOnly);
}

} // namespace

float gainFactor(float x) {
    return float(std::exp(double(std::max(x, 0.0f)) / 50.0) / 5.0);
}

float contrastFactor(float x) {
    return float(std::exp(double(std::max(x, 0.0f)) / 30.0) / 20.0);
}

float rippleAmplitude(float x) {
    return x / 4.0f;
}

void buildGainTable(float gain, TemPal& temPal) {
    for (int v = 0; v < 256; ++v) {
        float w = float(v) * gain;
        if (w > 255.0f)
            w = 255.0f;
        // A negative gain cannot come from a bar; it still must not wrap around.
        if (!(w >= 0.0f))
            w = 0.0f;
        temPal[std::size_t(v)] = roundToByte(w);
    }
}

void buildContrastTable(float contrast, TemPal& temPal) {
    for (int v = 0; v < 256; ++v) {
        float w = float(v - 127) * contrast + 127.0f;
        if (w > 255.0f)
            w = 255.0f;
        if (!(w >= 0.0f))
            w = 0.0f;
        temPal[std::size_t(v)] = roundToByte(w);
    }
}

void buildRippleTable(float amplitude, int rows, RippleRows& table) {
    table.resize(std::size_t(std::max(rows, 0)));
    const double a = double(amplitude);
    const double last = double(rows - 1);
    for (int y = 0; y < rows; ++y) {
        double r = std::nearbyint(a * std::sin(double(y) / 10.0) + double(y));
        // Clamped in double first, so that a huge amplitude cannot overflow the int; a value
        // that is not a number (no amplitude at all) leaves the row where it is.
        if (std::isnan(r))
            r = double(y);
        table[std::size_t(y)] = int(std::clamp(r, 0.0, last));
    }
}

} // namespace glim
