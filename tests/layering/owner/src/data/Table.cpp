#include "data/Table.h"

ExcelBindingTable &Data_From_Excel_Window = ExcelBindingTable::defaultInstance();

ExcelBindingTable &ExcelBindingTable::defaultInstance()
{
    static ExcelBindingTable table;
    return table;
}

ExcelBindingTable ExcelBindingTable::tableOf(const Rows &rows)
{
    ExcelBindingTable made; // a local value
    return made;
}
