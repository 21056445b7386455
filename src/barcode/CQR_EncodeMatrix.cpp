// The QR Code encoding engine, matrix side: function patterns, codeword placement, masks,
// format and version information and the penalty score that chooses the mask.
#include "CQR_Encode.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

using namespace QRTables;

namespace
{

// Flags of a module while the matrix is built.
constexpr uint8_t kFunction = 0x20;
constexpr uint8_t kFunctionDark = 0x10;
constexpr uint8_t kData = 0x02;
constexpr uint8_t kMasked = 0x01;

int bchRemainder(int value, int dataBits, int generator, int generatorBits)
{
    int rem = value << (generatorBits - 1);
    for (int bit = dataBits + generatorBits - 2; bit >= generatorBits - 1; --bit) {
        if (rem & (1 << bit))
            rem ^= generator << (bit - generatorBits + 1);
    }
    return rem;
}

bool maskCondition(int pattern, int x, int y)
{
    switch (pattern) {
    case 0:
        return (x + y) % 2 == 0;
    case 1:
        return y % 2 == 0;
    case 2:
        return x % 3 == 0;
    case 3:
        return (x + y) % 3 == 0;
    case 4:
        return (y / 2 + x / 3) % 2 == 0;
    case 5:
        return (x * y) % 2 + (x * y) % 3 == 0;
    case 6:
        return ((x * y) % 2 + (x * y) % 3) % 2 == 0;
    default:
        return ((x + y) % 2 + (x * y) % 3) % 2 == 0;
    }
}

} // namespace

void CQR_Encode::setFunction(int x, int y, bool dark)
{
    m_byModuleData[x][y] = kFunction | (dark ? kFunctionDark : 0);
}

void CQR_Encode::SetFinderPattern(int x, int y)
{
    for (int dy = 0; dy < 7; ++dy) {
        for (int dx = 0; dx < 7; ++dx) {
            const bool ring = dx == 0 || dx == 6 || dy == 0 || dy == 6;
            const bool core = dx >= 2 && dx <= 4 && dy >= 2 && dy <= 4;
            setFunction(x + dx, y + dy, ring || core);
        }
    }
}

void CQR_Encode::SetAlignmentPattern(int x, int y)
{
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx)
            setFunction(x + dx, y + dy, std::max(std::abs(dx), std::abs(dy)) != 1);
    }
}

void CQR_Encode::SetVersionPattern()
{
    if (m_nVersion < 7)
        return;
    const int bits = (m_nVersion << 12) | bchRemainder(m_nVersion, 6, 0x1F25, 13);
    for (int k = 0; k < 18; ++k) {
        const bool dark = (bits >> k) & 1;
        const int a = k / 3, b = m_nSymbleSize - 11 + k % 3;
        setFunction(a, b, dark);
        setFunction(b, a, dark);
    }
}

void CQR_Encode::SetFunctionModule()
{
    const int size = m_nSymbleSize;
    std::memset(m_byModuleData, 0, sizeof m_byModuleData);

    SetFinderPattern(0, 0);
    SetFinderPattern(size - 7, 0);
    SetFinderPattern(0, size - 7);
    for (int i = 0; i < 8; ++i) {
        setFunction(7, i, false);
        setFunction(i, 7, false);
        setFunction(size - 8, i, false);
        setFunction(size - 8 + i, 7, false);
        setFunction(7, size - 8 + i, false);
        setFunction(i, size - 8, false);
    }
    // Format areas, reserved light until the format information is written.
    for (int i = 0; i < 9; ++i) {
        setFunction(8, i, false);
        setFunction(i, 8, false);
    }
    for (int i = 0; i < 8; ++i) {
        setFunction(size - 8 + i, 8, false);
        setFunction(8, size - 8 + i, false);
    }
    SetVersionPattern();

    int positions[7] = {};
    const int count = alignmentPositions(m_nVersion, positions);
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            if (!isFunction(positions[i], positions[j]))
                SetAlignmentPattern(positions[i], positions[j]);
        }
    }
    for (int i = 8; i <= size - 9; ++i) {
        if (!isFunction(i, 6))
            setFunction(i, 6, i % 2 == 0);
        if (!isFunction(6, i))
            setFunction(6, i, i % 2 == 0);
    }
}

void CQR_Encode::SetCodeWordPattern()
{
    const int size = m_nSymbleSize;
    const int totalBits = m_ncAllCodeWord * 8;
    int bit = 0;
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5; // the vertical timing column is skipped
        const bool upward = ((right + 1) & 2) == 0;
        for (int vert = 0; vert < size; ++vert) {
            const int y = upward ? size - 1 - vert : vert;
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                if (isFunction(x, y))
                    continue;
                if (bit < totalBits && (m_byAllCodeWord[bit >> 3] >> (7 - (bit & 7))) & 1)
                    m_byModuleData[x][y] |= kData;
                ++bit;
            }
        }
    }
}

void CQR_Encode::SetMaskingPattern(int nPatternNo)
{
    for (int x = 0; x < m_nSymbleSize; ++x) {
        for (int y = 0; y < m_nSymbleSize; ++y) {
            uint8_t &cell = m_byModuleData[x][y];
            if (cell & kFunction)
                continue;
            const bool data = cell & kData;
            cell = static_cast<uint8_t>((cell & ~kMasked) |
                                        ((data != maskCondition(nPatternNo, x, y)) ? kMasked : 0));
        }
    }
}

void CQR_Encode::SetFormatInfoPattern(int nPatternNo)
{
    static constexpr int kLevelBits[4] = {1, 0, 3, 2}; // L, M, Q, H
    const int data = (kLevelBits[m_nLevel] << 3) | nPatternNo;
    const int bits = ((data << 10) | bchRemainder(data, 5, 0x537, 11)) ^ 0x5412;
    const int size = m_nSymbleSize;
    auto bit = [bits](int i) { return ((bits >> i) & 1) != 0; };

    for (int i = 0; i <= 5; ++i)
        setFunction(8, i, bit(i));
    setFunction(8, 7, bit(6));
    setFunction(8, 8, bit(7));
    setFunction(7, 8, bit(8));
    for (int i = 9; i < 15; ++i)
        setFunction(14 - i, 8, bit(i));
    for (int i = 0; i < 8; ++i)
        setFunction(size - 1 - i, 8, bit(i));
    for (int i = 8; i < 15; ++i)
        setFunction(8, size - 15 + i, bit(i));
    setFunction(8, size - 8, true);
}

int CQR_Encode::CountPenalty() const
{
    const int size = m_nSymbleSize;
    int penalty = 0;
    // line(k, i): module i of row k (horizontal) or column k (vertical).
    for (int dir = 0; dir < 2; ++dir) {
        auto dark = [&](int k, int i) { return dir == 0 ? moduleDark(i, k) : moduleDark(k, i); };
        auto lightOrOut = [&](int k, int i) { return i < 0 || i >= size || !dark(k, i); };
        for (int k = 0; k < size; ++k) {
            int run = 1;
            for (int i = 1; i <= size; ++i) {
                if (i < size && dark(k, i) == dark(k, i - 1)) {
                    ++run;
                    continue;
                }
                if (run >= 5)
                    penalty += run - 2;
                run = 1;
            }
            for (int i = 0; i + 7 <= size; ++i) {
                if (!(dark(k, i) && !dark(k, i + 1) && dark(k, i + 2) && dark(k, i + 3) && dark(k, i + 4) &&
                      !dark(k, i + 5) && dark(k, i + 6)))
                    continue;
                if (!lightOrOut(k, i - 1) || !lightOrOut(k, i + 7))
                    continue;
                bool before = true, after = true;
                for (int d = 1; d <= 4; ++d) {
                    before = before && lightOrOut(k, i - d);
                    after = after && lightOrOut(k, i + 6 + d);
                }
                if (before || after)
                    penalty += 40;
            }
        }
    }
    int darkCount = 0;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            const bool d = moduleDark(x, y);
            darkCount += d;
            if (x + 1 < size && y + 1 < size && d == moduleDark(x + 1, y) && d == moduleDark(x, y + 1) &&
                d == moduleDark(x + 1, y + 1))
                penalty += 3;
        }
    }
    const int all = size * size;
    const int lightPercent = all ? 100 * (all - darkCount) / all : 0;
    penalty += 10 * (std::abs(50 - lightPercent) / 5);
    return penalty;
}

void CQR_Encode::FormatModule()
{
    SetFunctionModule();
    SetCodeWordPattern();
    if (m_nMaskingNo == -1) {
        int best = 0, bestPenalty = INT_MAX;
        for (int pattern = 0; pattern < 8; ++pattern) {
            SetMaskingPattern(pattern);
            SetFormatInfoPattern(pattern);
            const int penalty = CountPenalty();
            if (penalty < bestPenalty) {
                bestPenalty = penalty;
                best = pattern;
            }
        }
        m_nMaskingNo = best;
    }
    SetMaskingPattern(m_nMaskingNo);
    SetFormatInfoPattern(m_nMaskingNo);
    for (int x = 0; x < m_nSymbleSize; ++x) {
        for (int y = 0; y < m_nSymbleSize; ++y)
            m_byModuleData[x][y] = moduleDark(x, y) ? 1 : 0;
    }
}
