// Constant tables of the QR Code symbol: block structure per version and level, alignment
// positions and character count indicator lengths, all read-only.
#pragma once

#include <array>
#include <cstdint>

namespace QRTables
{

constexpr int kMaxVersion = 40;
constexpr int kMaxSymbolSize = 177;
constexpr int kMaxDataCodeWords = 2956; // version 40-L
constexpr int kMaxAllCodeWords = 3706;  // version 40
constexpr int kMaxSourceLength = 7089;  // digits of version 40-L
constexpr int kMaxStreamBits = kMaxDataCodeWords * 8;

// Error-correction codewords per block, by level (L, M, Q, H) and version (index 0 unused).
inline constexpr std::array<std::array<int8_t, 41>, 4> kEccPerBlock = {{
    {-1, 7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {-1, 10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {-1, 13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {-1, 17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
}};

// Number of error-correction blocks, by level and version.
inline constexpr std::array<std::array<int8_t, 41>, 4> kBlockCount = {{
    {-1, 1, 1, 1,  1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7, 8,
     8,  9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {-1, 1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {-1, 1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {-1, 1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
}};

// Character count indicator lengths by version group (1-9, 10-26, 27-40).
inline constexpr int nIndicatorLenNumeral[3] = {10, 12, 14};
inline constexpr int nIndicatorLenAlphabet[3] = {9, 11, 13};
inline constexpr int nIndicatorLen8Bit[3] = {8, 16, 16};

constexpr int symbolSize(int version)
{
    return version * 4 + 17;
}

// Codewords of the whole symbol: the modules left after the function patterns, in bytes.
constexpr int totalCodeWords(int version)
{
    int modules = (16 * version + 128) * version + 64;
    if (version >= 2) {
        const int align = version / 7 + 2;
        modules -= (25 * align - 10) * align - 55;
        if (version >= 7)
            modules -= 36;
    }
    return modules / 8;
}

constexpr int dataCodeWords(int version, int level)
{
    return totalCodeWords(version) - kEccPerBlock[level][version] * kBlockCount[level][version];
}

// Alignment pattern centre coordinates, 6 included; returns how many.
constexpr int alignmentPositions(int version, int (&out)[7])
{
    if (version < 2)
        return 0;
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    out[0] = 6;
    for (int i = count - 1, pos = symbolSize(version) - 7; i >= 1; --i, pos -= step)
        out[i] = pos;
    return count;
}

} // namespace QRTables
