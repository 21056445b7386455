// The workbook columns to series dialog: each ticked column becomes a series of its own, or all
// ticked columns fill one new, replaced or extended series.
#pragma once

#include "data/SeriesFiles.h"
#include "data/ui/ImportExcelBase.h"

class BatchWizard;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

class Import_Excel_DataSheet : public ImportExcelBase
{
    Q_OBJECT
public:
    // manager is refreshed after writing when file_name_Insert is 1 (may be null).
    explicit Import_Excel_DataSheet(BatchWizard *manager = nullptr, QWidget *parent = nullptr);

    // The main window's test whether a series is bound on the design; none means never.
    void setInUseTest(SeriesInUseTest test) { m_inUse = std::move(test); }

    // Each-column mode: one series per ticked column, named by its "Header".
    bool Create_file_For_Col_Func(const QString &path);
    // One-series mode: every ticked cell, row by row, into the series chosen below.
    bool Insert_file_Func(const QString &path);

    void Fill_Type_CellClick(int choice);
    void Each_Col_RD_Click();
    void Fill_Col_RD_Click();

    int file_name_Insert = 0; // 1: the manager's list of series is reloaded after writing
    int fill_col_option = 0;  // 0 new series, 1 replace a series, 2 append to a series

    QRadioButton *Each_col_RD = nullptr;
    QRadioButton *Fill_col_RD = nullptr;
    QGroupBox *fill_box = nullptr;
    QButtonGroup *matrix_fill_type = nullptr;
    QLineEdit *list_name = nullptr;
    QComboBox *List_ComboBox = nullptr;

protected:
    void prepareOpening() override;
    void afterWorkbookLoaded() override;
    RowListModel::Row choiceRecord(const QString &title, bool ticked) const override;
    bool takeColumns(const QString &path) override;

private:
    void makeModeChoices();
    QGroupBox *makeFillBox();
    void showFillControls();
    bool inUse(const QString &name) const { return m_inUse && m_inUse(name); }

    BatchWizard *m_manager;
    SeriesInUseTest m_inUse;
};
