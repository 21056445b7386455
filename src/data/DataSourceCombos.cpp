#include "data/DataSourceCombos.h"

#include "data/DataSourceChoices.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace
{
QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Replaces the entries with nothing selected.
void replaceItems(QComboBox *combo, const QStringList &items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}
} // namespace

void Fill_Excel_Col_Name_In_Combo(QComboBox *combo, const ExcelBindingTable &table)
{
    if (combo)
        replaceItems(combo, DataSourceChoices::excelColumnItems(table));
}

void Fill_Data_Set_File_Name_In_Combo(QComboBox *combo, const QString &dataFolder)
{
    if (combo)
        replaceItems(combo, DataSourceChoices::seriesItems(dataFolder));
}

void Add_Excel_Col_Name_In_Combo(QComboBox *combo)
{
    if (!combo)
        return;
    QStringList items = itemsOf(combo);
    if (DataSourceChoices::addExcelItem(items)) {
        const QSignalBlocker block(combo);
        combo->addItem(DataSourceChoices::ExcelItem);
    }
}

void Remove_Excel_Col_Name_In_Combo(QComboBox *combo)
{
    if (!combo)
        return;
    QStringList items = itemsOf(combo);
    if (DataSourceChoices::removeExcelItem(items)) {
        const QSignalBlocker block(combo);
        combo->removeItem(combo->findText(DataSourceChoices::ExcelItem));
    }
}
