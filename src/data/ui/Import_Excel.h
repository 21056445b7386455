// The workbook column import: the ticked columns of a sheet either rebuild the Excel binding table
// (mode "E") or become values of the series manager's open list (mode "D").
#pragma once

#include "data/ExcelBindingTable.h"
#include "data/ui/ImportExcelBase.h"

class BatchWizard;

class Import_Excel : public ImportExcelBase
{
    Q_OBJECT
public:
    // manager receives the values in mode "D" (may be null in mode "E"); table is the binding
    // table that mode "E" rebuilds, the program's one table unless a caller names another.
    explicit Import_Excel(BatchWizard *manager = nullptr, QWidget *parent = nullptr,
                          ExcelBindingTable *table = nullptr);

    // Set before Open_excel_Wnd: "E" binding table, "D" value list (the default). Kept as last set.
    QString open_mode = QStringLiteral("D");

    // Mode "D": every ticked cell, row by row and left to right, to the manager's list.
    bool Insert_file_Func(const QString &path);
    // Mode "E": the binding table's columns and rows from the ticked columns.
    bool Create_Excel_List_Func(const QString &path);
    // The table mode "E" rebuilds from now on; null: the window's own.
    void useTable(ExcelBindingTable *table) { m_table = table ? table : &m_ownTable; }

protected:
    bool takeColumns(const QString &path) override;

private:
    BatchWizard *m_manager;
    ExcelBindingTable m_ownTable; // the table made when none is given
    ExcelBindingTable *m_table;
};
