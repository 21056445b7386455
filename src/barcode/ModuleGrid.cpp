#include "barcode/ModuleGrid.h"

#include "platform/Units.h"

#include <algorithm>
#include <bit>
#include <cmath>

ModuleGrid::ModuleGrid(int columns, int rows, const QRectF &area)
    : m_columns(std::max(0, columns)), m_rows(std::max(0, rows)), m_area(area)
{
    if (m_columns == 0 || m_rows == 0) {
        m_columns = m_rows = 0;
        return;
    }
    m_wordsPerRow = (m_columns + 63) / 64;
    m_bits.assign(size_t(m_wordsPerRow) * size_t(m_rows), 0);
}

void ModuleGrid::setDark(int x, int y, bool dark)
{
    if (x < 0 || y < 0 || x >= m_columns || y >= m_rows)
        return;
    std::uint64_t &word = m_bits[size_t(y) * size_t(m_wordsPerRow) + size_t(x / 64)];
    const std::uint64_t bit = std::uint64_t(1) << (x % 64);
    word = dark ? (word | bit) : (word & ~bit);
}

bool ModuleGrid::isDark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_columns || y >= m_rows)
        return false;
    return (m_bits[size_t(y) * size_t(m_wordsPerRow) + size_t(x / 64)] >> (x % 64)) & 1u;
}

int ModuleGrid::runEnd(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_columns || y >= m_rows)
        return x;
    const std::uint64_t *row = m_bits.data() + size_t(y) * size_t(m_wordsPerRow);
    const bool dark = isDark(x, y);
    int w = x / 64;
    // Bits of the other shade from x on; the first one ends the run.
    std::uint64_t other = (dark ? ~row[w] : row[w]) & (~std::uint64_t(0) << (x % 64));
    while (other == 0) {
        if (++w == m_wordsPerRow)
            return m_columns;
        other = dark ? ~row[w] : row[w];
    }
    return std::min(m_columns, w * 64 + std::countr_zero(other));
}

int ModuleGrid::darkCount() const
{
    int n = 0;
    for (std::uint64_t w : m_bits)
        n += std::popcount(w);
    return n;
}

QRect ModuleGrid::darkBounds() const
{
    int left = m_columns, right = -1, top = -1, bottom = -1;
    for (int y = 0; y < m_rows; ++y) {
        const std::uint64_t *row = m_bits.data() + size_t(y) * size_t(m_wordsPerRow);
        for (int w = 0; w < m_wordsPerRow; ++w) {
            if (row[w] == 0)
                continue;
            left = std::min(left, w * 64 + std::countr_zero(row[w]));
            for (int last = m_wordsPerRow - 1;; --last) {
                if (row[last] != 0) {
                    right = std::max(right, last * 64 + 63 - std::countl_zero(row[last]));
                    break;
                }
            }
            if (top < 0)
                top = y;
            bottom = y;
            break;
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage ModuleGrid::toImage(QSizeF pictureSize, double dpi) const
{
    if (isEmpty() || !(dpi > 0) || !(pictureSize.width() > 0) || !(pictureSize.height() > 0))
        return {};
    const double k = dpi / Units::PointsPerInch;
    const double w = std::ceil(pictureSize.width() * k - 1e-9),
                 h = std::ceil(pictureSize.height() * k - 1e-9);
    if (!(w >= 1 && h >= 1 && w * h <= 4e8))
        return {};
    QImage image(int(w), int(h), QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    // The module under each pixel centre, column by column worked out once.
    std::vector<int> column(size_t(image.width()), -1);
    for (int px = 0; px < image.width(); ++px) {
        const double x = ((px + 0.5) / k - m_area.left()) / m_area.width() * m_columns;
        if (x >= 0 && x < m_columns)
            column[size_t(px)] = int(x);
    }
    for (int py = 0; py < image.height(); ++py) {
        const double y = ((py + 0.5) / k - m_area.top()) / m_area.height() * m_rows;
        if (!(y >= 0 && y < m_rows))
            continue;
        const int row = int(y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(py));
        for (int px = 0; px < image.width(); ++px) {
            if (column[size_t(px)] >= 0)
                line[px] = isDark(column[size_t(px)], row) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    return image;
}
