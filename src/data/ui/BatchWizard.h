// The series manager: the list of series of the "DataSet" folder and the values of one series, from
// which the user makes, edits, renames, deletes, saves and exports series and starts the generator
// and the import wizard.
#pragma once

#include "data/SeriesFiles.h"

#include <QDialog>

#include <memory>

class BatchWizard;
class Generate_List;
class Import_Wizard;
class Load_Num_Info;
class SeriesEditing;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowListModel;
class SeriesValueModel;
class Update_Ex_Num;
class WindowRegistry;

// The in-use test of the series windows opened from manager: its own, or without one the series
// another instance holds.
SeriesInUseTest seriesInUseTest(const BatchWizard *manager);

class BatchWizard : public QDialog
{
    Q_OBJECT
public:
    explicit BatchWizard(QWidget *parent = nullptr);
    ~BatchWizard() override;

    // The main window's test whether a series is bound on the design; none means never.
    void setInUseTest(SeriesInUseTest test) { m_inUse = std::move(test); }
    // That test, with a series open for editing in another instance of the program counted too.
    SeriesInUseTest inUseTest() const;
    // Said as a series opens for editing when no lock file can be made beside it: the lock file
    // and why (problem), and whether this instance holds it elsewhere or another has it open.
    static QString cannotHoldMessage(const QString &name, const SeriesEditing &editing);
    // A refusal for a series in use, with its file and who uses it: the design open here, or
    // another instance of the program by its lock file.
    QString inUseText(const QString &name, const QString &refusal) const;
    QString firstInUse(const QString &current, const QStringList &names) const;
    // Where the exported-files dialog is opened after an export; none shows no dialog.
    void setRegistry(WindowRegistry *registry) { m_registry = registry; }

    // Opens on the list of series and runs modally until Close.
    int Open_Wnd();

    // Reloads the list of series from the folder.
    void Fill_List();
    // Appends a value (trimmed; an empty one adds nothing) to the open series.
    void Create_Value_List(const QString &text);
    // The same for a whole list at once.
    void addValues(QStringList values);

    // First screen.
    void AddNew_Btn_Clicked();
    void Update_Btn_Clicked();
    void Delete_List_Btn_Clicked();
    void Import_Btn_Clicked();
    void CreateSeries_Btn_Clicked();
    // Second screen.
    void Import_Value_Btn_Clicked();
    void Series_Value_Btn_Clicked();
    void Delete_Rows_Btn_Clicked();
    void Export_Value_Btn_Clicked();
    void Save_Btn_Clicked();
    void Back_Btn_Clicked();
    void Close_2_Btn_Clicked();
    void reject() override;
    void doubleClickInTable(QTableView *table);

    bool firstScreenShown() const;
    QStringList values() const; // the open series' values in list order

    // The manager's generator and import wizard, one of each, parented to the window that opens
    // them (the manager when none is named): a dialog shows centred on its parent only while
    // that parent is shown, and the manager is hidden when the main window's Data menu opens them.
    Generate_List *generator(QWidget *over = nullptr);
    Import_Wizard *importWizard(QWidget *over = nullptr);

    RowListModel *ListData = nullptr; // {"Extension": series name}
    SeriesValueModel *ListData_value = nullptr;
    QTableView *List = nullptr;
    QTableView *List_value = nullptr;
    QLineEdit *batch_list_name = nullptr;
    QLabel *batch_list_count = nullptr;  // "Total List : %d"
    QLabel *batch_value_count = nullptr; // "Total Rows : %d"
    QWidget *avl_list_box = nullptr;
    QWidget *list_value_box = nullptr;
    QWidget *btn_box1 = nullptr;
    QWidget *btn_box2 = nullptr;
    QString update_list_name;               // the series being edited; "" for a new one
    QComboBox *Save_Ext_ComboBox = nullptr; // export format: "xlsx" or "txt"
    Load_Num_Info *Load_Number_Window = nullptr;
    Update_Ex_Num *Update_Value_Wnd = nullptr;

    QPushButton *addnew_button = nullptr;
    QPushButton *update_button = nullptr;
    QPushButton *delete_list_button = nullptr;
    QPushButton *import_button = nullptr;
    QPushButton *create_series_button = nullptr;
    QPushButton *help_button = nullptr;
    QPushButton *close_button = nullptr;
    QPushButton *import_value_button = nullptr;
    QPushButton *series_value_button = nullptr;
    QPushButton *delete_rows_button = nullptr;
    QPushButton *export_button = nullptr;
    QPushButton *save_button = nullptr;
    QPushButton *back_button = nullptr;
    QPushButton *help_2_button = nullptr;
    QPushButton *close_2_button = nullptr;

private:
    void buildLayout();
    QWidget *makeSeriesListBox();
    QWidget *makeSeriesButtons();
    QWidget *makeValueListBox();
    QWidget *makeValueButtons();
    void connectControls();
    void showFirstScreen(bool show);
    void showLastScreen(bool show);
    int currentRow(QTableView *table) const;
    QList<int> selectedRows(QTableView *table) const;
    void selectOnly(QTableView *table, int row);
    bool Batch_List_Selection_Validation();
    void On_Update();
    void OnGetSelected();
    void Update_batch_List_Count();
    void Update_Value_List_Count();
    bool askBeforeAdding(); // false: add nothing
    void takeReplaceAnswer();
    bool saveSeries();
    // Asks whether to save changed values before they are left; false: stay.
    bool settleUnsavedChanges();
    void leaveValues();
    bool inUse(const QString &name) const { return inUseTest()(name); }
    // Saving over a series another instance or program wrote since it was opened here is asked first.
    bool mayWriteOver() const;

    SeriesInUseTest m_inUse;
    std::unique_ptr<SeriesEditing> m_editing; // the series open for editing, while it is
    bool m_changed = false;                   // the open series differs from its file
    bool m_replaceOnFirstValue = false;       // the user chose to replace the values with the new ones
    WindowRegistry *m_registry = nullptr;
    Generate_List *m_generator = nullptr;
    Import_Wizard *m_importWizard = nullptr;
};
