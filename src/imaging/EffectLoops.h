#pragma once

#include "imaging/PixelRows.h"

namespace glim {

// The instruction sets for which the effects engine's loops over whole pictures have paths of
// their own, narrowest first. The engine runs every loop on the widest path the processor has;
// the unit tests run each loop on every path the processor has, so that the narrower paths,
// which other processors take, are checked on this one too. Used inside imaging/ only.
enum class VectorPath {
    Plain,      // any processor: the loops as the compiler vectorises them for plain x86-64
    Avx2,       // 256-bit vectors
    Avx512Bw,   // 512-bit vectors with byte and 16-bit operations
    Avx512Vbmi, // the same, and byte permutes across two registers (128-entry lookups)
};

inline bool processorRuns(VectorPath path) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    switch (path) {
    case VectorPath::Plain:
        return true;
    case VectorPath::Avx2:
        return __builtin_cpu_supports("avx2");
    case VectorPath::Avx512Bw:
        return __builtin_cpu_supports("avx512bw");
    case VectorPath::Avx512Vbmi:
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    }
    return false;
#else
    return path == VectorPath::Plain;
#endif
}

// The widest path processorRuns(), looked up once.
inline VectorPath widestVectorPath() {
    static const VectorPath widest = [] {
        VectorPath path = VectorPath::Avx512Vbmi;
        while (path != VectorPath::Plain && !processorRuns(path))
            path = VectorPath(int(path) - 1);
        return path;
    }();
    return widest;
}

// The blur of doImagePro (EffectsEngine.h) on one path; the table routines' loops are in
// imaging/ByteTable.h. A loop runs the widest path of its own that is not wider than `path`
// and that the processor runs.
void blur(const ConstPixelRows& s, const PixelRows& t, VectorPath path);

} // namespace glim
