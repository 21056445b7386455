#include "data/ColumnBinding.h"

#include "foundation/StringUtils.h"

int ColumnBinding::resolve(const QStringList &titles, int index, const std::optional<QString> &heading)
{
    const QString wanted = heading ? Trim_Str(*heading) : QString();
    if (wanted.isEmpty())
        return index >= 0 && index < titles.size() ? index : Missing;
    // The stored position first: a workbook with two columns of one heading keeps the one chosen.
    if (index >= 0 && index < titles.size() && Trim_Str(titles.at(index)) == wanted)
        return index;
    for (int k = 0; k < titles.size(); ++k) {
        if (Trim_Str(titles.at(k)) == wanted)
            return k;
    }
    return Missing;
}

ExcelBindingTable ColumnBinding::tableOf(const XlsxTable &rows, const QList<int> &columns, int firstRow)
{
    ExcelBindingTable table;
    QStringList titles;
    for (int j : columns)
        titles.append(Trim_Str(rows.isEmpty() ? QString() : rows.text(0, j)));
    table.setColumnTitles(titles);
    QList<int> sheetRows;
    for (qsizetype r = firstRow; r < rows.size(); ++r) {
        QStringList cells;
        cells.reserve(columns.size());
        for (int j : columns)
            cells.append(rows.text(r, j));
        table.Create_List_By_Array(cells, int(cells.size()));
        sheetRows.append(int(r) + 1);
    }
    // The formula cells of the ticked columns, renumbered as the table counts rows and columns.
    UncomputedFormulas uncomputed;
    for (const UncomputedFormulas::Run &run : rows.uncomputedFormulas().runs()) {
        for (qsizetype k = 0; k < columns.size(); ++k) {
            if (columns.at(k) != run.column)
                continue;
            for (qsizetype r = std::max<qsizetype>(run.first, firstRow); r <= run.last; ++r)
                uncomputed.add(r - firstRow, int(k) + 1);
        }
    }
    table.setWorkbookOrigin(sheetRows, uncomputed);
    table.squeeze();
    return table;
}

QString ColumnBinding::uncomputedNote(const XlsxTable &rows, const QList<int> &columns)
{
    const auto heading = [&rows](int column) { return Trim_Str(rows.text(0, column)); };
    return rows.uncomputedFormulas().note(heading, columns);
}

QStringList ColumnBinding::cellsRowByRow(const XlsxTable &rows, const QList<int> &columns, int firstRow)
{
    QStringList out;
    for (qsizetype r = firstRow; r < rows.size(); ++r) {
        for (int j : columns)
            out.append(rows.text(r, j));
    }
    return out;
}

QStringList ColumnBinding::columnValues(const XlsxTable &rows, const QList<int> &columns, int firstRow)
{
    QStringList out = cellsRowByRow(rows, columns, firstRow);
    for (QString &value : out)
        value = Trim_Str(value);
    return out;
}
