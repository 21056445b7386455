// The workbook column import driven through its widgets: mode "E" rebuilding the binding table
// (with and without a title row), mode "D" feeding the manager's list row by row, the OK checks,
// sheets chosen by name, unreadable workbooks, and the binding table viewer.
#include "data/DataState.h"
#include "data/ExcelBindingTable.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/ExcelDialogDriver.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/SeriesWindows.h"
#include "foundation/WindowRegistry.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace testsupport;

namespace
{
const QList<QStringList> kPeople{{"Name", " City ", "Zip"},
                                 {"Ann", "Oslo ", "0150"},
                                 {"Bo", QString(), "8000"},
                                 {"Cy", "Rome", QString()}};
} // namespace

class ExcelImport : public WindowFixture
{
protected:
    ExcelBindingTable table;
    BatchWizard manager;
    Import_Excel dialog{&manager, nullptr, &table};

    void SetUp() override
    {
        WindowFixture::SetUp();
        DataState::instance().reset();
    }

    QString workbook(const QJsonArray &sheets, const QString &name = QStringLiteral("book.xlsx"))
    {
        const QString path = tempPath(name);
        writeWorkbook(path, sheets);
        return path;
    }

    int run(const QString &mode, const QString &path, const std::function<void()> &body)
    {
        modalScripts.push_back([this, body](QDialog &) {
            body();
            return dialog.result();
        });
        dialog.setResult(0);
        dialog.open_mode = mode;
        return dialog.Open_excel_Wnd(path);
    }
};

TEST_F(ExcelImport, BindingTableTakesTheTickedColumnsUnderTheirTitles)
{
    const QString path = workbook({sheet("People", kPeople)});
    table.Create_List_By_Array({"old"}, 1);
    const int result = run("E", path, [&] {
        EXPECT_EQ(choiceTitles(dialog), (QStringList{"Name", "City", "Zip"}));
        EXPECT_TRUE(dialog.contains_header->isChecked());
        toggleColumn(dialog, 1);
        toggleColumn(dialog, 2);
        dialog.ok_button->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(table.columnTitles(), (QStringList{"Row", "City", "Zip"}));
    ASSERT_EQ(table.rowCount(), 3);
    const QList<ExcelBindingTable::Row> want{{{"Extension", "1"}, {"Column1", "Oslo"}, {"Column2", "0150"}},
                                             {{"Extension", "2"}, {"Column1", ""}, {"Column2", "8000"}},
                                             {{"Extension", "3"}, {"Column1", "Rome"}, {"Column2", ""}}};
    EXPECT_EQ(table.ListData(), want);

    // Without the title box the title row is data too, and still names the columns.
    run("E", path, [&] {
        dialog.contains_header->click();
        toggleColumn(dialog, 2);
        dialog.ok_button->click();
    });
    EXPECT_EQ(table.columnTitles(), (QStringList{"Row", "Zip"}));
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.ListData().first(), (ExcelBindingTable::Row{{"Extension", "1"}, {"Column1", "Zip"}}));
    EXPECT_EQ(table.ListData().last().value("Extension"), "4");
}

TEST_F(ExcelImport, ValueListReceivesTickedCellsRowByRow)
{
    const QString path =
        workbook({sheet("S", {{"A", "B", "C"}, {"a1", "x", "b1"}, {"a2", "y", "two\nlines"}})});
    run("D", path, [&] {
        toggleColumn(dialog, 0);
        toggleColumn(dialog, 2);
        dialog.ok_button->click();
    });
    // A series holds one value a line: a break inside a cell becomes a blank.
    EXPECT_EQ(manager.values(), (QStringList{"a1", "b1", "a2", "two lines"}));
    EXPECT_TRUE(table.ListData().isEmpty()) << "mode D leaves the binding table alone";
}

TEST_F(ExcelImport, FormulasNeverComputedInTheTickedColumnsAreNamed)
{
    // Name, Price, Total (C2-C41) and Label (D2-D3), formulas with no results stored.
    const QString path = QStringLiteral(TESSALY_TEST_DATA "/formulas/openpyxl.xlsx");
    run("E", path, [&] {
        toggleColumn(dialog, 0);
        toggleColumn(dialog, 2);
        dialog.ok_button->click();
    });
    EXPECT_EQ(
        messages.messages(),
        QStringList{"\nTotal: C2-C41 hold formulas that were never computed; open and save the workbook in "
                    "a spreadsheet program first."});
    ASSERT_EQ(table.rowCount(), 40);
    EXPECT_EQ(table.uncomputedFormulas().cellCount(), 40);
    EXPECT_TRUE(table.uncomputedFormulas().contains(39, 2));
    EXPECT_EQ(table.sheetRowOf(39), 41);

    // The series editor's value list takes none of them; the same sheet saved with its results
    // says nothing.
    messages.clear();
    run("D", path, [&] {
        toggleColumn(dialog, 3);
        dialog.ok_button->click();
        EXPECT_EQ(dialog.result(), 0);
        dialog.cancel_button->click();
    });
    EXPECT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(messages.messages().value(0).startsWith("\nLabel: D2-D3 hold formulas"));
    EXPECT_TRUE(messages.messages().value(0).endsWith("\nNothing was imported."));
    EXPECT_TRUE(manager.values().isEmpty());
    messages.clear();
    run("E", QStringLiteral(TESSALY_TEST_DATA "/formulas/lo_saved.xlsx"), [&] {
        dialog.select_all_button->click();
        dialog.ok_button->click();
    });
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(table.objectValue(3, 0), "5");
    EXPECT_TRUE(table.uncomputedFormulas().isEmpty());
}

TEST_F(ExcelImport, OkChecksSelectionButtonsAndCancel)
{
    const QString path = workbook({sheet("S", {{"First", "   ", "Third"}, {"1", "2", "3"}})});
    table.Create_List_By_Array({"kept"}, 1);
    const int result = run("E", path, [&] {
        // A title of blanks keeps its place, empty, so later columns still take their own cells.
        EXPECT_EQ(choiceTitles(dialog), (QStringList{"First", "", "Third"}));
        dialog.ok_button->click();
        dialog.select_all_button->click();
        EXPECT_TRUE(dialog.Get_Selection_State(0) && dialog.Get_Selection_State(2));
        dialog.clear_all_button->click();
        EXPECT_FALSE(dialog.Check_For_One_Extension_Selection());
        EXPECT_EQ(choiceTitles(dialog), (QStringList{"First", "", "Third"}));
        EXPECT_FALSE(dialog.Get_Selection_State(7));
        toggleColumn(dialog, 2);
        dialog.cancel_button->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages.messages(), QStringList{"\nNo column is selected."});
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.ListData().first().value("Column1"), "kept");
}

TEST_F(ExcelImport, SheetsAreOfferedByNameInWorkbookOrderAndTheChosenOneIsRead)
{
    const QString path =
        workbook({sheet("Zeta", {{"Z"}, {"z1"}}), sheet("Alpha", {{"P", "Q"}, {"p1", "q1"}})});
    run("E", path, [&] {
        ASSERT_EQ(dialog.Sheet_ComboBox->count(), 2);
        EXPECT_EQ(dialog.Sheet_ComboBox->itemText(0), "Zeta");
        EXPECT_EQ(dialog.Sheet_ComboBox->itemText(1), "Alpha");
        dialog.Sheet_ComboBox->setCurrentIndex(1);
        emit dialog.Sheet_ComboBox->activated(1);
        EXPECT_EQ(choiceTitles(dialog), (QStringList{"P", "Q"}));
        toggleColumn(dialog, 1);
        dialog.ok_button->click();
    });
    EXPECT_EQ(table.columnTitles(), (QStringList{"Row", "Q"}));
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.ListData().first().value("Column1"), "q1");
    // What loading the rows again needs: the sheet by name, the columns by place, the title row.
    EXPECT_EQ(table.sourceFacts.sheet, QStringLiteral("Alpha"));
    EXPECT_EQ(table.sourceFacts.columns, QList<int>{1});
    EXPECT_EQ(table.sourceFacts.firstRow, 1);
}

// A workbook saved again while the dialog is open: the rows taken on OK are those of the file as
// it is then, and its facts (checked against sha256sum) describe that file, not the one opened.
TEST_F(ExcelImport, TheRowsTakenAreThoseOfTheFileTheFactsDescribe)
{
    const QString path = workbook({sheet("People", kPeople)});
    const QString saved = workbook({sheet("People", {{"Name", "City"}, {"Di", "Lima"}, {"Ed", "Pune"}})},
                                   QStringLiteral("saved.xlsx"));
    run("E", path, [&] {
        // A spreadsheet program writes a new file and renames it over the old one.
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::rename(saved, path));
        toggleColumn(dialog, 0);
        toggleColumn(dialog, 1);
        dialog.contains_header->click();
        messages.queueChoices({0}); // Load Again
        dialog.ok_button->click();
    });
    EXPECT_EQ(messages.questions(), QStringList{ImportExcelBase::changedQuestion(path)});
    EXPECT_EQ(table.columnTitles(), (QStringList{"Row", "Name", "City"}));
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.ListData().last().value("Column2"), "Pune");
    EXPECT_EQ(table.sourceFacts.sha256, testsupport::run("sha256sum", {path}).out.left(64));
    EXPECT_EQ(table.sourceFacts.size, QFileInfo(path).size());
    EXPECT_EQ(table.sourceFacts.columns, (QList<int>{0, 1}));
    EXPECT_EQ(table.sourceFacts.firstRow, 0);
    EXPECT_TRUE(table.sourceFacts.loadedAt.isValid());
}

TEST_F(ExcelImport, UnreadableWorkbookIsReportedAndChangesNothing)
{
    const QString path = tempPath("broken.xlsx");
    ASSERT_TRUE(writeFile(path, "PK\x03\x04 not really a workbook"));
    table.Create_List_By_Array({"kept"}, 1);
    const int result = run("E", path, [&] {
        EXPECT_EQ(dialog.Sheet_ComboBox->count(), 0);
        dialog.ok_button->click();
        dialog.cancel_button->click();
    });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_NE(messages.messages()[0], "\nThere is no column.");
    EXPECT_EQ(messages.messages()[1], "\nThere is no column.");
    EXPECT_EQ(table.rowCount(), 1);
}

TEST_F(ExcelImport, ViewerShowsTitlesCountsAndTakesCorrections)
{
    const QString path = workbook({sheet("People", kPeople)});
    run("E", path, [&] {
        toggleColumn(dialog, 2);
        toggleColumn(dialog, 1);
        dialog.ok_button->click();
    });
    Data_From_Excel viewer(table);
    modalScripts.push_back([&](QDialog &) {
        QAbstractItemModel *m = viewer.ColList->model();
        EXPECT_EQ(viewer.rows_count->text(), "3");
        EXPECT_EQ(viewer.column_count->text(), "3");
        EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "City");
        EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "Zip");
        EXPECT_EQ(m->data(m->index(0, 0)).toString(), "1");
        EXPECT_EQ(m->data(m->index(0, 1)).toString(), "Oslo");
        EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
        EXPECT_TRUE(m->setData(m->index(1, 1), "Bergen"));
        EXPECT_FALSE(m->setData(m->index(5, 1), "nowhere"));
        viewer.resize(420, 200);
        saveArtifact(&viewer, "binding_table_viewer.png");
        viewer.ok_button->click();
        return viewer.result();
    });
    EXPECT_EQ(viewer.Open_Wnd(), 1);
    EXPECT_EQ(table.objectValue(1, 1), "Bergen");
    EXPECT_EQ(table.rowCount(), 3);

    ExcelBindingTable empty;
    Data_From_Excel emptyViewer(empty);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(emptyViewer.rows_count->text(), "0");
        EXPECT_EQ(emptyViewer.column_count->text(), "1");
        return 1;
    });
    emptyViewer.Open_Wnd();

    // The main window reaches the viewer through its registry entry.
    QWidget owner;
    WindowRegistry registry;
    SeriesWindows::fill(
        registry, &owner, {}, [this] { return table; },
        [this](const ExcelBindingTable &kept) { table = kept; });
    modalScripts.push_back([](QDialog &) { return 1; });
    EXPECT_EQ(registry.open(WindowRegistry::Window::BindingTableViewer), 1);
    EXPECT_EQ(modalTitles.last(), "Excel Data");
}

// The keyboard starts on the column list at every opening, and Tab leaves it for Select All, so
// columns are ticked without a walk through the workbook fields.
TEST_F(ExcelImport, TheKeyboardStartsOnTheColumnsAndTabGoesToSelectAll)
{
    const QString path = workbook({sheet("People", kPeople)});
    for (int opening = 0; opening < 2; ++opening) {
        run("E", path, [&] {
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            EXPECT_EQ(dialog.focusWidget(), dialog.ColList) << opening;
            QTest::keyClick(dialog.ColList, Qt::Key_Tab);
            EXPECT_EQ(dialog.focusWidget(), dialog.select_all_button) << opening;
            dialog.ok_button->setFocus(); // where the last opening leaves the keyboard
            dialog.cancel_button->click();
        });
    }
}
