// The series manager's value-edit dialog: changes one value of the manager's open list, refusing
// a value that is empty after trimming.
#pragma once

#include <QDialog>

class BatchWizard;
class QLineEdit;
class QPushButton;

class Update_Ex_Num : public QDialog
{
    Q_OBJECT
public:
    explicit Update_Ex_Num(BatchWizard *manager, QWidget *parent = nullptr);

    // Edits row `row` of the manager's value list, shown as `value`; 1 after OK, 0 after Cancel.
    int Open_Wnd(int row, const QString &value);

    void OKPressed();
    void CancelPressed();

    QLineEdit *m_ex_num_index = nullptr; // row number (from 1), read-only
    QLineEdit *m_ex_num_str = nullptr;   // the value, editable
    QLineEdit *m_s_number = nullptr;     // the value before editing, hidden
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    void clearFields();

    BatchWizard *m_manager;
    int m_row = -1; // the row being edited, kept apart from the text shown
};
