#include "DataMatrixEcc200.h"

#include "barcode/ReedSolomon.h"

#include <array>

namespace
{

// Where each bit of each codeword goes in the mapping matrix (the data regions put together):
// 10 x codeword number (from 1) + bit (1 the most significant); 1 marks a module left dark.
class Placement
{
public:
    Placement(int rows, int columns) : m_rows(rows), m_columns(columns), m_cells(size_t(rows * columns), 0)
    {
        run();
    }
    int at(int row, int column) const { return m_cells[size_t(row * m_columns + column)]; }

private:
    void module(int row, int column, int codeword, int bit)
    {
        if (row < 0) {
            row += m_rows;
            column += 4 - ((m_rows + 4) % 8);
        }
        if (column < 0) {
            column += m_columns;
            row += 4 - ((m_columns + 4) % 8);
        }
        m_cells[size_t(row * m_columns + column)] = 10 * codeword + bit;
    }
    // The usual L-shaped codeword whose last bit sits at (row, column).
    void utah(int row, int column, int codeword)
    {
        module(row - 2, column - 2, codeword, 1);
        module(row - 2, column - 1, codeword, 2);
        module(row - 1, column - 2, codeword, 3);
        module(row - 1, column - 1, codeword, 4);
        module(row - 1, column, codeword, 5);
        module(row, column - 2, codeword, 6);
        module(row, column - 1, codeword, 7);
        module(row, column, codeword, 8);
    }
    // The four corner shapes: bits as (row, column) pairs, negative counting from the far edge.
    void corner(const std::array<std::array<int, 2>, 8> &bits, int codeword)
    {
        for (int b = 0; b < 8; ++b) {
            const int r = bits[size_t(b)][0], c = bits[size_t(b)][1];
            module(r < 0 ? m_rows + r : r, c < 0 ? m_columns + c : c, codeword, b + 1);
        }
    }
    bool empty(int row, int column) const { return m_cells[size_t(row * m_columns + column)] == 0; }
    void run();

    int m_rows, m_columns;
    std::vector<int> m_cells;
};

void Placement::run()
{
    int codeword = 1, row = 4, column = 0;
    const int nr = m_rows, nc = m_columns;
    do {
        if (row == nr && column == 0)
            corner({{{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}}}, codeword++);
        if (row == nr - 2 && column == 0 && nc % 4 != 0)
            corner({{{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}}}, codeword++);
        if (row == nr - 2 && column == 0 && nc % 8 == 4)
            corner({{{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}}}, codeword++);
        if (row == nr + 4 && column == 2 && nc % 8 == 0)
            corner({{{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}}}, codeword++);
        do { // up and to the right
            if (row < nr && column >= 0 && empty(row, column))
                utah(row, column, codeword++);
            row -= 2;
            column += 2;
        } while (row >= 0 && column < nc);
        row += 1;
        column += 3;
        do { // down and to the left
            if (row >= 0 && column < nc && empty(row, column))
                utah(row, column, codeword++);
            row += 2;
            column -= 2;
        } while (row < nr && column >= 0);
        row += 3;
        column += 1;
    } while (row < nr || column < nc);
    // A corner no codeword reached is filled with a fixed pattern.
    if (empty(nr - 1, nc - 1)) {
        m_cells[size_t(nr * nc - 1)] = 1;
        m_cells[size_t(nr * nc - nc - 2)] = 1;
    }
}

// ASCII: two digits in one codeword, other bytes below 128 as themselves plus one, the rest
// behind the upper shift.
void appendAscii(std::vector<int> &out, const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int c = static_cast<unsigned char>(bytes.at(i));
        const bool digit = c >= '0' && c <= '9';
        if (digit && i + 1 < bytes.size() && bytes.at(i + 1) >= '0' && bytes.at(i + 1) <= '9') {
            out.push_back(130 + (c - '0') * 10 + (bytes.at(i + 1) - '0'));
            ++i;
        } else if (c < 128) {
            out.push_back(c + 1);
        } else {
            out.push_back(235);
            out.push_back(c - 127);
        }
    }
}

// Base256: the latch, the length and the bytes, each after the latch scrambled by its position.
void appendBase256(std::vector<int> &out, const QByteArray &bytes)
{
    out.push_back(231);
    std::vector<int> field;
    const int n = int(bytes.size());
    if (n <= 249) {
        field.push_back(n);
    } else {
        field.push_back(n / 250 + 249);
        field.push_back(n % 250);
    }
    for (const char b : bytes)
        field.push_back(static_cast<unsigned char>(b));
    for (const int value : field) {
        const int position = int(out.size()) + 1;
        const int scrambled = value + (149 * position) % 255 + 1;
        out.push_back(scrambled <= 255 ? scrambled : scrambled - 256);
    }
}

} // namespace

const std::vector<DataMatrixEcc200::Size> &DataMatrixEcc200::sizes()
{
    static const std::vector<Size> table = {
        {10, 10, 8, 8, 3, 5, 1},          {12, 12, 10, 10, 5, 7, 1},        {14, 14, 12, 12, 8, 10, 1},
        {16, 16, 14, 14, 12, 12, 1},      {18, 18, 16, 16, 18, 14, 1},      {20, 20, 18, 18, 22, 18, 1},
        {22, 22, 20, 20, 30, 20, 1},      {24, 24, 22, 22, 36, 24, 1},      {26, 26, 24, 24, 44, 28, 1},
        {32, 32, 14, 14, 62, 36, 1},      {36, 36, 16, 16, 86, 42, 1},      {40, 40, 18, 18, 114, 48, 1},
        {44, 44, 20, 20, 144, 56, 1},     {48, 48, 22, 22, 174, 68, 1},     {52, 52, 24, 24, 204, 84, 2},
        {64, 64, 14, 14, 280, 112, 2},    {72, 72, 16, 16, 368, 144, 4},    {80, 80, 18, 18, 456, 192, 4},
        {88, 88, 20, 20, 576, 224, 4},    {96, 96, 22, 22, 696, 272, 4},    {104, 104, 24, 24, 816, 336, 6},
        {120, 120, 18, 18, 1050, 408, 6}, {132, 132, 20, 20, 1304, 496, 8}, {144, 144, 22, 22, 1558, 620, 10},
        {8, 18, 6, 16, 5, 7, 1},          {8, 32, 6, 14, 10, 11, 1},        {12, 26, 10, 24, 16, 14, 1},
        {12, 36, 10, 16, 22, 18, 1},      {16, 36, 14, 16, 32, 24, 1},      {16, 48, 14, 22, 49, 28, 1},
    };
    return table;
}

std::vector<int> DataMatrixEcc200::dataCodewords(const QByteArray &bytes, int eci, Mode mode)
{
    std::vector<int> head{241};
    if (eci <= 126) {
        head.push_back(eci + 1);
    } else if (eci <= 16382) {
        head.push_back((eci - 127) / 254 + 128);
        head.push_back((eci - 127) % 254 + 1);
    } else {
        head.push_back((eci - 16383) / 64516 + 192);
        head.push_back((eci - 16383) / 254 % 254 + 1);
        head.push_back((eci - 16383) % 254 + 1);
    }
    std::vector<int> ascii = head, base256 = head;
    if (mode != Mode::Base256)
        appendAscii(ascii, bytes);
    if (mode != Mode::Ascii)
        appendBase256(base256, bytes);
    if (mode == Mode::Ascii)
        return ascii;
    if (mode == Mode::Base256)
        return base256;
    return ascii.size() <= base256.size() ? ascii : base256;
}

// Pads the data to the size's capacity (129, then pads scrambled by position) and appends the
// check codewords of each block, interleaved as the blocks are.
std::vector<int> DataMatrixEcc200::withErrorCorrection(std::vector<int> data, const Size &size)
{
    if (int(data.size()) < size.dataCodewords)
        data.push_back(129);
    while (int(data.size()) < size.dataCodewords) {
        const int position = int(data.size()) + 1;
        const int pad = 129 + (149 * position) % 253 + 1;
        data.push_back(pad <= 254 ? pad : pad - 254);
    }
    const int blocks = size.blocks;
    const int eccPerBlock = size.eccCodewords / blocks;
    std::vector<int> all = data;
    all.resize(size_t(size.dataCodewords + size.eccCodewords), 0);
    for (int b = 0; b < blocks; ++b) {
        std::vector<uint8_t> block;
        for (int i = b; i < size.dataCodewords; i += blocks)
            block.push_back(uint8_t(data[size_t(i)]));
        const std::vector<uint8_t> ecc = ReedSolomon::dataMatrix().checkCodewords(block, eccPerBlock);
        for (int j = 0; j < eccPerBlock; ++j)
            all[size_t(size.dataCodewords + b + j * blocks)] = ecc[size_t(j)];
    }
    return all;
}

// The grid as DataMatrixSymbol keeps it (row 0 the bottom row): each data region in its finder
// pattern, solid on the left and at the bottom, alternating at the top and on the right.
QByteArray DataMatrixEcc200::moduleGrid(const std::vector<int> &codewords, const Size &size)
{
    const int regionsDown = (size.rows) / (size.regionRows + 2);
    const int regionsAcross = size.columns / (size.regionColumns + 2);
    const Placement placement(size.regionRows * regionsDown, size.regionColumns * regionsAcross);
    QByteArray grid(size.rows * size.columns, 0);
    auto set = [&](int x, int yFromTop, bool dark) {
        grid[(size.rows - 1 - yFromTop) * size.columns + x] = dark ? 1 : 0;
    };
    const int cellW = size.regionColumns + 2, cellH = size.regionRows + 2;
    for (int y = 0; y < size.rows; ++y) {
        for (int x = 0; x < size.columns; ++x) {
            const int rx = x % cellW, ry = y % cellH;
            if (rx == 0 || ry == cellH - 1) {
                set(x, y, true);
            } else if (ry == 0) {
                set(x, y, rx % 2 == 0);
            } else if (rx == cellW - 1) {
                set(x, y, ry % 2 == 1);
            } else {
                const int v = placement.at(ry - 1 + (y / cellH) * size.regionRows,
                                           rx - 1 + (x / cellW) * size.regionColumns);
                const int codeword = v / 10, bit = v % 10;
                set(x, y,
                    v == 1 || (codeword > 0 && (codewords[size_t(codeword - 1)] & (0x80 >> (bit - 1)))));
            }
        }
    }
    return grid;
}

DataMatrixSymbol DataMatrixEcc200::encode(const QByteArray &bytes, int eci, int rows, int columns, Mode mode)
{
    DataMatrixSymbol symbol;
    symbol.value = bytes;
    const std::vector<int> data = dataCodewords(bytes, eci, mode);
    symbol.encodedBytes = int(data.size());
    const Size *chosen = nullptr;
    for (const Size &s : sizes()) {
        const bool asked = rows > 0 ? s.rows == rows && s.columns == columns : s.rows == s.columns;
        if (!asked)
            continue;
        symbol.capacity = s.dataCodewords;
        symbol.eccBytes = s.eccCodewords;
        if (s.dataCodewords >= int(data.size())) {
            chosen = &s;
            break;
        }
    }
    if (!chosen)
        return symbol;
    symbol.width = chosen->columns;
    symbol.height = chosen->rows;
    symbol.grid = moduleGrid(withErrorCorrection(data, *chosen), *chosen);
    return symbol;
}
