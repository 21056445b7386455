// What the two workbook column dialogs share: opening a workbook, its sheet list, the list of
// column choices with their check boxes, select all and clear all, and the checks of OK.
#pragma once

#include "data/WorkbookFacts.h"
#include "data/XlsxReader.h"
#include "foundation/RowListModel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;

class ImportExcelBase : public QDialog
{
    Q_OBJECT
public:
    // Prepares the dialog for the workbook at path, lists its sheets and runs it modally.
    // Returns 1 after OK with a valid choice, 0 after Cancel.
    int Open_excel_Wnd(const QString &path);

    // Opens the workbook and lists its sheets in workbook order; a workbook that cannot be read
    // is reported and leaves the lists empty.
    void Load_file_Func(const QString &path);
    // A sheet chosen (position in the sheet list): its column titles become the column choices.
    void sheetChosen(int position);

    // Whether the sheet's column j is ticked; false for a position outside the list.
    bool Get_Selection_State(int j) const;
    bool Check_For_One_Extension_Selection() const;
    void Select_ALL_Pressed();
    void Clear_All_Pressed();
    void OKPressed();
    void CancelPressed();

    // Asked at OK when the workbook has changed on disk since its columns were listed: "Load
    // Again" (the default) lists them again, each choice following its column's title, and goes
    // on with the file as it is now; "Cancel" (Escape) keeps the dialog open.
    static QString changedQuestion(const QString &path);
    static QStringList changedAnswers();

    QLineEdit *file_path = nullptr;
    QCheckBox *contains_header = nullptr;
    QComboBox *Sheet_ComboBox = nullptr;
    RowListModel *ListData_xl = nullptr; // {"State", "Extension"[, "Header"]}, record j = column j
    QTableView *ColList = nullptr;
    QPushButton *select_all_button = nullptr;
    QPushButton *clear_all_button = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;
    XlsxRows excel_content; // the rows last read

protected:
    ImportExcelBase(const QString &objectName, const QString &title, const QStringList &choiceColumns,
                    const QStringList &choiceTitles, QWidget *parent);

    // Room below the column list for a dialog's own controls.
    QVBoxLayout *extraArea() const { return m_extra; }
    // Resets a dialog's own controls at each opening, and fills them once the workbook is open.
    virtual void prepareOpening() {}
    virtual void afterWorkbookLoaded() {}
    // The record of column choice for a title as read.
    virtual RowListModel::Row choiceRecord(const QString &title, bool ticked) const;
    // Takes the ticked columns; true ends the dialog with 1, false keeps it open.
    virtual bool takeColumns(const QString &path) = 0;

    // Every row of the chosen sheet, read under the please-wait sheet. False, after telling the
    // user with emptyMessage or the reader's reason, when there is nothing to take. Given facts,
    // the file's facts are taken first and the rows read from the file as it is now.
    bool readRows(const QString &path, const QString &emptyMessage, WorkbookFacts *facts = nullptr);
    // The first data row: 1 when the first row holds titles.
    int firstDataRow() const;
    // The ticked sheet columns (from 0) that the rows last read have.
    QList<int> tickedColumns() const;
    // For imports into series: true, after telling the user which cells and that nothing was
    // imported, when a ticked column of the rows last read holds a formula never computed. A
    // series would keep its blank or placeholder value with no word of where it came from.
    bool refusesUncomputed() const;

private:
    QGridLayout *makeWorkbookFields();
    QTableView *makeColumnList();
    QHBoxLayout *makeChoiceButtons();
    void rebuildChoices(const QStringList &titles, bool ticked);
    // False when the file changed since it was listed and the user cancels, or when the sheet
    // chosen is no longer in it; else the columns listed are the file's as it is now.
    bool settleChangedWorkbook(const QString &path);
    bool listAgain(const QString &path);

    QVBoxLayout *m_extra = nullptr;
    WorkbookFacts m_listed; // the file as its sheets and columns were listed
};
