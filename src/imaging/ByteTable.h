#pragma once

#include "imaging/EffectTables.h"

#include <cstddef>
#include <cstdint>

namespace glim {

// target[i] = temPal[source[i]] for `count` bytes: the tone routines' one lookup per byte.
// The two ranges must not overlap.
void mapThroughTable(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                     const TemPal& temPal);

} // namespace glim
