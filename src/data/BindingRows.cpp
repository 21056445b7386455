#include "data/BindingRows.h"

#include <algorithm>
#include <new>

bool BindingRows::has(qsizetype row, int column) const
{
    if (row < 0 || row >= m_size || column < 0 || column >= m_columns.size())
        return false;
    return m_columns.at(column).cells.at(row).length != Absent;
}

QStringView BindingRows::view(qsizetype row, int column) const
{
    if (!has(row, column))
        return {};
    const Column &c = m_columns.at(column);
    const Cell cell = c.cells.at(row);
    return QStringView(c.text).sliced(cell.offset, cell.length);
}

QString BindingRows::value(qsizetype row, int column) const
{
    if (!has(row, column))
        return QString();
    return view(row, column).toString();
}

qsizetype BindingRows::cellCount(qsizetype row) const
{
    qsizetype n = 0;
    for (int k = 0; k < m_columns.size(); ++k)
        n += has(row, k) ? 1 : 0;
    return n;
}

BindingRows::Row BindingRows::row(qsizetype row) const
{
    Row out;
    for (int k : m_order) {
        if (has(row, k))
            out.insert(m_columns.at(k).key, value(row, k));
    }
    return out;
}

int BindingRows::addKey(const QString &key)
{
    if (const int found = columnOf(key); found >= 0)
        return found;
    Column column;
    column.key = key;
    column.cells.resize(m_size);
    const int index = int(m_columns.size());
    m_columns.append(column);
    m_index.insert(key, index);
    const auto at =
        std::lower_bound(m_order.cbegin(), m_order.cend(), key,
                         [this](int k, const QString &wanted) { return m_columns.at(k).key < wanted; });
    m_order.insert(at - m_order.cbegin(), index);
    return index;
}

void BindingRows::appendRow()
{
    for (Column &column : m_columns)
        column.cells.append(Cell());
    ++m_size;
}

void BindingRows::appendRow(const Row &row)
{
    appendRow();
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        set(m_size - 1, addKey(it.key()), it.value());
}

void BindingRows::set(qsizetype row, int column, QStringView text)
{
    // Callers pass texts of their own: a view into these rows could move as the column grows.
    if (row < 0 || row >= m_size || column < 0 || column >= m_columns.size())
        return;
    Column &c = m_columns[column];
    Cell &cell = c.cells[row];
    const uint32_t old = cell.length == Absent ? 0 : cell.length;
    if (cell.length != Absent && uint32_t(text.size()) <= cell.length) {
        // Written over the old text: an edit of a long table does not grow it.
        std::copy(text.begin(), text.end(), c.text.data() + cell.offset);
        c.unused += cell.length - text.size();
        cell.length = uint32_t(text.size());
        return;
    }
    if (c.text.size() + text.size() >= qsizetype(Absent))
        throw std::bad_alloc(); // past what an offset counts: 8 GB of one column's texts
    c.unused += old;
    cell.offset = uint32_t(c.text.size());
    cell.length = uint32_t(text.size());
    c.text.append(text);
    if (c.unused > 4096 && c.unused > c.text.size() / 2)
        compact(c);
}

void BindingRows::compact(Column &column)
{
    QString text;
    text.reserve(column.text.size() - column.unused);
    for (Cell &cell : column.cells) {
        if (cell.length == Absent)
            continue;
        const qsizetype at = text.size();
        text.append(QStringView(column.text).sliced(cell.offset, cell.length));
        cell.offset = uint32_t(at);
    }
    column.text = text;
    column.unused = 0;
}

void BindingRows::reserve(qsizetype rows)
{
    for (Column &column : m_columns)
        column.cells.reserve(rows);
}

void BindingRows::squeeze()
{
    for (Column &column : m_columns) {
        if (column.unused > 0)
            compact(column);
        column.text.squeeze();
        column.cells.squeeze();
    }
}

bool BindingRows::operator==(const BindingRows &other) const
{
    if (m_size != other.m_size)
        return false;
    if (m_columns.isSharedWith(other.m_columns))
        return true;
    // Each row holds as many keys as the other's, and each of its own with the same text there.
    for (int k = 0; k < m_columns.size(); ++k) {
        const Column &mine = m_columns.at(k);
        const int theirs = other.columnOf(mine.key);
        if (theirs >= 0 && mine.cells.isSharedWith(other.m_columns.at(theirs).cells) &&
            mine.text.isSharedWith(other.m_columns.at(theirs).text))
            continue;
        for (qsizetype r = 0; r < m_size; ++r) {
            if (has(r, k) && (!other.has(r, theirs) || view(r, k) != other.view(r, theirs)))
                return false;
        }
    }
    for (qsizetype r = 0; r < m_size; ++r) {
        if (cellCount(r) != other.cellCount(r))
            return false;
    }
    return true;
}
