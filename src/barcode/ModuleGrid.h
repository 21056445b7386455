// A 2D symbol as its encoder made it: dark and light modules, one bit each, row 0 at the top, and
// the rectangle they fill in the symbol's picture. Pictures keep it and paint it at output size.
#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <cstdint>
#include <vector>

class ModuleGrid
{
public:
    ModuleGrid() = default;
    // columns x rows light modules filling area (points, from the picture's top-left corner).
    ModuleGrid(int columns, int rows, const QRectF &area);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    bool isEmpty() const { return m_columns == 0 || m_rows == 0; }
    QRectF area() const { return m_area; }

    // Out-of-range coordinates are ignored by setDark and read as light by isDark.
    void setDark(int x, int y, bool dark = true);
    bool isDark(int x, int y) const;
    // The end (exclusive) of the run of modules of the same shade as (x, y) on row y.
    int runEnd(int x, int y) const;
    int darkCount() const;
    // The least rectangle of modules holding every dark one; empty when none is dark.
    QRect darkBounds() const;

    // The modules in points of the picture: the left edge of column x and the top edge of row y
    // (x = columns and y = rows give the far edges).
    double columnEdge(int x) const { return m_area.left() + m_area.width() * x / m_columns; }
    double rowEdge(int y) const { return m_area.top() + m_area.height() * y / m_rows; }

    // The picture of pictureSize points at dpi, ceil(points x dpi / 72) pixels a side: dark modules
    // black, light ones white, the rest transparent; each pixel takes the module under its centre.
    QImage toImage(QSizeF pictureSize, double dpi) const;

    bool operator==(const ModuleGrid &other) const = default;

private:
    int m_columns = 0;
    int m_rows = 0;
    int m_wordsPerRow = 0;
    QRectF m_area;
    std::vector<std::uint64_t> m_bits; // row-major, each row padded to whole words
};
