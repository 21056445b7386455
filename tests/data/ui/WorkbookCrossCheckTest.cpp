// A workbook made by xlsxwriter (rich text runs, formulas with cached values, a line break in a
// cell) goes through both column dialogs; openpyxl's reading of the same cells is the reference.
#include "data/DataState.h"
#include "data/ExcelBindingTable.h"
#include "data/ui/ExcelDialogDriver.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "support/WindowFixture.h"

#include <QPushButton>

using namespace testsupport;

namespace
{
ProcResult crosscheck(const QStringList &args)
{
    return run(QStringLiteral("/usr/bin/python3"),
               QStringList{QStringLiteral(TESSALY_TEST_DATA "/ui/workbook_crosscheck.py")} + args);
}
} // namespace

class WorkbookCrossCheck : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        DataState::instance().reset();
        book = tempPath("guests.xlsx");
        const ProcResult made = crosscheck({QStringLiteral("make"), book});
        ASSERT_EQ(made.exitCode, 0) << made.errText().toStdString();
    }
    QString book;
};

TEST_F(WorkbookCrossCheck, BindingTableHoldsTheCellsOpenpyxlReads)
{
    ExcelBindingTable table;
    Import_Excel dialog(nullptr, nullptr, &table);
    dialog.open_mode = QStringLiteral("E");
    modalScripts.push_back([&](QDialog &) {
        dialog.select_all_button->click();
        dialog.ok_button->click();
        return dialog.result();
    });
    ASSERT_EQ(dialog.Open_excel_Wnd(book), 1);

    QJsonArray rows;
    for (const ExcelBindingTable::Row &r : table.ListData()) {
        QJsonObject o;
        for (auto it = r.cbegin(); it != r.cend(); ++it)
            o.insert(it.key(), it.value());
        rows.append(o);
    }
    const QJsonObject dump{{QStringLiteral("titles"), QJsonArray::fromStringList(table.columnTitles())},
                           {QStringLiteral("rows"), rows}};
    const QString json = tempPath("table.json");
    ASSERT_TRUE(writeFile(json, QJsonDocument(dump).toJson()));
    const ProcResult r = crosscheck({QStringLiteral("table"), book, json});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString() << r.outText().toStdString();
}

TEST_F(WorkbookCrossCheck, SeriesFilesHoldTheCellsOpenpyxlReadsLineByLine)
{
    Import_Excel_DataSheet dialog;
    modalScripts.push_back([&](QDialog &) {
        dialog.select_all_button->click();
        dialog.ok_button->click();
        return dialog.result();
    });
    ASSERT_EQ(dialog.Open_excel_Wnd(book), 1);
    const ProcResult r = crosscheck({QStringLiteral("series"), book, Data_Folder_Path});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString() << r.outText().toStdString();
}
