// The data-source choosers filled from DataSourceChoices: the binding table's columns, the series
// names and the "Excel" entry, written into a combo box without emitting user signals.
#pragma once

class ExcelBindingTable;
class QComboBox;
class QString;

void Fill_Excel_Col_Name_In_Combo(QComboBox *combo, const ExcelBindingTable &table);
void Fill_Data_Set_File_Name_In_Combo(QComboBox *combo, const QString &dataFolder);
void Add_Excel_Col_Name_In_Combo(QComboBox *combo);
void Remove_Excel_Col_Name_In_Combo(QComboBox *combo);
