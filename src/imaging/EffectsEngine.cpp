#include "imaging/EffectsEngine.h"

#include "imaging/ByteTable.h"
#include "imaging/EffectLoops.h"
#include "imaging/PixelRows.h"
#include "platform/Dialogs.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define GLIM_ENGINE_WITH_VECTORS 1
#endif

namespace glim {

namespace {

const QString kOnly24BitText = QStringLiteral(" 24-bit bitmaps only");

// Each routine runs over whole rows in storage order with plain pointer arithmetic, so that
// the compiler can keep the bytes in vector registers; the result is the same as visiting the
// picture column by column, since every byte written depends on the source only.
using Byte = std::uint8_t;

// The invert loop is compiled twice where the compiler can choose at start-up, once for the
// processors with 256-bit vectors and once for any x86-64.
#ifdef GLIM_ENGINE_WITH_VECTORS
#define GLIM_WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define GLIM_WIDE_VECTOR_CLONES
#endif

GLIM_WIDE_VECTOR_CLONES void invertEveryByte(const Byte* __restrict s, Byte* __restrict t,
                                             std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        t[i] = Byte(255 - s[i]);
}

// Byte columns 3 ... stride - 4 and rows 1 ... rows - 2; everything else keeps the target's
// bytes. The right-hand neighbour of the last pixels may be a padding byte. Always inlined into
// the path functions below, so that the compiler vectorises it for each one's instruction set.
__attribute__((always_inline)) inline void blurRows(const ConstPixelRows& s, const PixelRows& t) {
    const std::ptrdiff_t count = s.stride() - 6;
    for (int y = 1; y < s.rows() - 1; ++y) {
        const Byte* __restrict here = s.row(y) + 3;
        const Byte* __restrict below = s.row(y - 1) + 3;
        const Byte* __restrict above = s.row(y + 1) + 3;
        Byte* __restrict out = t.row(y) + 3;
        for (std::ptrdiff_t x = 0; x < count; ++x) {
            const std::uint16_t sum =
                std::uint16_t(here[x - 3] + here[x] + here[x + 3] + below[x] + above[x]);
            out[x] = Byte(sum / 5u);
        }
    }
}

void blurPlain(const ConstPixelRows& s, const PixelRows& t) {
    blurRows(s, t);
}

#ifdef GLIM_ENGINE_WITH_VECTORS
__attribute__((target("avx2"))) void blurAvx2(const ConstPixelRows& s, const PixelRows& t) {
    blurRows(s, t);
}

// The blur 64 bytes at a time in 16 bits: each 128-bit lane's bytes are widened in two halves
// and packed back in the same order. floor(sum / 5) is the high half of sum x 13108 for every
// sum below 16384 (13108 / 65536 exceeds 1/5 by less than 1/(5 x 16384)); a sum is at most
// 5 x 255.
#define GLIM_AVX512BW __attribute__((target("avx512f,avx512bw")))

GLIM_AVX512BW inline __m512i averageOfFive(const __m512i (&part)[5]) {
    const __m512i zero = _mm512_setzero_si512();
    __m512i low = _mm512_unpacklo_epi8(part[0], zero);
    __m512i high = _mm512_unpackhi_epi8(part[0], zero);
    for (int k = 1; k < 5; ++k) {
        low = _mm512_add_epi16(low, _mm512_unpacklo_epi8(part[k], zero));
        high = _mm512_add_epi16(high, _mm512_unpackhi_epi8(part[k], zero));
    }
    const __m512i fifth = _mm512_set1_epi16(13108);
    return _mm512_packus_epi16(_mm512_mulhi_epu16(low, fifth), _mm512_mulhi_epu16(high, fifth));
}

// A block of up to 64 bytes through the mask `take`: bytes outside it are neither read nor
// written, so that nothing before byte column 3 or past byte column stride - 4 is touched.
GLIM_AVX512BW inline void blurMaskedBlock(__mmask64 take, const Byte* here, const Byte* below,
                                          const Byte* above, Byte* out) {
    const __m512i part[5] = {
        _mm512_maskz_loadu_epi8(take, here - 3), _mm512_maskz_loadu_epi8(take, here),
        _mm512_maskz_loadu_epi8(take, here + 3), _mm512_maskz_loadu_epi8(take, below),
        _mm512_maskz_loadu_epi8(take, above)};
    _mm512_mask_storeu_epi8(out, take, averageOfFive(part));
}

GLIM_AVX512BW void blurAvx512(const ConstPixelRows& s, const PixelRows& t) {
    const std::ptrdiff_t count = s.stride() - 6;
    for (int y = 1; y < s.rows() - 1; ++y) {
        const Byte* here = s.row(y) + 3;
        const Byte* below = s.row(y - 1) + 3;
        const Byte* above = s.row(y + 1) + 3;
        Byte* out = t.row(y) + 3;
        // Row y + 1 is the one that comes from memory; the two others were read for the rows
        // before. A first, shorter block brings its reads to a 64-byte boundary, so that each
        // of them fills one cache line instead of spanning two (which made the blur of a
        // 3840 x 2160 picture 10 to 20 % slower).
        const auto misalignment = std::ptrdiff_t(reinterpret_cast<std::uintptr_t>(above) % 64);
        std::ptrdiff_t x = std::min(count, (64 - misalignment) % 64);
        if (x > 0)
            blurMaskedBlock((__mmask64(1) << x) - 1, here, below, above, out);
        for (; x + 64 <= count; x += 64) {
            const __m512i part[5] = {_mm512_loadu_si512(here + x - 3), _mm512_loadu_si512(here + x),
                                     _mm512_loadu_si512(here + x + 3),
                                     _mm512_loadu_si512(below + x), _mm512_loadu_si512(above + x)};
            _mm512_storeu_si512(out + x, averageOfFive(part));
        }
        if (x < count)
            blurMaskedBlock((__mmask64(1) << (count - x)) - 1, here + x, below + x, above + x,
                            out + x);
    }
}
#endif

// Copies a block of rows. Two pictures of one size lie at the same offset within their memory
// pages, and on some processors the C library's string-move path, which it takes for blocks
// of a few KiB up to about the level-2 cache's size, is several times slower for such a pair.
// Pieces of 4 KiB stay below that path; a block of 1 MiB or more goes in one call, above it.
void copyRows(Byte* target, const Byte* source, std::size_t count) {
    constexpr std::size_t kPiece = 4096;
    constexpr std::size_t kWholeBlock = std::size_t(1) << 20;
    if (count >= kWholeBlock) {
        std::memcpy(target, source, count);
        return;
    }
    for (std::size_t done = 0; done < count; done += kPiece)
        std::memcpy(target + done, source + done, std::min(kPiece, count - done));
}

void ripple(const ConstPixelRows& s, const PixelRows& t, const RippleRows& rows) {
    const int last = s.rows() - 1;
    const auto stride = std::size_t(s.stride());
    // Rows beyond the table stay in place; entries outside the picture are pulled in.
    const auto sourceRow = [&](int y) {
        return std::size_t(y) < rows.size() ? std::clamp(rows[std::size_t(y)], 0, last) : y;
    };
    for (int y = 0; y <= last;) {
        const int from = sourceRow(y);
        // A stretch of rows that stay in place (all of them at amplitude 0) is one block.
        int count = 1;
        if (from == y) {
            while (y + count <= last && sourceRow(y + count) == y + count)
                ++count;
        }
        copyRows(t.row(y), s.row(from), stride * std::size_t(count));
        y += count;
    }
}

} // namespace

void blur(const ConstPixelRows& s, const PixelRows& t, VectorPath path) {
    if (s.stride() <= 6)
        return;
    path = processorRuns(path) ? path : widestVectorPath();
#ifdef GLIM_ENGINE_WITH_VECTORS
    if (path >= VectorPath::Avx512Bw) {
        blurAvx512(s, t);
        return;
    }
    if (path >= VectorPath::Avx2) {
        blurAvx2(s, t);
        return;
    }
#endif
    blurPlain(s, t);
}

void doImagePro(const QString& routineToDo, const Picture& source, Picture& target,
                const EffectTables& tables, Dialogs& dialogs) {
    if (target.depth() != 24) {
        dialogs.critical(kOnly24BitText);
        return;
    }
    if (target.format() != QImage::Format_BGR888 || source.format() != QImage::Format_BGR888 ||
        source.size() != target.size() || source.bytesPerLine() != target.bytesPerLine())
        return;

    enum class Routine { None, Tone, Invert, Blur, Ripple, Red, Green, Blue };
    Routine routine = Routine::None;
    if (routineToDo == QLatin1String("Brightness/Contrast"))
        routine = Routine::Tone;
    else if (routineToDo == QLatin1String("Invert"))
        routine = Routine::Invert;
    else if (routineToDo == QLatin1String("Blur"))
        routine = Routine::Blur;
    else if (routineToDo == QLatin1String("HRipple"))
        routine = Routine::Ripple;
    else if (routineToDo == QLatin1String("RGB0"))
        routine = Routine::Red;
    else if (routineToDo == QLatin1String("RGB1"))
        routine = Routine::Green;
    else if (routineToDo == QLatin1String("RGB2"))
        routine = Routine::Blue;
    if (routine == Routine::None)
        return;

    // Holding the source here means that a target sharing its pixels with the source (or
    // being the source) is given memory of its own by bits(), so the routine still reads
    // unedited bytes. Two separate pictures are worked on in place, without a copy.
    const Picture unedited = source;
    const int stride = int(target.bytesPerLine());
    const int rows = target.height();
    const ConstPixelRows s(unedited.constBits(), stride, rows);
    const PixelRows t(target.bits(), stride, rows);
    // QImage keeps its rows back to back, so "every byte" is one run over the whole block.
    const std::size_t all = std::size_t(stride) * std::size_t(rows);
    const VectorPath path = widestVectorPath();

    switch (routine) {
    case Routine::Tone:
        mapThroughTable(s.row(0), t.row(0), all, tables.temPal, path);
        break;
    case Routine::Invert:
        invertEveryByte(s.row(0), t.row(0), all);
        break;
    case Routine::Blur:
        blur(s, t, path);
        break;
    case Routine::Ripple:
        ripple(s, t, tables.rippleRows);
        break;
    case Routine::Red:
        mapComponent(s, t, 2, tables.temPal, path);
        break;
    case Routine::Green:
        mapComponent(s, t, 1, tables.temPal, path);
        break;
    case Routine::Blue:
        mapComponent(s, t, 0, tables.temPal, path);
        break;
    case Routine::None:
        break;
    }
}

} // namespace glim
