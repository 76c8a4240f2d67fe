#include "imaging/ByteTable.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define GLIM_TABLE_WITH_AVX2 1
#endif

namespace glim {

namespace {

void mapPlain(const std::uint8_t* __restrict source, std::uint8_t* __restrict target,
              std::size_t count, const std::uint8_t* table) {
    for (std::size_t i = 0; i < count; ++i)
        target[i] = table[source[i]];
}

#ifdef GLIM_TABLE_WITH_AVX2
// A 256-entry lookup 32 bytes at a time: the table is cut into sixteen rows of sixteen
// entries, each held in a register; the low half of a byte picks the entry within every row
// (one shuffle per row), and the high half picks the row.
__attribute__((target("avx2"))) std::size_t mapAvx2(const std::uint8_t* source,
                                                    std::uint8_t* target, std::size_t count,
                                                    const std::uint8_t* table) {
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

bool hasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}
#endif

} // namespace

void mapThroughTable(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                     const TemPal& temPal) {
    std::size_t done = 0;
#ifdef GLIM_TABLE_WITH_AVX2
    if (hasAvx2())
        done = mapAvx2(source, target, count, temPal.data());
#endif
    mapPlain(source + done, target + done, count - done, temPal.data());
}

} // namespace glim
