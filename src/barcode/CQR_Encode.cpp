// The QR Code encoding engine: segments the bytes into modes, builds the bit stream and the
// Reed-Solomon codewords, lays out the module matrix and picks the mask. One engine per encoding.
// This file holds the data side (segments, bit stream, blocks); the matrix side is in
// CQR_EncodeMatrix.cpp.
#include "CQR_Encode.h"

#include "barcode/ReedSolomon.h"

#include <cstring>
#include <vector>

using namespace QRTables;

namespace
{

int versionGroup(int version)
{
    if (version >= 27)
        return 2;
    if (version >= 10)
        return 1;
    return 0;
}

int indicatorLength(CQR_Encode::Mode mode, int group)
{
    switch (mode) {
    case CQR_Encode::ModeNumeral:
        return nIndicatorLenNumeral[group];
    case CQR_Encode::ModeAlphabet:
        return nIndicatorLenAlphabet[group];
    default:
        return nIndicatorLen8Bit[group];
    }
}

// ECI mode indicator and the one-byte designator of UTF-8 (26).
constexpr int kEciBits = 4 + 8;

} // namespace

bool CQR_Encode::IsAlphabetData(uint8_t c)
{
    return AlphabetToBinaly(c) >= 0;
}

int CQR_Encode::AlphabetToBinaly(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    static constexpr char kSymbols[] = " $%*+-./:";
    for (int i = 0; kSymbols[i]; ++i) {
        if (kSymbols[i] == static_cast<char>(c))
            return 36 + i;
    }
    return -1;
}

int CQR_Encode::GetBitLength(Mode nMode, int ncData, int nVerGroup)
{
    const int header = 4 + indicatorLength(nMode, nVerGroup);
    switch (nMode) {
    case ModeNumeral:
        return header + 10 * (ncData / 3) + (ncData % 3 == 1 ? 4 : ncData % 3 == 2 ? 7 : 0);
    case ModeAlphabet:
        return header + 11 * (ncData / 2) + 6 * (ncData % 2);
    default:
        return header + 8 * ncData;
    }
}

CQR_Encode::Mode CQR_Encode::Get_Encoding_Mode(const uint8_t *lpsSource, int ncLength)
{
    if (ncLength <= 0)
        return Mode8Bit;
    bool alphabet = false;
    for (int i = 0; i < ncLength; ++i) {
        if (IsNumeralData(lpsSource[i]))
            continue;
        if (IsAlphabetData(lpsSource[i]))
            alphabet = true;
        else
            return Mode8Bit;
    }
    return alphabet ? ModeAlphabet : ModeNumeral;
}

bool CQR_Encode::needsEci(const uint8_t *lpsSource, int ncLength)
{
    for (int i = 0; i < ncLength; ++i) {
        if (lpsSource[i] >= 0x80)
            return true;
    }
    return false;
}

int CQR_Encode::capacity(int version, int level, Mode mode, bool withEci)
{
    if (version < 1 || version > kMaxVersion || level < 0 || level > 3)
        return 0;
    const int group = versionGroup(version);
    const int ind = indicatorLength(mode, group);
    const int bits = dataCodeWords(version, level) * 8 - 4 - ind - (withEci ? kEciBits : 0);
    if (bits <= 0)
        return 0;
    int chars = 0;
    switch (mode) {
    case ModeNumeral:
        chars = 3 * (bits / 10) + (bits % 10 >= 7 ? 2 : bits % 10 >= 4 ? 1 : 0);
        break;
    case ModeAlphabet:
        chars = 2 * (bits / 11) + (bits % 11 >= 6 ? 1 : 0);
        break;
    default:
        chars = bits / 8;
        break;
    }
    return min(chars, (1 << ind) - 1);
}

int CQR_Encode::SetBitStream(int nIndex, uint16_t wData, int ncData)
{
    if (nIndex < 0 || nIndex + ncData > kMaxStreamBits)
        return -1;
    for (int i = 0; i < ncData; ++i) {
        if (wData & (1 << (ncData - i - 1)))
            m_byDataCodeWord[(nIndex + i) / 8] |= static_cast<uint8_t>(1 << (7 - ((nIndex + i) % 8)));
    }
    return nIndex + ncData;
}

void CQR_Encode::joinBlocks(int into, int from)
{
    m_nBlockLength[into] += m_nBlockLength[from];
    for (int i = from; i < m_ncDataBlock - 1; ++i) {
        m_byBlockMode[i] = m_byBlockMode[i + 1];
        m_nBlockLength[i] = m_nBlockLength[i + 1];
    }
    --m_ncDataBlock;
}

bool CQR_Encode::EncodeSourceData(const uint8_t *lpsSource, int ncLength, int nVerGroup)
{
    splitIntoRuns(lpsSource, ncLength);
    joinNumeralAndAlphabetRuns(nVerGroup);
    joinEightBitRuns(nVerGroup);
    return writeRuns(lpsSource, nVerGroup);
}

int CQR_Encode::runBits(int run, int nVerGroup) const
{
    return GetBitLength(Mode(m_byBlockMode[run]), m_nBlockLength[run], nVerGroup);
}

void CQR_Encode::splitIntoRuns(const uint8_t *lpsSource, int ncLength)
{
    // Runs of one class. Kanji mode is never used: the bytes are UTF-8, and its Shift JIS test
    // would take pairs of UTF-8 bytes for Kanji and corrupt the text.
    m_ncDataBlock = 0;
    for (int i = 0; i < ncLength; ++i) {
        const uint8_t c = lpsSource[i];
        const Mode mode = IsNumeralData(c) ? ModeNumeral : IsAlphabetData(c) ? ModeAlphabet : Mode8Bit;
        if (m_ncDataBlock == 0 || m_byBlockMode[m_ncDataBlock - 1] != mode) {
            m_byBlockMode[m_ncDataBlock] = mode;
            m_nBlockLength[m_ncDataBlock] = 0;
            ++m_ncDataBlock;
        }
        ++m_nBlockLength[m_ncDataBlock - 1];
    }
}

// First pass: a numeric run next to an alphanumeric one joins it, or an 8-bit neighbour.
void CQR_Encode::joinNumeralAndAlphabetRuns(int nVerGroup)
{
    auto bits = [&](int i) { return runBits(i, nVerGroup); };
    auto bitsAs = [&](Mode mode, int length) { return GetBitLength(mode, length, nVerGroup); };
    int i = 0;
    while (i < m_ncDataBlock - 1) {
        const Mode a = Mode(m_byBlockMode[i]), b = Mode(m_byBlockMode[i + 1]);
        if (!((a == ModeNumeral && b == ModeAlphabet) || (a == ModeAlphabet && b == ModeNumeral))) {
            ++i;
            continue;
        }
        const int together = bitsAs(ModeAlphabet, m_nBlockLength[i] + m_nBlockLength[i + 1]);
        if (bits(i) + bits(i + 1) <= together) {
            ++i;
            continue;
        }
        int front = 0, rear = 0;
        if (i >= 1 && m_byBlockMode[i - 1] == Mode8Bit) {
            front = bitsAs(Mode8Bit, m_nBlockLength[i - 1] + m_nBlockLength[i]) + bits(i + 1);
            if (together + bitsAs(Mode8Bit, m_nBlockLength[i - 1]) < front)
                front = 0;
        }
        if (i < m_ncDataBlock - 2 && m_byBlockMode[i + 2] == Mode8Bit) {
            rear = bits(i) + bitsAs(Mode8Bit, m_nBlockLength[i + 1] + m_nBlockLength[i + 2]);
            if (together + bitsAs(Mode8Bit, m_nBlockLength[i + 2]) < rear)
                rear = 0;
        }
        if (front == 0 && rear == 0) {
            m_byBlockMode[i] = ModeAlphabet;
            joinBlocks(i, i + 1);
            if (i + 1 < m_ncDataBlock && m_byBlockMode[i + 1] == ModeAlphabet)
                joinBlocks(i, i + 1);
            if (i >= 1 && m_byBlockMode[i - 1] == ModeAlphabet)
                joinBlocks(i - 1, i);
        } else if (front != 0 && (rear == 0 || front < rear)) {
            joinBlocks(i - 1, i);
        } else {
            m_byBlockMode[i + 1] = Mode8Bit;
            joinBlocks(i + 1, i + 2);
        }
    }
}

// Second pass: neighbours cheaper as one 8-bit run are joined into one.
void CQR_Encode::joinEightBitRuns(int nVerGroup)
{
    auto bits = [&](int i) { return runBits(i, nVerGroup); };
    auto bitsAs = [&](Mode mode, int length) { return GetBitLength(mode, length, nVerGroup); };
    const int header8 = 4 + nIndicatorLen8Bit[nVerGroup];
    int i = 0;
    while (i < m_ncDataBlock - 1) {
        const int apart = bits(i) + bits(i + 1);
        int joined = bitsAs(Mode8Bit, m_nBlockLength[i] + m_nBlockLength[i + 1]);
        if (i >= 1 && m_byBlockMode[i - 1] == Mode8Bit)
            joined -= header8;
        if (i < m_ncDataBlock - 2 && m_byBlockMode[i + 2] == Mode8Bit)
            joined -= header8;
        if (apart <= joined) {
            ++i;
            continue;
        }
        if (i >= 1 && m_byBlockMode[i - 1] == Mode8Bit) {
            joinBlocks(i - 1, i);
            --i;
        }
        if (i < m_ncDataBlock - 2 && m_byBlockMode[i + 2] == Mode8Bit)
            joinBlocks(i + 1, i + 2);
        m_byBlockMode[i] = Mode8Bit;
        joinBlocks(i, i + 1);
        if (i >= 1)
            --i;
    }
}

// The runs as the bit stream: mode, count and packed data each; false when a count does not fit.
bool CQR_Encode::writeRuns(const uint8_t *lpsSource, int nVerGroup)
{
    std::memset(m_byDataCodeWord, 0, sizeof m_byDataCodeWord);
    int nBit = 0;
    if (m_bEci) {
        nBit = SetBitStream(nBit, 0x7, 4);
        nBit = SetBitStream(nBit, 26, 8);
    }
    int pos = 0;
    for (int b = 0; b < m_ncDataBlock && nBit >= 0; ++b) {
        const Mode mode = Mode(m_byBlockMode[b]);
        const int length = m_nBlockLength[b];
        const int ind = indicatorLength(mode, nVerGroup);
        if (length >= (1 << ind)) {
            nBit = -1; // the count does not fit this group's indicator
            break;
        }
        const uint8_t *p = lpsSource + pos;
        nBit = SetBitStream(nBit, mode == ModeNumeral ? 0x1 : mode == ModeAlphabet ? 0x2 : 0x4, 4);
        nBit = SetBitStream(nBit, static_cast<uint16_t>(length), ind);
        if (mode == ModeNumeral) {
            for (int k = 0; k < length && nBit >= 0; k += 3) {
                const int n = min(3, length - k);
                int value = 0;
                for (int d = 0; d < n; ++d)
                    value = value * 10 + (p[k + d] - '0');
                nBit = SetBitStream(nBit, static_cast<uint16_t>(value), n == 3 ? 10 : n == 2 ? 7 : 4);
            }
        } else if (mode == ModeAlphabet) {
            for (int k = 0; k < length && nBit >= 0; k += 2) {
                if (k + 1 < length) {
                    const int value = AlphabetToBinaly(p[k]) * 45 + AlphabetToBinaly(p[k + 1]);
                    nBit = SetBitStream(nBit, static_cast<uint16_t>(value), 11);
                } else {
                    nBit = SetBitStream(nBit, static_cast<uint16_t>(AlphabetToBinaly(p[k])), 6);
                }
            }
        } else {
            for (int k = 0; k < length && nBit >= 0; ++k)
                nBit = SetBitStream(nBit, p[k], 8);
        }
        pos += length;
    }
    m_ncDataCodeWordBit = nBit;
    return nBit >= 0;
}

int CQR_Encode::GetEncodeVersion(int nVersion, const uint8_t *lpsSource, int ncLength)
{
    static constexpr int kFirst[3] = {1, 10, 27}, kLast[3] = {9, 26, 40};
    for (int group = versionGroup(nVersion); group <= 2; ++group) {
        if (!EncodeSourceData(lpsSource, ncLength, group))
            continue;
        const int bytes = (m_ncDataCodeWordBit + 7) / 8;
        for (int version = kFirst[group]; version <= kLast[group]; ++version) {
            if (dataCodeWords(version, m_nLevel) >= bytes)
                return version;
        }
    }
    return 0;
}

void CQR_Encode::GetRSCodeWord(uint8_t *lpbyRSWork, int ncDataCodeWord, int ncRSCodeWord) const
{
    const std::vector<uint8_t> check =
        ReedSolomon::qrCode().checkCodewords(lpbyRSWork, ncDataCodeWord, ncRSCodeWord);
    std::memcpy(lpbyRSWork + ncDataCodeWord, check.data(), check.size());
}

bool CQR_Encode::SizeData(int nLevel, int nVersion, bool bAutoExtent, const char *lpsSource, int ncSource)
{
    m_nSymbleSize = 0;
    if (!lpsSource || nLevel < 0 || nLevel > 3 || nVersion < 0 || nVersion > kMaxVersion)
        return false;
    m_nLevel = nLevel;
    const int length = ncSource > 0 ? ncSource : static_cast<int>(std::strlen(lpsSource));
    if (length == 0 || length > kMaxSourceLength)
        return false;
    const auto *source = reinterpret_cast<const uint8_t *>(lpsSource);
    m_bEci = needsEci(source, length);

    const int found = GetEncodeVersion(nVersion, source, length);
    if (found == 0)
        return false;
    if (nVersion == 0 || found > nVersion) {
        if (nVersion != 0 && !bAutoExtent)
            return false;
        m_nVersion = found;
    } else {
        m_nVersion = nVersion;
    }
    m_nSymbleSize = QRTables::symbolSize(m_nVersion);
    return true;
}

bool CQR_Encode::EncodeData(int nLevel, int nVersion, bool bAutoExtent, int nMaskingNo, const char *lpsSource,
                            int ncSource)
{
    m_nSymbleSize = 0;
    if (nMaskingNo < -1 || nMaskingNo > 7)
        return false;
    m_nMaskingNo = nMaskingNo;
    if (!SizeData(nLevel, nVersion, bAutoExtent, lpsSource, ncSource))
        return false;

    // Terminator, then pad codewords.
    const int dataCount = dataCodeWords(m_nVersion, m_nLevel);
    const int terminator = min(4, dataCount * 8 - m_ncDataCodeWordBit);
    if (terminator > 0)
        m_ncDataCodeWordBit = SetBitStream(m_ncDataCodeWordBit, 0, terminator);
    for (int i = (m_ncDataCodeWordBit + 7) / 8, k = 0; i < dataCount; ++i, ++k)
        m_byDataCodeWord[i] = (k % 2 == 0) ? 0xEC : 0x11;

    // Blocks: the short ones first, the long ones carry one more data codeword.
    const int total = totalCodeWords(m_nVersion);
    const int blocks = kBlockCount[m_nLevel][m_nVersion];
    const int ecc = kEccPerBlock[m_nLevel][m_nVersion];
    const int shortBlocks = blocks - total % blocks;
    const int shortData = total / blocks - ecc;
    int start = 0;
    for (int b = 0; b < blocks; ++b) {
        const int dataLen = shortData + (b < shortBlocks ? 0 : 1);
        std::memset(m_byRSWork, 0, sizeof m_byRSWork);
        std::memcpy(m_byRSWork, m_byDataCodeWord + start, dataLen);
        for (int j = 0; j < shortData; ++j)
            m_byAllCodeWord[j * blocks + b] = m_byDataCodeWord[start + j];
        if (dataLen > shortData)
            m_byAllCodeWord[blocks * shortData + (b - shortBlocks)] = m_byDataCodeWord[start + shortData];
        GetRSCodeWord(m_byRSWork, dataLen, ecc);
        for (int j = 0; j < ecc; ++j)
            m_byAllCodeWord[dataCount + j * blocks + b] = m_byRSWork[dataLen + j];
        start += dataLen;
    }
    m_ncAllCodeWord = total;
    FormatModule();
    return true;
}
