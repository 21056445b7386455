#include "output/Adler32.h"

#include <zlib.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace
{
constexpr std::uint32_t Base = 65521;
// The most bytes after which the sums, taken modulo Base only then, still fit 32 bits.
constexpr std::size_t Most = 5552;

// 32 bytes a step: a gains their sum; b gains 32 times a as it stood before them, plus each byte
// weighted by how many of the 32 it comes before the end (32 for the first, 1 for the last).
__attribute__((target("ssse3"))) std::uint32_t vectors(std::uint32_t adler, const unsigned char *data,
                                                       std::size_t length)
{
    constexpr std::size_t Step = 32;
    std::uint32_t a = adler & 0xffff, b = adler >> 16;
    std::size_t steps = length / Step;
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i first = _mm_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17);
    const __m128i second = _mm_setr_epi8(16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
    while (steps > 0) {
        std::size_t n = steps < Most / Step ? steps : Most / Step;
        steps -= n;
        // sumsBefore: a at the start of each step, added up (times 32 at the end).
        __m128i sumsBefore = _mm_setr_epi32(int(a * std::uint32_t(n)), 0, 0, 0);
        __m128i weighted = _mm_setr_epi32(int(b), 0, 0, 0);
        __m128i sums = zero;
        do {
            const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data));
            const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16));
            sumsBefore = _mm_add_epi32(sumsBefore, sums);
            sums = _mm_add_epi32(sums, _mm_add_epi32(_mm_sad_epu8(lo, zero), _mm_sad_epu8(hi, zero)));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_maddubs_epi16(lo, first), ones));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_maddubs_epi16(hi, second), ones));
            data += Step;
        } while (--n > 0);
        weighted = _mm_add_epi32(weighted, _mm_slli_epi32(sumsBefore, 5));
        // The four lanes of each, added.
        sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
        sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
        weighted = _mm_add_epi32(weighted, _mm_shuffle_epi32(weighted, _MM_SHUFFLE(2, 3, 0, 1)));
        weighted = _mm_add_epi32(weighted, _mm_shuffle_epi32(weighted, _MM_SHUFFLE(1, 0, 3, 2)));
        a = (a + std::uint32_t(_mm_cvtsi128_si32(sums))) % Base;
        b = std::uint32_t(_mm_cvtsi128_si32(weighted)) % Base;
    }
    return std::uint32_t(adler32_z((b << 16) | a, data, length % Step));
}
} // namespace
#endif

std::uint32_t Adler32::update(std::uint32_t adler, const unsigned char *data, std::size_t length)
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3)
        return vectors(adler, data, length);
#endif
    return std::uint32_t(adler32_z(adler, data, length)); // zlib's own loop
}
