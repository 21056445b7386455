#include "data/DataSourceChoices.h"

#include "data/ExcelBindingTable.h"
#include "data/SeriesFiles.h"
#include "foundation/StringUtils.h"

QStringList DataSourceChoices::excelColumnItems(const ExcelBindingTable &table)
{
    return table.columnTitles();
}

QStringList DataSourceChoices::seriesItems(const QString &dataFolder)
{
    return SeriesFiles::Get_datasheet_File_Name_Array(dataFolder);
}

bool DataSourceChoices::addExcelItem(QStringList &items)
{
    if (items.size() != 2)
        return false;
    items << ExcelItem;
    return true;
}

bool DataSourceChoices::removeExcelItem(QStringList &items)
{
    if (items.size() != 3)
        return false;
    return items.removeOne(ExcelItem);
}

// Trimmed as every run trims a row's value, so that what a bound object shows on the card (a
// barcode made of it above all: spaces are part of its symbol) is what the first card prints.
QString DataSourceChoices::Get_First_Value_Of_Dataset(const QString &dataFolder, const QString &name)
{
    return Trim_Str(SeriesFiles::Get_First_Value_Of_Dataset(dataFolder, name));
}

QString DataSourceChoices::Get_First_Value_Of_Excel_Binding(const ExcelBindingTable &table, int column)
{
    return Trim_Str(table.Get_First_Value_Of_Excel_Binding(column));
}
