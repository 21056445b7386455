// The import wizard's workbook option: the manager's list filled through the column import, new
// series through the columns-to-series dialog, Browse starting at once, and the wizard closing
// when the workbook dialog returns, even after its Cancel.
#include "data/DataState.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/ExcelDialogDriver.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/SeriesDialogDriver.h"
#include "support/WindowFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace testsupport;

class WizardWorkbook : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        DataState::instance().reset();
        book = tempPath("book.xlsx");
        writeWorkbook(book, {sheet("S", {{"A", "B"}, {"a1", "b1"}, {"a2", "b2"}})});
    }
    QString book;
};

TEST_F(WizardWorkbook, BrowseFillsTheManagersListThroughTheColumnImport)
{
    BatchWizard manager;
    files.answers.push_back(book);
    modalScripts.push_back([&](QDialog &) {
        manager.addnew_button->click();
        modalScripts.push_back([&](QDialog &) {
            Import_Wizard *iw = manager.importWizard();
            EXPECT_TRUE(iw->Excel_RD->isChecked());
            EXPECT_TRUE(iw->Excel_btn->isEnabled());
            modalScripts.push_back([&](QDialog &) {
                Import_Excel *xl = iw->excelImport();
                EXPECT_EQ(xl->open_mode, "D");
                xl->select_all_button->click();
                xl->ok_button->click();
                return xl->result();
            });
            iw->Excel_btn->click();
            return iw->result();
        });
        manager.import_value_button->click();
        EXPECT_EQ(manager.values(), (QStringList{"a1", "b1", "a2", "b2"}));
        manager.close_2_button->click();
        return 0;
    });
    manager.Open_Wnd();
    EXPECT_EQ(modalTitles, (QStringList{"Batch Processing Series", "Import Series", "Import from Excel"}));
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].suffixes, (QStringList{"xlsx", "XLSX"}));
}

TEST_F(WizardWorkbook, NewSeriesGoThroughTheColumnsDialogAndCancelThereStillClosesTheWizard)
{
    Import_Wizard wizard(nullptr);
    wizard.file_name_required = 1;
    wizard.file_name_Insert = 1;
    modalScripts.push_back([&](QDialog &) {
        wizard.ok_button->click(); // no path yet
        QTest::keyClicks(wizard.Excel_path, book);
        modalScripts.push_back([&](QDialog &) {
            Import_Excel_DataSheet *ds = wizard.excelToSeries();
            EXPECT_EQ(ds->file_name_Insert, 1);
            ds->cancel_button->click();
            return ds->result();
        });
        wizard.ok_button->click();
        return wizard.result();
    });
    EXPECT_EQ(wizard.Open_Wnd(), 1);
    EXPECT_EQ(messages.messages(), QStringList{"\nPlease select valid file path."});
    EXPECT_EQ(modalTitles.last(), "Excel Columns to Series");
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList({"*.txt"}).isEmpty());
}

TEST_F(WizardWorkbook, ASeriesFromFormulasNeverComputedIsRefusedNamingTheCells)
{
    // Total (C2-C41) holds formulas for which the workbook stored 0 and asked to be recalculated.
    Import_Wizard wizard(nullptr);
    wizard.file_name_required = 1;
    modalScripts.push_back([&](QDialog &) {
        QTest::keyClicks(wizard.Excel_path, QStringLiteral(TESSALY_TEST_DATA "/formulas/xlsxwriter.xlsx"));
        modalScripts.push_back([&](QDialog &) {
            Import_Excel_DataSheet *ds = wizard.excelToSeries();
            toggleColumn(*ds, 2);
            ds->ok_button->click();
            return ds->result();
        });
        wizard.ok_button->click();
        return wizard.result();
    });
    EXPECT_EQ(wizard.Open_Wnd(), 1);
    EXPECT_EQ(
        messages.messages(),
        QStringList{"\nTotal: C2-C41 hold formulas that were never computed; open and save the workbook in a "
                    "spreadsheet program first.\nNothing was imported."});
    EXPECT_FALSE(QFileInfo::exists(QDir(Data_Folder_Path).filePath("Total.txt")));
}
