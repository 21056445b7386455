// A square grid of QR Code modules, one byte per module (1 dark, 0 light).
// Carries the encoder's result to the renderer; unrelated to the Data Matrix symbology.
#pragma once

#include <QString>

#include <vector>

class DataMatrix
{
public:
    DataMatrix() = default;
    explicit DataMatrix(int dimension) { initWith(dimension); }

    // Resizes to dimension x dimension light modules (a negative size counts as 0).
    void initWith(int dimension);
    // Out-of-range coordinates are ignored by set() and read as light by valueAt().
    void set(int value, int x, int y);
    int valueAt(int x, int y) const;
    bool isDark(int x, int y) const { return valueAt(x, y) != 0; }
    int dimension() const { return m_dimension; }
    bool isEmpty() const { return m_dimension == 0; }
    // One line per row from row 0, each cell as a decimal digit, every line ended by a line feed.
    QString description() const;

    bool operator==(const DataMatrix &other) const = default;

private:
    int m_dimension = 0;
    std::vector<signed char> m_data; // row-major: y * dimension + x
};
