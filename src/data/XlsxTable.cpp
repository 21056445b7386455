#include "XlsxTable.h"

#include "XlsxText.h"

XlsxTable::XlsxTable(std::shared_ptr<const XlsxStringPool> shared) : m_data(std::make_shared<Data>())
{
    m_data->shared = std::move(shared);
}

QString XlsxTable::cellText(const Cell &cell) const
{
    if (cell.size & kShared)
        return m_data->shared ? m_data->shared->at(qsizetype(cell.offset)) : QString();
    const uint32_t n = cell.size & kSizeMask;
    if (n == 0)
        return {};
    const QString text = QString::fromUtf8(m_data->text.data() + cell.offset, qsizetype(n));
    return (cell.size & kEscaped) ? XlsxText::unescape(text) : text;
}

QString XlsxTable::text(qsizetype row, int column) const
{
    if (row < 0 || row >= size() || column < 0 || column >= m_columns)
        return {};
    const size_t begin = m_data->rowStarts[size_t(row)];
    const size_t end = size_t(row) + 1 < m_data->rowStarts.size() ? m_data->rowStarts[size_t(row) + 1]
                                                                  : m_data->cells.size();
    if (begin + size_t(column) >= end)
        return {};
    return cellText(m_data->cells[begin + size_t(column)]);
}

QStringList XlsxTable::at(qsizetype row) const
{
    QStringList out;
    if (row < 0 || row >= size())
        return out;
    out.reserve(m_columns);
    for (int c = 0; c < m_columns; ++c)
        out.append(text(row, c));
    return out;
}

QList<QStringList> XlsxTable::toList() const
{
    QList<QStringList> rows;
    rows.reserve(size());
    // Each shared string is made once, so that its cells share one QString.
    std::vector<QString> shared(m_data && m_data->shared ? size_t(m_data->shared->size()) : 0);
    std::vector<bool> made(shared.size());
    for (qsizetype r = 0; r < size(); ++r) {
        QStringList row;
        row.reserve(m_columns);
        const size_t begin = m_data->rowStarts[size_t(r)];
        const size_t end = size_t(r) + 1 < m_data->rowStarts.size() ? m_data->rowStarts[size_t(r) + 1]
                                                                    : m_data->cells.size();
        for (int c = 0; c < m_columns; ++c) {
            if (begin + size_t(c) >= end) {
                row.append(QString());
                continue;
            }
            const Cell &cell = m_data->cells[begin + size_t(c)];
            if ((cell.size & kShared) && cell.offset < shared.size()) {
                if (!made[cell.offset]) {
                    shared[cell.offset] = cellText(cell);
                    made[cell.offset] = true;
                }
                row.append(shared[cell.offset]);
            } else {
                row.append(cellText(cell));
            }
        }
        rows.append(row);
    }
    return rows;
}

bool XlsxTable::operator==(const QList<QStringList> &rows) const
{
    if (rows.size() != size())
        return false;
    for (qsizetype r = 0; r < size(); ++r) {
        if (at(r) != rows.at(r))
            return false;
    }
    return true;
}

void XlsxTable::appendRow()
{
    if (!m_data)
        m_data = std::make_shared<Data>();
    m_data->rowStarts.push_back(uint32_t(m_data->cells.size()));
}

int XlsxTable::lastRowWidth() const
{
    if (!m_data || m_data->rowStarts.empty())
        return 0;
    return int(m_data->cells.size() - m_data->rowStarts.back());
}

void XlsxTable::widenLastRow(int width)
{
    const int have = lastRowWidth();
    if (width > have)
        m_data->cells.resize(m_data->cells.size() + size_t(width - have));
}

XlsxTable::Cell &XlsxTable::cellOfLastRow(int column)
{
    widenLastRow(column);
    return m_data->cells[m_data->rowStarts.back() + size_t(column) - 1];
}

void XlsxTable::setText(int column, std::string_view utf8, bool escaped)
{
    Cell &cell = cellOfLastRow(column);
    cell.offset = uint32_t(m_data->text.size());
    cell.size = uint32_t(utf8.size()) | (escaped ? kEscaped : 0u);
    m_data->text.append(utf8);
}

void XlsxTable::setShared(int column, uint32_t index)
{
    Cell &cell = cellOfLastRow(column);
    cell.offset = index;
    cell.size = kShared;
}

void XlsxTable::markUncomputed(int column)
{
    m_data->uncomputed.add(size() - 1, column - 1);
}

const UncomputedFormulas &XlsxTable::uncomputedFormulas() const
{
    static const UncomputedFormulas none;
    return m_data ? m_data->uncomputed : none;
}

void XlsxTable::keepRows(qsizetype rows)
{
    if (rows < 0 || rows >= size())
        return;
    m_data->cells.resize(m_data->rowStarts[size_t(rows)]);
    m_data->rowStarts.resize(size_t(rows));
}
