// Which binding-table column an object bound to a workbook column reads: the column's heading
// decides, its stored position only when no heading was kept; and the rules that turn a sheet's
// ticked columns into binding-table rows or series values.
#pragma once

#include "data/ExcelBindingTable.h"
#include "data/XlsxTable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ColumnBinding
{
public:
    static constexpr int Missing = -1;

    // The column (0 the row number) that a binding of position index and heading reads among
    // titles (the row-number title first): the position itself while it still carries the
    // heading, else the first column of that heading, else Missing. Without a heading, or with an
    // empty one, the position is taken as it stands (Missing outside the titles).
    static int resolve(const QStringList &titles, int index, const std::optional<QString> &heading);
    static int resolve(const ExcelBindingTable &table, int index, const std::optional<QString> &heading)
    {
        return resolve(table.columnTitles(), index, heading);
    }

    // The binding table made of the given sheet columns (from 0), data from firstRow on; titles
    // are the trimmed texts of the sheet's first row, whether or not it is also taken as data. The
    // table keeps each row's sheet row number and its cells whose formula was never computed.
    static ExcelBindingTable tableOf(const XlsxTable &rows, const QList<int> &columns, int firstRow);
    // What the user is told on loading the given sheet columns (every column when none are given)
    // when some of their cells hold formulas that were never computed, headed by the first row's
    // texts; "" when none do.
    static QString uncomputedNote(const XlsxTable &rows, const QList<int> &columns);
    // The cells of the given columns, row by row and left to right from firstRow, as they stand.
    static QStringList cellsRowByRow(const XlsxTable &rows, const QList<int> &columns, int firstRow);
    // The same cells trimmed: the values of a series made from those columns.
    static QStringList columnValues(const XlsxTable &rows, const QList<int> &columns, int firstRow);
};
