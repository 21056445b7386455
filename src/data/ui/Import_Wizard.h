// The series import wizard: values from a text, CSV or RTF file, pasted text or a folder of
// pictures, into a new series file or the series manager's open list.
#pragma once

#include "data/ListValues.h"

#include <QDialog>

class BatchWizard;
class Import_Excel;
class Import_Excel_DataSheet;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class Import_Wizard : public QDialog
{
    Q_OBJECT
public:
    // manager receives the values in value-list mode and is refreshed when file_name_Insert is 1.
    explicit Import_Wizard(BatchWizard *manager, QWidget *parent = nullptr);

    int Open_Wnd();

    void Excel_RD_Pressed();
    void Text_RD_Pressed();
    void Manual_RD_Pressed();
    void Image_RD_Pressed();
    void Browse_Excel_Pressed();
    void Browse_Text_Pressed();
    void Browse_Image_Pressed();
    void OKPressed();
    void CancelPressed() { done(0); }

    // The workbook dialogs of the Excel option: value-list mode and new-series mode.
    Import_Excel *excelImport();
    Import_Excel_DataSheet *excelToSeries();

    int import_option = 1;      // 0 workbook, 1 text file, 2 pasted text, 3 picture folder
    int file_name_required = 0; // 1: a new series file
    int file_name_Insert = 0;   // 1: reload the manager's list of series afterwards

    QRadioButton *Excel_RD = nullptr;
    QRadioButton *Text_RD = nullptr;
    QRadioButton *Mnul_RD = nullptr;
    QRadioButton *Image_RD = nullptr;
    QLineEdit *Excel_path = nullptr;
    QPushButton *Excel_btn = nullptr;
    QLineEdit *Text_file_name = nullptr;
    QLineEdit *Text_path = nullptr;
    QPushButton *Text_btn = nullptr;
    QPlainTextEdit *ManualEdit = nullptr;
    QLineEdit *Manual_file_name = nullptr;
    QLineEdit *Image_file_name = nullptr;
    QLineEdit *Image_path = nullptr;
    QPushButton *Image_btn = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    void buildLayout();
    void addExcelRows(QGridLayout *grid, int &r);
    void addTextRows(QGridLayout *grid, int &r);
    void addManualRows(QGridLayout *grid, int &r);
    void addImageRows(QGridLayout *grid, int &r);
    QHBoxLayout *makeButtonRow();
    void connectControls();
    void chooseOption(int option);
    bool validPath(QLineEdit *field);
    // Writes the values as a new series named by nameField, or hands them to the manager.
    bool deliver(const ListValues &values, QLineEdit *nameField);
    void importWorkbook();
    bool importText();
    bool importPaste();
    bool importPictures();

    BatchWizard *m_manager;
    Import_Excel *m_excelImport = nullptr;
    Import_Excel_DataSheet *m_excelToSeries = nullptr;
};
