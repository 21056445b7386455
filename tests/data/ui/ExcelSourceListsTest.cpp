// The "Excel" source is offered alike in every source list (the inspector's, the barcode window's
// and the eleven of the personal details) whenever the binding table has rows, also after a design
// is reopened, and each list's View button shows the table; a workbook import ended with Cancel
// changes nothing anywhere.
#include "profile/ui/ProfileDriver.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/DataSourceChoices.h"
#include "data/ui/Data_From_Excel.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/MainMenus.h"
#include "foundation/ui/ComboItems.h"
#include "model/SKTBarcode.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/Inspector.h"
#include "platform/UndoManager.h"
#include "support/Workbooks.h"

using ComboItems::itemsOf;

class ExcelSourceLists : public ProfileFixture
{
protected:
    // A design whose binding table holds two guests, saved and opened again.
    void reopenDesignWithTable()
    {
        writeBinding([&](ExcelBindingTable &table) {
            table.setColumnTitles({QStringLiteral("Email")});
            table.setListData(rows({QStringLiteral("ann@example.com"), QStringLiteral("bo@example.com")}));
            table.Excel_Binding_Use = true;
            table.Excel_Source_Path = tempPath("guests.xlsx");
        });
        const QString design = tempPath("card.dcard");
        files.answers.push_back(design);
        ASSERT_TRUE(window->designFile().Save_project_file(true, false).ok());
        window->designFile().resetToNewDesign();
        writeBinding([](ExcelBindingTable &table) { table.reset(); });
        window->inspector().dataSource().offerExcel(false);
        const DesignResult read = window->designFile().Read_and_load_design_Log(design, QStringLiteral("L"));
        ASSERT_TRUE(read.ok()) << read.reason.toStdString();
        ASSERT_EQ(binding().rowCount(), 2);
    }
    QStringList inspectorItems() { return itemsOf(window->inspector().dataSource().Data_source_type); }
    QStringList barcodeItems()
    {
        GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Barcode);
        g->setBounds(QRectF(20, 20, 80, 30));
        window->document().insertGraphicsIntoSide(0, {g}, {int(front().size())});
        canvas(0)->changeSelectionIndexes({int(front().size()) - 1});
        canvas(0)->setSelectedGraphic(g);
        QStringList items;
        modalScripts.push_front([&](QDialog &d) {
            auto *gen = dynamic_cast<Barcode_Gen *>(&d);
            EXPECT_TRUE(gen);
            if (gen)
                items = itemsOf(gen->Data_source_type);
            return 0;
        });
        window->registry().open(WindowRegistry::Window::BarcodeWindow);
        return items;
    }
    static QList<QComboBox *> profileSources(User_profile &d)
    {
        return {d.name_ds_combo,    d.title_ds_combo,  d.comp_name_ds_combo, d.slogan_ds_combo,
                d.address_ds_combo, d.phone_ds_combo,  d.fax_ds_combo,       d.email_ds_combo,
                d.website_ds_combo, d.unique_ds_combo, d.image_ds_combo};
    }
};

TEST_F(ExcelSourceLists, AReopenedDesignOffersExcelInEveryListAndEachViewShowsTheTable)
{
    reopenDesignWithTable();
    int viewed = 0;
    window->registry().fill(WindowRegistry::Window::BindingTableViewer, [&](const QString &) {
        ++viewed;
        return 1;
    });
    const QStringList three{QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")};

    // The inspector: a text bound to the first column, its View.
    GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
    text->setBounds(QRectF(20, 20, 80, 30));
    window->document().insertGraphicsIntoSide(0, {text}, {0});
    canvas(0)->changeSelectionIndexes({0});
    canvas(0)->setSelectedGraphic(text);
    window->Show_RHS_Properties(text);
    DataSourceTab &tab = window->inspector().dataSource();
    EXPECT_EQ(itemsOf(tab.Data_source_type), three);
    choose(tab.Data_source_type, 2);
    choose(tab.Batch_Series, 1);
    EXPECT_EQ(text->data_source_type, 2);
    ASSERT_TRUE(tab.view_series_btn->isEnabled());
    QTest::mouseClick(tab.view_series_btn, Qt::LeftButton);
    EXPECT_EQ(viewed, 1);

    // The barcode window.
    EXPECT_EQ(barcodeItems(), three);

    // The eleven lists of the personal details, and the workbook's View.
    QList<QStringList> lists;
    session(QStringLiteral("F"), [&](User_profile &dialog) {
        for (QComboBox *c : profileSources(dialog))
            lists << itemsOf(c);
        choose(dialog.email_ds_combo, 2);
        choose(dialog.email_ser_col_cb, 1);
        EXPECT_EQ(dialog.email_value->text(), QStringLiteral("ann@example.com"));
        ASSERT_TRUE(dialog.view_excel_button->isEnabled());
        QTest::mouseClick(dialog.view_excel_button, Qt::LeftButton);
        dialog.reject();
    });
    ASSERT_EQ(lists.size(), 11);
    for (const QStringList &l : lists) {
        EXPECT_EQ(l.size(), 3);
        EXPECT_EQ(l.value(2), QStringLiteral("Excel"));
    }
    EXPECT_EQ(viewed, 2);
    EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
}

TEST_F(ExcelSourceLists, AWorkbookImportEndedWithCancelChangesNothing)
{
    reopenDesignWithTable();
    User_profile::setWorkbookImport({}); // the real column import, answered below
    testsupport::writeOneSheet(tempPath("other.xlsx"), {{"Other"}, {"x@example.org"}});
    const QList<ExcelBindingTable::Row> before = binding().ListData();
    const QString pathBefore = binding().Excel_Source_Path;

    files.answers.push_back(tempPath("other.xlsx"));
    session(QStringLiteral("F"), [&](User_profile &dialog) {
        const QString field = dialog.excel_path_field->text();
        answerColumnImport(false);
        QTest::mouseClick(dialog.browse_excel_button, Qt::LeftButton);
        EXPECT_EQ(dialog.excel_path_field->text(), field);
        for (QComboBox *c : profileSources(dialog))
            EXPECT_TRUE(itemsOf(c).contains(QStringLiteral("Excel")));
        dialog.reject();
    });
    EXPECT_EQ(columnImports, 1);
    EXPECT_EQ(binding().ListData(), before);
    EXPECT_EQ(binding().Excel_Source_Path, pathBefore);
    EXPECT_EQ(itemsOf(window->inspector().dataSource().Data_source_type).size(), 3);

    // OK through the same road takes the new workbook, and its path with it.
    files.answers.push_back(tempPath("other.xlsx"));
    session(QStringLiteral("F"), [&](User_profile &dialog) {
        answerColumnImport();
        QTest::mouseClick(dialog.browse_excel_button, Qt::LeftButton);
        EXPECT_EQ(dialog.excel_path_field->text(), tempPath("other.xlsx"));
        dialog.ok_button->click();
    });
    ASSERT_EQ(binding().rowCount(), 1);
    EXPECT_EQ(binding().Get_First_Value_Of_Excel_Binding(1), QStringLiteral("x@example.org"));
}

// A text and a barcode bound to the column "Long" follow that heading into the next workbook the
// personal details load; the text source page and the barcode window show where it stands now,
// or that the workbook lacks it.
TEST_F(ExcelSourceLists, BoundObjectsFollowTheirHeadingIntoTheNextWorkbookOrShowItMissing)
{
    User_profile::setWorkbookImport({}); // the real column import, all columns ticked
    struct Case {
        const char *what;
        QStringList headings;
        int column; // where "Long" stands now; -1 gone
    };
    const Case cases[] = {
        {"a column inserted before", {"Name", "Secret", "Long", "Date"}, 3},
        {"a workbook without the column", {"Name", "Date"}, -1},
        {"a reordered workbook", {"Date", "Long", "Name"}, 2},
    };
    for (const Case &c : cases) {
        writeBinding([&](ExcelBindingTable &table) {
            table.setColumnTitles({"Name", "Long", "Date"});
            table.setListData(
                {{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "old"}, {"Column3", "d"}}});
            table.Excel_Binding_Use = true;
        });
        window->inspector().dataSource().offerExcel(true);
        GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
        GraphicPtr code = SKTGraphic::create(SKTGraphic::Kind::Barcode);
        for (const GraphicPtr &g : {text, code}) {
            g->setBounds(QRectF(20, 20, 80, 30));
            g->data_source_type = DataSourceCode::BindingColumn;
            g->Set_Excel_binding_Column(2, QStringLiteral("Long"));
        }
        window->document().insertGraphicsIntoSide(0, {text, code}, {0, 1});

        const QString book = tempPath(QStringLiteral("book%1.xlsx").arg(c.column));
        testsupport::writeOneSheet(book, {c.headings, c.headings.join('|').toLower().split('|')});
        files.answers.push_back(book);
        session(QStringLiteral("F"), [&](User_profile &dialog) {
            answerColumnImport();
            QTest::mouseClick(dialog.browse_excel_button, Qt::LeftButton);
            dialog.ok_button->click();
        });
        // The design keeps the place it stored; the heading tells where the column stands now.
        EXPECT_EQ(text->excel_col_indx, 2) << c.what;
        const QString placeholder = c.column < 0 ? QStringLiteral("Missing: Long") : QString();

        canvas(0)->changeSelectionIndexes({0});
        canvas(0)->setSelectedGraphic(text);
        window->Show_RHS_Properties(text);
        const QComboBox *columns = window->inspector().dataSource().Batch_Series;
        EXPECT_EQ(columns->currentIndex(), c.column) << c.what;
        EXPECT_EQ(columns->placeholderText(), placeholder) << c.what;

        canvas(0)->changeSelectionIndexes({1});
        canvas(0)->setSelectedGraphic(code);
        modalScripts.push_front([&](QDialog &d) {
            auto &gen = dynamic_cast<Barcode_Gen &>(d);
            EXPECT_EQ(gen.Batch_Series->currentIndex(), c.column) << c.what;
            EXPECT_EQ(gen.Batch_Series->placeholderText(), placeholder) << c.what;
            if (c.column < 0)
                saveArtifact(&gen, QStringLiteral("barcode_window_missing_column.png"));
            return 0;
        });
        window->registry().open(WindowRegistry::Window::BarcodeWindow);
        window->document().removeGraphicsFromSide(0, {0, 1});
    }
}

// Undo of a Details change puts back the workbook the design had: its path, rows and headings.
// Details OK with nothing changed is no step and leaves nothing to save.
TEST_F(ExcelSourceLists, UndoOfDetailsPutsBackTheWorkbookAndAnUnchangedOkIsNoStep)
{
    reopenDesignWithTable();
    User_profile::setWorkbookImport({}); // the real column import, answered below
    testsupport::writeOneSheet(tempPath("other.xlsx"), {{"Other"}, {"x@example.org"}});
    const ExcelBindingTable before = binding();
    UndoManager &undo = window->document().undoManager();
    ASSERT_FALSE(window->hasUnsavedChanges());
    // The editor's Details command: the dialog, then the details laid on the side.
    const auto details = [&](const std::function<void(User_profile &)> &body) {
        modalScripts.push_front([body](QDialog &d) {
            auto *dialog = dynamic_cast<User_profile *>(&d);
            EXPECT_TRUE(dialog);
            if (dialog)
                body(*dialog);
            return d.result();
        });
        window->commands().User_Profile_Button_Clicked();
    };

    details([](User_profile &dialog) { dialog.ok_button->click(); });
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(window->hasUnsavedChanges());

    files.answers.push_back(tempPath("other.xlsx"));
    details([&](User_profile &dialog) {
        answerColumnImport();
        QTest::mouseClick(dialog.browse_excel_button, Qt::LeftButton);
        dialog.ok_button->click();
    });
    ASSERT_EQ(binding().Get_First_Value_Of_Excel_Binding(1), QStringLiteral("x@example.org"));
    EXPECT_EQ(binding().Excel_Source_Path, tempPath("other.xlsx"));
    ASSERT_TRUE(undo.canUndo());
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Personal Details"));
    EXPECT_TRUE(window->hasUnsavedChanges());

    window->menus().action(QStringLiteral("Edit/Undo"))->trigger(); // Edit > Undo Personal Details
    EXPECT_EQ(binding().ListData(), before.ListData());
    EXPECT_EQ(binding().columnTitles(), before.columnTitles());
    EXPECT_EQ(binding().Excel_Source_Path, before.Excel_Source_Path);
    EXPECT_EQ(binding().Excel_Binding_Use, before.Excel_Binding_Use);
    EXPECT_FALSE(window->hasUnsavedChanges());

    // Redo takes the other workbook again.
    ASSERT_TRUE(undo.canRedo());
    undo.redo();
    EXPECT_EQ(binding().Get_First_Value_Of_Excel_Binding(1), QStringLiteral("x@example.org"));
    EXPECT_EQ(binding().Excel_Source_Path, tempPath("other.xlsx"));
}
