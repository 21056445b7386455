// The binding table viewer: the rows of the Excel binding table under their column titles, with
// the row and column counts; a cell may be corrected in place.
#pragma once

#include <QDialog>

class ExcelBindingTable;
class QAbstractTableModel;
class QLineEdit;
class QPushButton;
class QTableView;

class Data_From_Excel : public QDialog
{
    Q_OBJECT
public:
    // Shows table, the program's one binding table unless a caller names another.
    // Shows and edits table, which outlives the window.
    explicit Data_From_Excel(ExcelBindingTable &table, QWidget *parent = nullptr);

    // Shows the table as it is now and runs modally; 1 after OK.
    int Open_Wnd();
    void OK_Click() { done(1); }
    // Makes row the table's only selected row.
    void Mark_List_New_Selection(int row);

    QTableView *ColList = nullptr;
    QLineEdit *rows_count = nullptr;
    QLineEdit *column_count = nullptr;
    QPushButton *ok_button = nullptr;

private:
    ExcelBindingTable *m_table;
    QAbstractTableModel *m_model;
};
