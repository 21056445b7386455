// The rows of a worksheet held compactly: the sheet's own texts in one UTF-8 buffer, shared strings
// as indices into the workbook's pool, every row as wide as the table; texts become QString on demand.
// Row k is the sheet's row k + 1, whether the file wrote its empty rows or left them out.
#pragma once

#include "UncomputedFormulas.h"
#include "XlsxStringPool.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <string_view>
#include <vector>

class XlsxTable
{
public:
    XlsxTable() = default;

    // Reading, in the manner of a list of rows.
    qsizetype size() const { return m_data ? qsizetype(m_data->rowStarts.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    int columnCount() const { return m_columns; }
    QString text(qsizetype row, int column) const;
    QStringList at(qsizetype row) const;
    QStringList operator[](qsizetype row) const { return at(row); }
    QStringList first() const { return at(0); }
    QList<QStringList> toList() const;
    bool operator==(const QList<QStringList> &rows) const;
    // The cells (row and column from 0) whose formula the workbook never computed.
    const UncomputedFormulas &uncomputedFormulas() const;

    // Building, row by row; a cell set twice keeps its last text.
    explicit XlsxTable(std::shared_ptr<const XlsxStringPool> shared);
    void appendRow();
    qsizetype cellCount() const { return m_data ? qsizetype(m_data->cells.size()) : 0; }
    size_t textBytes() const { return m_data ? m_data->text.size() : 0; }
    int lastRowWidth() const;
    // column counts from 1; escaped marks text that may hold _xHHHH_ escapes.
    void setText(int column, std::string_view utf8, bool escaped);
    void setShared(int column, uint32_t index);
    // Marks the cell of the last row as holding a formula that was never computed.
    void markUncomputed(int column);
    // Keeps only the first rows.
    void keepRows(qsizetype rows);
    // Pads the last row to the given width with empty cells.
    void widenLastRow(int width);
    void setColumnCount(int columns) { m_columns = columns; }

private:
    // A cell: an empty one has size 0; a shared one the pool index in offset.
    struct Cell {
        uint32_t offset = 0;
        uint32_t size = 0;
    };
    static constexpr uint32_t kShared = 0x80000000u;
    static constexpr uint32_t kEscaped = 0x40000000u;
    static constexpr uint32_t kSizeMask = 0x3FFFFFFFu;

    struct Data {
        std::string text;
        std::vector<Cell> cells;
        std::vector<uint32_t> rowStarts; // index of each row's first cell
        std::shared_ptr<const XlsxStringPool> shared;
        UncomputedFormulas uncomputed;
    };
    QString cellText(const Cell &cell) const;
    Cell &cellOfLastRow(int column);

    std::shared_ptr<Data> m_data; // shared by copies; only the reader that builds it changes it
    int m_columns = 0;
};
