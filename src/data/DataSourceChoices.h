// The entries of the data-source choosers that every binding window shows: the binding table's
// column titles, the series names, the "Excel" choice and the first value of a source.
#pragma once

#include <QString>
#include <QStringList>

class ExcelBindingTable;

namespace DataSourceChoices
{
inline const QString ExcelItem = QStringLiteral("Excel");

// Column titles in column order, the row-number column first (item k is column k).
QStringList excelColumnItems(const ExcelBindingTable &table);
// Series names in listing order (item k is slot k of the series table).
QStringList seriesItems(const QString &dataFolder);
// "Excel" is appended when exactly two entries are there; removed when exactly three are.
bool addExcelItem(QStringList &items);
bool removeExcelItem(QStringList &items);

// The first value of a source as the first card gets it (trimmed): what a bound object shows.
// The series file's first line, "" when it cannot be read.
QString Get_First_Value_Of_Dataset(const QString &dataFolder, const QString &name);
// The first row's value of column k (0: the row number), "" when there is none.
QString Get_First_Value_Of_Excel_Binding(const ExcelBindingTable &table, int column);
} // namespace DataSourceChoices
