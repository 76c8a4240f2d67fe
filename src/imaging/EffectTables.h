#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace glim {

// `temPal`: entry v is the new value of a byte whose source value is v.
using TemPal = std::array<std::uint8_t, 256>;
// The ripple's row table: entry y is the source row from which target row y is copied.
using RippleRows = std::vector<int>;

// The tables the effects engine works through. The Edit Image dialog keeps them, fills them
// with the builders below from a bar position, and hands them to doImagePro.
struct EffectTables {
    TemPal temPal{};
    RippleRows rippleRows;
};

// Tone factors from a bar position X in pixels; a negative X counts as 0. The gain is 0.2 at
// X = 0 and 1 at X = 50 ln 5; the contrast is 0.05 at X = 0 and 1 at X = 30 ln 20.
float gainFactor(float x);     // e^(X / 50) / 5
float contrastFactor(float x); // e^(X / 30) / 20
// The ripple amplitude X / 4; X is not clamped, so the amplitude may be negative.
float rippleAmplitude(float x);

// temPal[v] = round(min(v x gain, 255)), halves to even.
void buildGainTable(float gain, TemPal& temPal);
// temPal[v] = round((v - 127) x contrast + 127), clamped to 0 ... 255, halves to even.
void buildContrastTable(float contrast, TemPal& temPal);
// One entry for every row of a picture of `rows` rows: round(a x sin(y / 10) + y), clamped to
// 0 ... rows - 1 so that the ripple never reads a row outside the picture. The table keeps its
// capacity between calls, so building it again for the same picture allocates nothing.
void buildRippleTable(float amplitude, int rows, RippleRows& table);

} // namespace glim
