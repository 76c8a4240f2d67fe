#include "imaging/ByteTable.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define GLIM_TABLE_WITH_VECTORS 1
#endif

namespace glim {

namespace {

using Byte = std::uint8_t;

void mapPlain(const Byte* __restrict source, Byte* __restrict target, std::size_t count,
              const Byte* table) {
    for (std::size_t i = 0; i < count; ++i)
        target[i] = table[source[i]];
}

void mapComponentPlain(const ConstPixelRows& s, const PixelRows& t, int first, const Byte* table) {
    const std::ptrdiff_t stride = s.stride();
    for (int y = 0; y < s.rows(); ++y) {
        const Byte* __restrict in = s.row(y);
        Byte* __restrict out = t.row(y);
        for (std::ptrdiff_t x = first; x < stride; x += 3)
            out[x] = table[in[x]];
    }
}

#ifdef GLIM_TABLE_WITH_VECTORS
// A 256-entry lookup 32 bytes at a time: the table is cut into sixteen rows of sixteen
// entries, each held in a register; the low half of a byte picks the entry within every row
// (one shuffle per row), and the high half picks the row.
__attribute__((target("avx2"))) std::size_t mapAvx2(const Byte* source, Byte* target,
                                                    std::size_t count, const Byte* table) {
    __m256i rows[16];
    for (int k = 0; k < 16; ++k)
        rows[k] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(table + 16 * k)));
    const __m256i lowHalf = _mm256_set1_epi8(0x0F);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i column = _mm256_and_si256(bytes, lowHalf);
        const __m256i row = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), lowHalf);
        __m256i result = _mm256_shuffle_epi8(rows[0], column);
        for (int k = 1; k < 16; ++k) {
            const __m256i inRow = _mm256_cmpeq_epi8(row, _mm256_set1_epi8(char(k)));
            result = _mm256_blendv_epi8(result, _mm256_shuffle_epi8(rows[k], column), inRow);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), result);
    }
    return i;
}

// With AVX-512 VBMI the whole table fits in four registers of 64 entries: one two-register
// byte permute looks 64 bytes up among 128 entries by their low seven bits, and the top bit of
// each byte picks the lower or the upper half's result.
#define GLIM_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

struct TableInRegisters {
    __m512i quarter[4];
};

GLIM_VBMI inline TableInRegisters loadTable(const Byte* table) {
    TableInRegisters registers;
    for (int k = 0; k < 4; ++k)
        registers.quarter[k] = _mm512_loadu_si512(table + 64 * k);
    return registers;
}

GLIM_VBMI inline __m512i lookUp(const TableInRegisters& table, __m512i bytes) {
    const __m512i lower = _mm512_permutex2var_epi8(table.quarter[0], bytes, table.quarter[1]);
    const __m512i upper = _mm512_permutex2var_epi8(table.quarter[2], bytes, table.quarter[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), lower, upper);
}

// The first n of 64 bytes, for the masked loads and stores of a tail: masked-off bytes are
// neither read nor written, so a tail never reaches past the picture.
inline __mmask64 firstBytes(std::size_t n) {
    return n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1;
}

GLIM_VBMI void mapVbmi(const Byte* source, Byte* target, std::size_t count, const Byte* table) {
    const TableInRegisters registers = loadTable(table);
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64)
        _mm512_storeu_si512(target + i, lookUp(registers, _mm512_loadu_si512(source + i)));
    if (i < count) {
        const __mmask64 rest = firstBytes(count - i);
        _mm512_mask_storeu_epi8(target + i, rest,
                                lookUp(registers, _mm512_maskz_loadu_epi8(rest, source + i)));
    }
}

// Every byte of a row is looked up, and the store mask keeps the component's bytes only, so
// that the two other components of the target stay as they are. As 64 = 3 x 21 + 1, the
// component's pattern moves on by one byte from one block of 64 to the next and comes back
// after three blocks; each row starts on the first pattern.
GLIM_VBMI void mapComponentVbmi(const ConstPixelRows& s, const PixelRows& t, int first,
                                const Byte* table) {
    __mmask64 pattern[3] = {0, 0, 0};
    for (int block = 0; block < 3; ++block)
        for (int j = 0; j < 64; ++j)
            if ((64 * block + j) % 3 == first)
                pattern[block] |= __mmask64(1) << j;
    const TableInRegisters registers = loadTable(table);
    const auto stride = std::size_t(s.stride());
    for (int y = 0; y < s.rows(); ++y) {
        const Byte* in = s.row(y);
        Byte* out = t.row(y);
        std::size_t x = 0;
        for (; x + 192 <= stride; x += 192) {
            for (int block = 0; block < 3; ++block) {
                const std::size_t at = x + 64 * std::size_t(block);
                _mm512_mask_storeu_epi8(out + at, pattern[block],
                                        lookUp(registers, _mm512_loadu_si512(in + at)));
            }
        }
        for (int block = 0; x < stride; x += 64, ++block) {
            const __mmask64 rest = firstBytes(stride - x);
            _mm512_mask_storeu_epi8(out + x, pattern[block] & rest,
                                    lookUp(registers, _mm512_maskz_loadu_epi8(rest, in + x)));
        }
    }
}
#endif

} // namespace

void mapThroughTable(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                     const TemPal& temPal, VectorPath path) {
    path = processorRuns(path) ? path : widestVectorPath();
    std::size_t done = 0;
#ifdef GLIM_TABLE_WITH_VECTORS
    if (path >= VectorPath::Avx512Vbmi) {
        mapVbmi(source, target, count, temPal.data());
        return;
    }
    if (path >= VectorPath::Avx2)
        done = mapAvx2(source, target, count, temPal.data());
#endif
    mapPlain(source + done, target + done, count - done, temPal.data());
}

void mapComponent(const ConstPixelRows& s, const PixelRows& t, int first, const TemPal& temPal,
                  VectorPath path) {
    path = processorRuns(path) ? path : widestVectorPath();
#ifdef GLIM_TABLE_WITH_VECTORS
    // Without byte permutes a lookup of every byte costs more than the one by one lookup of
    // every third byte, so the narrower paths take the plain loop.
    if (path >= VectorPath::Avx512Vbmi) {
        mapComponentVbmi(s, t, first, temPal.data());
        return;
    }
#endif
    mapComponentPlain(s, t, first, temPal.data());
}

} // namespace glim
