#include "SeriesTable.h"

#include <climits>

void SeriesTable::Add_dataset_col_in_binding_table(const QString &name, const SeriesLoader &load)
{
    if (m_series.contains(name) || !load)
        return;
    if (auto rows = load(name))
        m_series.insert(name, *rows);
}

int SeriesTable::Calculate_data_table_rows() const
{
    qsizetype rows = 0;
    for (const QStringList &s : m_series)
        rows = std::max(rows, s.size());
    return int(std::min<qsizetype>(rows, INT_MAX));
}

QString SeriesTable::Get_sel_row_col_value_of_dataset(int row, const QString &name) const
{
    auto it = m_series.constFind(name);
    if (it == m_series.constEnd() || row < 0 || row >= it->size())
        return {};
    return it->at(row);
}
