// A design's workbook that is gone from its path is named when the design opens and before a run,
// with the rows as last loaded or the file chosen where it is now; and a column the design's
// objects read is found again by its heading once the sheet has it back.
#include "editor/ui/ChangedWorkbook.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/MainWindowFixture.h"
#include "foundation/CardCodes.h"
#include "output/RunPlan.h"
#include "support/Workbooks.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

namespace
{
constexpr int UseRowsAsLoaded = 0;
constexpr int ChooseFile = 1;
constexpr int LoadItAgain = 0;
} // namespace

class WorkbookWhereabouts : public MainWindowFixture
{
protected:
    QString book() const { return tempPath(QStringLiteral("gifts.xlsx")); }

    // A saved design whose text reads the column "Value" of rows loaded on 8 December 2026 at 10:14.
    QString boundDesign(const QString &name = QStringLiteral("gifts.dcard"))
    {
        testsupport::writeOneSheet(book(), {{"Name", "Value"}, {"Ann", "10"}, {"Bob", "20"}}, "Gifts");
        ExcelBindingTable table = testsupport::loadedTable(book(), QStringLiteral("Gifts"), {0, 1});
        table.Excel_Binding_Use = true;
        table.sourceFacts.loadedAt =
            QDateTime(QDate(2026, 12, 8), QTime(10, 14), QTimeZone::systemTimeZone()).toUTC();
        window->document().setBinding(table);
        const GraphicPtr value = SKTGraphic::create(SKTGraphic::Kind::Text);
        value->setBounds(QRectF(10, 10, 150, 20));
        value->data_source_type = DataSourceCode::BindingColumn;
        value->Set_Excel_binding_Column(2, QStringLiteral("Value"));
        window->document().insertGraphicsIntoSide(0, {value}, {0});
        const QString design = tempPath(name);
        Project_File_Name = design;
        EXPECT_TRUE(window->designFile().Save_project_file(false, false).ok());
        return design;
    }
    void open(const QString &design)
    {
        files.answers.push_back(design);
        window->fileCommands().Open_Btn_Clicked();
    }
    // What the design's text fills its cards with, row by row, as a run reads it.
    QStringList runValues()
    {
        const auto plan = RunPlan::make(window->document().design());
        QStringList values;
        for (int row = 0; row < plan->cardCount(); ++row)
            values << plan->valueOf(false, 0, row).value_or(QStringLiteral("(own)"));
        return values;
    }
    QString goneQuestion() const
    {
        return QStringLiteral("gifts.xlsx is no longer at %1.\n\nDo you want to go on with its rows as last "
                              "loaded on 8 December 2026 at 10:14, or choose the workbook where it is now?")
            .arg(book());
    }
};

TEST_F(WorkbookWhereabouts, AWorkbookGoneIsNamedWhenTheDesignOpensWithItsRowsOrTheFileChosen)
{
    struct Case {
        const char *what;
        int answer;
        bool choose; // the file panel answered with the moved workbook (else cancelled)
        QStringList values;
        bool movedPath;
    };
    const QList<Case> cases = {
        {"rows as loaded", UseRowsAsLoaded, false, {"10", "20"}, false},
        {"file chosen", ChooseFile, true, {"11", "21", "31"}, true},
        {"panel cancelled", ChooseFile, false, {"10", "20"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        window->fileCommands().New_Project();
        messages.clear();
        files.requests.clear();
        files.answers.clear();
        const QString design = boundDesign(QString::fromLatin1(c.what) + QStringLiteral(".dcard"));
        const QString moved = tempPath(QStringLiteral("moved/gifts.xlsx"));
        QDir().mkpath(tempPath(QStringLiteral("moved")));
        QFile::remove(moved);
        ASSERT_TRUE(QFile::rename(book(), moved));
        testsupport::writeOneSheet(moved, {{"Name", "Value"}, {"Ann", "11"}, {"Bob", "21"}, {"Cy", "31"}},
                                   "Gifts");
        messages.queueChoices({c.answer});
        files.answers.push_back(design);
        if (c.answer == ChooseFile)
            files.answers.push_back(c.choose ? std::optional<QString>(moved) : std::nullopt);
        window->fileCommands().Open_Btn_Clicked();
        EXPECT_EQ(messages.questions(), QStringList{goneQuestion()});
        EXPECT_EQ(files.requests.size(), c.answer == ChooseFile ? 2 : 1);
        EXPECT_EQ(runValues(), c.values);
        EXPECT_EQ(binding().Excel_Source_Path, c.movedPath ? moved : book());
        EXPECT_EQ(window->designFile().isModified(), c.movedPath);
        if (c.movedPath) { // the rows loaded from the chosen file show at once
            EXPECT_EQ(front().first()->Text_contents().text.toStdString(), "11");
        }

        // Answered once: the output windows do not ask again about the same state of the file.
        modalScripts.push_back([](QDialog &) { return 0; });
        window->registry().open(WindowRegistry::Window::Export);
        EXPECT_EQ(messages.questions().size(), 1);
        modalScripts.clear();
        window->designFile().markClean();
        if (!c.movedPath) {
            ASSERT_TRUE(QFile::rename(moved, book()));
        }
    }
}

// A workbook that goes while the design is open is named as a run's window opens.
TEST_F(WorkbookWhereabouts, AWorkbookGoneWhileTheDesignIsOpenIsNamedBeforeARun)
{
    boundDesign();
    ASSERT_TRUE(QFile::remove(book()));
    messages.queueChoices({UseRowsAsLoaded});
    modalScripts.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print"));
        EXPECT_EQ(messages.questions(), QStringList{goneQuestion()}) << "asked before the window opened";
        return 0;
    });
    window->registry().open(WindowRegistry::Window::Print);
    EXPECT_EQ(messages.questions().size(), 1);
    EXPECT_EQ(runValues(), (QStringList{"10", "20"}));
}

// "Value" renamed on the sheet and loaded again leaves the text empty; renamed back and loaded again,
// the text reads it once more.
TEST_F(WorkbookWhereabouts, AColumnRenamedAndRenamedBackIsFoundAgain)
{
    const QString design = boundDesign();
    testsupport::writeOneSheet(book(), {{"Name", "Amount"}, {"Ann", "12"}, {"Bob", "22"}}, "Gifts");
    messages.queueChoices({LoadItAgain});
    open(design);
    EXPECT_EQ(runValues(), (QStringList{"", ""}));
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown().first().startsWith("gifts.xlsx no longer has the column \"Value\""));

    testsupport::writeOneSheet(book(), {{"Name", "Value"}, {"Ann", "13"}, {"Bob", "23"}, {"Cy", "33"}},
                               "Gifts");
    messages.queueChoices({LoadItAgain});
    modalScripts.push_back([](QDialog &) { return 0; });
    window->registry().open(WindowRegistry::Window::Export);
    EXPECT_EQ(messages.questions().size(), 2);
    EXPECT_EQ(runValues(), (QStringList{"13", "23", "33"}));
    EXPECT_FALSE(RunPlan::make(window->document().design())->binding(false, 0).missingColumn());
    EXPECT_EQ(front().first()->Text_contents().text, QStringLiteral("13"));
    EXPECT_EQ(shown().size(), 1) << "nothing more is gone";
}
