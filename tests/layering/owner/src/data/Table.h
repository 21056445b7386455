// The binding table kept process-wide (wrong).
#pragma once

class ExcelBindingTable
{
public:
    static ExcelBindingTable &defaultInstance();
    // A table made from rows is a value handed back, not a process-wide one.
    static ExcelBindingTable tableOf(const Rows &rows);
};
extern ExcelBindingTable &Data_From_Excel_Window;
