#include "imaging/EffectsEngine.h"

#include "imaging/ByteTable.h"
#include "imaging/PixelRows.h"
#include "platform/Dialogs.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace glim {

namespace {

const QString kOnly24BitText = QStringLiteral(" 24-bit bitmaps only");

// Each routine runs over whole rows in storage order with plain pointer arithmetic, so that
// the compiler can keep the bytes in vector registers; the result is the same as visiting the
// picture column by column, since every byte written depends on the source only.
using Byte = std::uint8_t;

// The loops are compiled twice where the compiler can choose at start-up, once for the
// processors with 256-bit vectors and once for any x86-64.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define GLIM_WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define GLIM_WIDE_VECTOR_CLONES
#endif

GLIM_WIDE_VECTOR_CLONES void invertEveryByte(const Byte* __restrict s, Byte* __restrict t,
                                             std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        t[i] = Byte(255 - s[i]);
}

// One colour component: bytes first, first + 3, ... up to the end of the row, padding bytes
// that fall on the step included.
void mapComponent(const ConstPixelRows& s, const PixelRows& t, int first, const TemPal& temPal) {
    const Byte* table = temPal.data();
    const std::ptrdiff_t stride = s.stride();
    for (int y = 0; y < s.rows(); ++y) {
        const Byte* __restrict in = s.row(y);
        Byte* __restrict out = t.row(y);
        for (std::ptrdiff_t x = first; x < stride; x += 3)
            out[x] = table[in[x]];
    }
}

GLIM_WIDE_VECTOR_CLONES void blur(const ConstPixelRows& s, const PixelRows& t) {
    const std::ptrdiff_t stride = s.stride();
    // Byte columns 3 ... stride - 4 and rows 1 ... rows - 2; everything else keeps the
    // target's bytes. The right-hand neighbour of the last pixels may be a padding byte.
    const std::ptrdiff_t count = stride - 6;
    if (count <= 0)
        return;
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

    switch (routine) {
    case Routine::Tone:
        mapThroughTable(s.row(0), t.row(0), all, tables.temPal);
        break;
    case Routine::Invert:
        invertEveryByte(s.row(0), t.row(0), all);
        break;
    case Routine::Blur:
        blur(s, t);
        break;
    case Routine::Ripple:
        ripple(s, t, tables.rippleRows);
        break;
    case Routine::Red:
        mapComponent(s, t, 2, tables.temPal);
        break;
    case Routine::Green:
        mapComponent(s, t, 1, tables.temPal);
        break;
    case Routine::Blue:
        mapComponent(s, t, 0, tables.temPal);
        break;
    case Routine::None:
        break;
    }
}

} // namespace glim
