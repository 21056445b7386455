// The series a batch run reads, loaded by name: each bound series' rows as the batch filling takes
// them, and the value of one row.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Gives a series' rows, or nothing when it has no file.
using SeriesLoader = std::function<std::optional<QStringList>(const QString &name)>;

class SeriesTable
{
public:
    void clear() { m_series.clear(); }
    // Loads the named series unless it is loaded already; a missing file loads nothing.
    void Add_dataset_col_in_binding_table(const QString &name, const SeriesLoader &load);
    // Rows of the longest loaded series, 0 when none.
    int Calculate_data_table_rows() const;
    // Rows of the named series, 0 when it is not loaded.
    int rowsOf(const QString &name) const { return int(m_series.value(name).size()); }
    // Row `row` (from 0) of the named series untrimmed, "" beyond its end or when not loaded.
    QString Get_sel_row_col_value_of_dataset(int row, const QString &name) const;
    bool operator==(const SeriesTable &other) const { return m_series == other.m_series; }

private:
    QHash<QString, QStringList> m_series;
};
