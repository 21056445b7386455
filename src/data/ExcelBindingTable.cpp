#include "data/ExcelBindingTable.h"

#include "foundation/StringUtils.h"

ExcelBindingTable::ExcelBindingTable() = default;

void ExcelBindingTable::reset()
{
    *this = ExcelBindingTable();
}

QList<ExcelBindingTable::Row> ExcelBindingTable::ListData() const
{
    QList<Row> rows;
    rows.reserve(m_rows.size());
    for (qsizetype k = 0; k < m_rows.size(); ++k)
        rows.append(m_rows.row(k));
    return rows;
}

void ExcelBindingTable::setListData(const QList<Row> &rows)
{
    BindingRows held;
    for (const Row &row : rows)
        held.appendRow(row);
    setRows(held);
}

void ExcelBindingTable::setRows(const BindingRows &rows)
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
    const qsizetype row = m_rows.size();
    m_rows.appendRow();
    m_rows.set(row, m_rows.addKey(rowNumberKey()), QString::number(row + 1));
    for (int i = 0; i < count; ++i)
        m_rows.set(row, m_rows.addKey(columnIdentifier(i + 1)), Trim_Str(texts.at(i)));
    return true;
}

void ExcelBindingTable::Create_Value_List(const QString &text)
{
    const QString t = Trim_Str(text);
    if (t.isEmpty())
        return;
    m_rows.appendRow();
    m_rows.set(m_rows.size() - 1, m_rows.addKey(rowNumberKey()), t);
}

bool ExcelBindingTable::setObjectValue(const QString &value, int column, int row)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return false;
    const int k = m_rows.addKey(column == 0 ? rowNumberKey() : columnIdentifier(column));
    if (m_rows.view(row, k) != value)
        m_uncomputed.remove(row, column);
    m_rows.set(row, k, value);
    return true;
}

QString ExcelBindingTable::objectValue(int column, int row) const
{
    if (row < 0 || row >= m_rows.size() || column < 0)
        return QString();
    return m_rows.value(row, m_rows.columnOf(column == 0 ? rowNumberKey() : columnIdentifier(column)));
}

QString ExcelBindingTable::Get_First_Value_Of_Excel_Binding(int index) const
{
    if (m_rows.isEmpty() || index < 0)
        return QString(QLatin1String(""));
    const int k = m_rows.columnOf(index == 0 ? rowNumberKey() : columnIdentifier(index));
    return m_rows.has(0, k) ? m_rows.value(0, k) : QString(QLatin1String(""));
}

QStringList ExcelBindingTable::columnTitles() const
{
    return QStringList{rowNumberTitle()} + m_titles;
}

void ExcelBindingTable::setColumnTitles(const QStringList &titlesAfterFirst)
{
    m_titles = titlesAfterFirst;
}
