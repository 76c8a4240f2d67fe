#pragma once

#include "imaging/EffectLoops.h"
#include "imaging/EffectTables.h"
#include "imaging/PixelRows.h"

#include <cstddef>
#include <cstdint>

namespace glim {

// The table lookups of the tone and channel routines. Each runs the widest path of its own that
// is not wider than `path` and that the processor runs (see imaging/EffectLoops.h).

// target[i] = temPal[source[i]] for `count` bytes: the tone routines' one lookup per byte.
// The two ranges must not overlap.
void mapThroughTable(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                     const TemPal& temPal, VectorPath path);

// One colour component: in every row, bytes x = first, first + 3, ... below the stride (padding
// bytes that fall on the step included) become temPal[source byte]; every other byte of the
// target is left as it is. `first` is 0, 1 or 2; the pictures must not overlap.
void mapComponent(const ConstPixelRows& s, const PixelRows& t, int first, const TemPal& temPal,
                  VectorPath path);

} // namespace glim
