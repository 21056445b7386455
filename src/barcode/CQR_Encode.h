// The QR Code encoding engine: segments the bytes into modes, builds the bit stream and the
// Reed-Solomon codewords, lays out the module matrix and picks the mask. One engine per encoding.
#pragma once

#include "CQR_EncodeTables.h"

#include <cstdint>

class CQR_Encode
{
public:
    enum Mode : uint8_t { ModeNumeral = 0, ModeAlphabet = 1, Mode8Bit = 2 };

    CQR_Encode() = default;

    // Builds the symbol; false when the bytes do not fit (or are empty). nVersion 0 picks the
    // smallest version that holds the data; with bAutoExtent false a requested version never grows.
    // ncSource <= 0 takes the bytes up to the terminating zero.
    bool EncodeData(int nLevel, int nVersion, bool bAutoExtent, int nMaskingNo, const char *lpsSource,
                    int ncSource = 0);
    // The version and side EncodeData would give, and the same refusals, without the codewords,
    // the modules or the mask: the size of a symbol is known long before its modules are.
    bool SizeData(int nLevel, int nVersion, bool bAutoExtent, const char *lpsSource, int ncSource = 0);

    // Most characters of one mode a version and level hold (ECI header counted when asked).
    static int capacity(int version, int level, Mode mode, bool withEci);
    // The single mode that covers the whole text (8-bit when empty).
    static Mode Get_Encoding_Mode(const uint8_t *lpsSource, int ncLength);
    static bool needsEci(const uint8_t *lpsSource, int ncLength);

    int symbolSize() const { return m_nSymbleSize; }
    int version() const { return m_nVersion; }
    int maskingNo() const { return m_nMaskingNo; }
    bool isDark(int x, int y) const { return m_byModuleData[x][y] & 1; }

    static bool IsNumeralData(uint8_t c) { return c >= '0' && c <= '9'; }
    static bool IsAlphabetData(uint8_t c);
    static int AlphabetToBinaly(uint8_t c);
    static int GetBitLength(Mode nMode, int ncData, int nVerGroup);

    // The penalty of the current matrix; public so that tests can score a known pattern.
    int CountPenalty() const;

private:
    int GetEncodeVersion(int nVersion, const uint8_t *lpsSource, int ncLength);
    bool EncodeSourceData(const uint8_t *lpsSource, int ncLength, int nVerGroup);
    void splitIntoRuns(const uint8_t *lpsSource, int ncLength);
    void joinNumeralAndAlphabetRuns(int nVerGroup);
    void joinEightBitRuns(int nVerGroup);
    bool writeRuns(const uint8_t *lpsSource, int nVerGroup);
    int runBits(int run, int nVerGroup) const;
    int SetBitStream(int nIndex, uint16_t wData, int ncData);
    void GetRSCodeWord(uint8_t *lpbyRSWork, int ncDataCodeWord, int ncRSCodeWord) const;
    void joinBlocks(int into, int from);

    void FormatModule();
    void SetFunctionModule();
    void SetFinderPattern(int x, int y);
    void SetAlignmentPattern(int x, int y);
    void SetVersionPattern();
    void SetCodeWordPattern();
    void SetMaskingPattern(int nPatternNo);
    void SetFormatInfoPattern(int nPatternNo);
    void setFunction(int x, int y, bool dark);
    bool isFunction(int x, int y) const { return m_byModuleData[x][y] & 0x20; }
    bool moduleDark(int x, int y) const { return m_byModuleData[x][y] & 0x11; }

    static int min(int a, int b) { return a < b ? a : b; }

    int m_nLevel = 0;
    int m_nVersion = 0;
    int m_nMaskingNo = -1;
    int m_nSymbleSize = 0;
    bool m_bEci = false; // bytes outside ASCII: UTF-8 declared through ECI 26
    // The large buffers are left unset: each step writes what it reads first (the matrix is
    // cleared when its patterns are set), and a symbol only sized never touches most of them.
    uint8_t m_byModuleData[QRTables::kMaxSymbolSize][QRTables::kMaxSymbolSize]; // [x][y]

    int m_ncDataCodeWordBit = 0;
    uint8_t m_byDataCodeWord[QRTables::kMaxDataCodeWords]{};

    int m_ncDataBlock = 0;
    uint8_t m_byBlockMode[QRTables::kMaxSourceLength];
    int m_nBlockLength[QRTables::kMaxSourceLength];

    int m_ncAllCodeWord = 0;
    uint8_t m_byAllCodeWord[QRTables::kMaxAllCodeWords];
    uint8_t m_byRSWork[256]{}; // one block: data codewords then its error-correction codewords
};
