// PDF417 encoder: chooses segments and compaction modes, the symbol shape and the error level,
// computes the error-correction codewords and paints the symbol as one bit row per symbol row.
// This file holds the symbol stage: level, shape, error correction and painting.
#include "PDF417Encoder.h"

#include "PDF417Tables.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kMaxTextBytes = 5420;

// Generator polynomial (x - 3)(x - 3^2)...(x - 3^k) over GF(929), highest power first, monic.
std::vector<int> generatorPolynomial(int k)
{
    std::vector<int> g{1};
    int root = 1;
    for (int i = 1; i <= k; ++i) {
        root = root * 3 % 929;
        std::vector<int> next(g.size() + 1, 0);
        for (size_t j = 0; j < g.size(); ++j) {
            next[j] = (next[j] + g[j]) % 929;
            next[j + 1] = (next[j + 1] + 929 - g[j] * root % 929) % 929;
        }
        g.swap(next);
    }
    return g;
}

} // namespace

void PDF417Encoder::pdf417init(PDF417Param &p)
{
    p.options = 0;
    p.outBits.clear();
    p.lenBits = 0;
    p.error = 0;
    p.lenText = -1;
    p.text.clear();
    p.yHeight = 3.0f;
    p.aspectRatio = 0.5f;
    p.eci = -1;
}

void PDF417Encoder::pdf417free(PDF417Param &p)
{
    p.outBits.clear();
    p.lenBits = 0;
}

int PDF417Encoder::maxPossibleErrorLevel(int n)
{
    for (int level = 8; level > 0; --level) {
        if (n >= (1 << (level + 1)))
            return level;
    }
    return 0;
}

bool PDF417Encoder::bitAt(const PDF417Param &p, int column, int row)
{
    if (column < 0 || row < 0 || column >= p.bitColumns || row >= p.codeRows || p.codeRows <= 0)
        return false;
    const int bytesPerRow = p.lenBits / p.codeRows;
    const int index = row * bytesPerRow + column / 8;
    if (index >= p.outBits.size())
        return false;
    return (static_cast<unsigned char>(p.outBits.at(index)) >> (7 - column % 8)) & 1;
}

void PDF417Encoder::getMaxSquare(PDF417Param &p)
{
    if (p.codeColumns < 22) {
        p.codeColumns = 16;
        p.codeRows = 58;
    } else {
        p.codeColumns = 29;
        p.codeRows = 32;
    }
}

void PDF417Encoder::calculateErrorCorrection(int dest)
{
    const int k = 1 << (m_p.errorLevel + 1);
    const std::vector<int> g = generatorPolynomial(k);
    std::vector<int> rem(k, 0);
    // Remainder of data(x) x^k divided by g(x); the codewords are its negatives.
    for (int i = 0; i < dest; ++i) {
        const int factor = (m_p.codewords[i] + rem[0]) % 929;
        for (int j = 0; j < k - 1; ++j)
            rem[j] = (rem[j + 1] + 929 - factor * g[j + 1] % 929) % 929;
        rem[k - 1] = (929 - factor * g[k] % 929) % 929;
    }
    for (int j = 0; j < k; ++j)
        m_p.codewords[dest + j] = (929 - rem[j]) % 929;
}

void PDF417Encoder::outBits(int pattern, int count)
{
    auto *bits = reinterpret_cast<unsigned char *>(m_p.outBits.data());
    for (int i = 0; i < count; ++i, ++m_bitPtr) {
        if (pattern & (1 << (count - 1 - i)))
            bits[m_bitPtr / 8] |= static_cast<unsigned char>(0x80 >> (m_bitPtr % 8));
    }
}

void PDF417Encoder::outPaintCode()
{
    const int rows = m_p.codeRows, columns = m_p.codeColumns, level = m_p.errorLevel;
    m_p.bitColumns = 17 * (columns + 3) + 18;
    const int bytesPerRow = (m_p.bitColumns - 1) / 8 + 1;
    m_p.lenBits = bytesPerRow * rows;
    m_p.outBits = QByteArray(m_p.lenBits, '\0');
    int codePtr = 0;
    for (int row = 0; row < rows; ++row) {
        m_bitPtr = bytesPerRow * 8 * row;
        const int k = (row / 3) * 30;
        int left = 0, right = 0;
        switch (row % 3) {
        case 0:
            left = k + (rows - 1) / 3;
            right = k + columns - 1;
            break;
        case 1:
            left = k + level * 3 + (rows - 1) % 3;
            right = k + (rows - 1) / 3;
            break;
        default:
            left = k + columns - 1;
            right = k + level * 3 + (rows - 1) % 3;
            break;
        }
        const int *cluster = PDF417Tables::CLUSTERS[row % 3];
        outBits(PDF417Tables::START_PATTERN, 17);
        outBits(cluster[left], 17);
        for (int column = 0; column < columns; ++column)
            outBits(cluster[m_p.codewords[codePtr++]], 17);
        outBits(cluster[right], 17);
        outBits(PDF417Tables::STOP_PATTERN, 18);
    }
    if (m_p.options & PDF417Param::InvertBits) {
        for (char &byte : m_p.outBits)
            byte = static_cast<char>(~byte);
    }
}

void PDF417Encoder::paintCode(PDF417Param &p)
{
    PDF417Encoder encoder(p);
    p.error = PDF417Param::ErrorNone;
    p.outBits.clear();
    p.lenBits = 0;
    if (!encoder.loadCodewords())
        return;
    chooseErrorLevel(p);
    int total = p.lenCodewords + (1 << (p.errorLevel + 1));
    chooseShape(p, total);
    total = p.codeRows * p.codeColumns;
    if (total > 928) {
        getMaxSquare(p);
        total = 928;
    }

    // The level rises to fill the symbol; pad codewords fill the rest of the data.
    p.errorLevel = maxPossibleErrorLevel(total - p.lenCodewords);
    const int eccCount = 1 << (p.errorLevel + 1);
    const int pads = total - eccCount - p.lenCodewords;
    for (int i = 0; i < pads; ++i)
        p.codewords[p.lenCodewords + i] = 900;
    p.codewords[0] = p.lenCodewords + pads;
    encoder.calculateErrorCorrection(p.codewords[0]);
    p.lenCodewords = total;
    encoder.outPaintCode();
}

// The data codewords, checked when the caller gave them, else compacted from the text; false (with
// the error set) when there are none to draw.
bool PDF417Encoder::loadCodewords()
{
    PDF417Param &p = m_p;
    if (p.options & PDF417Param::RawCodewords) {
        if (p.lenCodewords < 1 || p.lenCodewords > PDF417Tables::MAX_DATA_CODEWORDS ||
            p.lenCodewords != p.codewords[0]) {
            p.error = PDF417Param::ErrorInvalidParams;
            return false;
        }
        for (int i = 1; i < p.lenCodewords; ++i) {
            if (p.codewords[i] < 0 || p.codewords[i] > 928) {
                p.error = PDF417Param::ErrorInvalidParams;
                return false;
            }
        }
    } else {
        const int length = p.lenText < 0 ? static_cast<int>(p.text.size())
                                         : std::min(p.lenText, static_cast<int>(p.text.size()));
        if (length > kMaxTextBytes) {
            p.error = PDF417Param::ErrorTextTooBig;
            return false;
        }
        if (length == 0 || p.eci > 899) {
            p.error = PDF417Param::ErrorInvalidParams;
            return false;
        }
        if (p.eci >= 0) {
            p.codewords[m_cwPtr++] = 927;
            p.codewords[m_cwPtr++] = p.eci;
        }
        assemble(breakString(p.text, length));
        if (p.error)
            return false;
        p.lenCodewords = m_cwPtr;
        p.codewords[0] = m_cwPtr;
    }
    return true;
}

void PDF417Encoder::chooseErrorLevel(PDF417Param &p)
{
    if (!(p.options & PDF417Param::UseErrorLevel)) {
        if (p.lenCodewords < 41)
            p.errorLevel = 2;
        else if (p.lenCodewords < 161)
            p.errorLevel = 3;
        else if (p.lenCodewords < 321)
            p.errorLevel = 4;
        else
            p.errorLevel = 5;
    }
    p.errorLevel = std::clamp(p.errorLevel, 0, maxPossibleErrorLevel(928 - p.lenCodewords));
    p.codeColumns = std::clamp(p.codeColumns, 1, 30);
    p.codeRows = std::clamp(p.codeRows, 3, 90);
}

// Rows and columns for total codewords: as given, from the fixed side, or from the aspect ratio.
void PDF417Encoder::chooseShape(PDF417Param &p, int total)
{
    auto rowsFromColumns = [&p](int t) {
        p.codeRows = std::max((t - 1) / p.codeColumns + 1, 3);
        if (p.codeRows > 90) {
            p.codeRows = 90;
            p.codeColumns = (t - 1) / 90 + 1;
        }
    };
    auto columnsFromRows = [&p](int t) {
        p.codeColumns = (t - 1) / p.codeRows + 1;
        if (p.codeColumns > 30) {
            p.codeColumns = 30;
            p.codeRows = (t - 1) / 30 + 1;
        }
    };
    const int shape =
        p.options & (PDF417Param::FixedRectangle | PDF417Param::FixedColumns | PDF417Param::FixedRows);
    if (shape & PDF417Param::FixedRectangle && p.codeColumns * p.codeRows >= total &&
        p.codeColumns * p.codeRows <= 928) {
        // kept as given
    } else if (shape & PDF417Param::FixedRows) {
        columnsFromRows(total);
    } else if (shape & (PDF417Param::FixedColumns | PDF417Param::FixedRectangle)) {
        rowsFromColumns(total);
    } else {
        const double a = std::clamp(static_cast<double>(p.aspectRatio), 0.001, 1000.0);
        const double b = 73 * a - 4;
        const double c = (-b + std::sqrt(b * b + 68 * a * total * p.yHeight)) / (34 * a);
        p.codeColumns = std::clamp(static_cast<int>(c + 0.5), 1, 30);
        rowsFromColumns(total);
    }
}
