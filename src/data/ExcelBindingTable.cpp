#include "data/ExcelBindingTable.h"

#include "foundation/StringUtils.h"

ExcelBindingTable::ExcelBindingTable() = default;

void ExcelBindingTable::reset()
{
    *this = ExcelBindingTable();
}

void ExcelBindingTable::setListData(const QList<Row> &rows)
{
    m_rows = rows;
    setWorkbookOrigin({}, {});
}

void ExcelBindingTable::setWorkbookOrigin(const QList<int> &sheetRows, const UncomputedFormulas &uncomputed)
{
    m_sheetRows = sheetRows;
    m_uncomputed = uncomputed;
}

void ExcelBindingTable::takeRowsOf(const ExcelBindingTable &read)
{
    m_rows = read.m_rows;
    m_titles = read.m_titles;
    m_sheetRows = read.m_sheetRows;
    m_uncomputed = read.m_uncomputed;
    sourceFacts = read.sourceFacts;
}

bool ExcelBindingTable::Create_List_By_Array(const QStringList &texts, int count)
{
    if (count < 0 || count > texts.size())
        return false;
    Row row;
    row.insert(rowNumberKey(), QString::number(m_rows.size() + 1));
    for (int i = 0; i < count; ++i)
        row.insert(columnIdentifier(i + 1), Trim_Str(texts.at(i)));
    m_rows.append(row);
    return true;
}

void ExcelBindingTable::Create_Value_List(const QString &text)
{
    const QString t = Trim_Str(text);
    if (t.isEmpty())
        return;
    Row row;
    row.insert(rowNumberKey(), t);
    m_rows.append(row);
}

bool ExcelBindingTable::setObjectValue(const QString &value, int column, int row)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return false;
    QString &cell = m_rows[row][column == 0 ? rowNumberKey() : columnIdentifier(column)];
    if (cell != value)
        m_uncomputed.remove(row, column);
    cell = value;
    return true;
}

QString ExcelBindingTable::objectValue(int column, int row) const
{
    if (row < 0 || row >= m_rows.size() || column < 0)
        return QString();
    return m_rows.at(row).value(column == 0 ? rowNumberKey() : columnIdentifier(column));
}

QString ExcelBindingTable::Get_First_Value_Of_Excel_Binding(int index) const
{
    if (m_rows.isEmpty() || index < 0)
        return QString(QLatin1String(""));
    return m_rows.first().value(index == 0 ? rowNumberKey() : columnIdentifier(index),
                                QString(QLatin1String("")));
}

QStringList ExcelBindingTable::columnTitles() const
{
    return QStringList{rowNumberTitle()} + m_titles;
}

void ExcelBindingTable::setColumnTitles(const QStringList &titlesAfterFirst)
{
    m_titles = titlesAfterFirst;
}
