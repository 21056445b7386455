// A design's rows are those of its workbook when they were loaded: a workbook changed since is
// named when the design opens and before export, print and mail, and its rows can be loaded again.
#include "editor/ui/FileCommands.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/MainWindowFixture.h"
#include "foundation/CardCodes.h"
#include "model/EditStep.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/Inspector.h"
#include "support/DesignSetup.h"
#include "support/Workbooks.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTimeZone>

namespace
{
const QString Question =
    QStringLiteral("people.xlsx has changed since its rows were loaded on 8 December 2026 at 10:14.\n\n"
                   "Do you want to load its rows again (bound objects follow their column headings), or go "
                   "on with the rows as loaded?");
constexpr int LoadAgain = 0;
constexpr int AsLoaded = 1;
} // namespace

class ChangedWorkbookTest : public MainWindowFixture
{
protected:
    QString book() const { return tempPath(QStringLiteral("people.xlsx")); }

    void writeBook(const QList<QStringList> &rows, const QString &sheet = QStringLiteral("Guests"))
    {
        testsupport::writeOneSheet(book(), rows, sheet);
    }

    // A saved design whose text reads the column "Mail" of rows loaded on 8 December 2026 at 10:14.
    QString boundDesign()
    {
        writeBook({{"Name", "Mail"}, {"Ann", "ann@example.com"}, {"Bob", "bob@example.com"}});
        writeBinding([&](ExcelBindingTable &table) {
            table = testsupport::loadedTable(book(), QStringLiteral("Guests"), {0, 1});
            table.Excel_Binding_Use = true;
            table.sourceFacts.loadedAt =
                QDateTime(QDate(2026, 12, 8), QTime(10, 14), QTimeZone::systemTimeZone()).toUTC();
        });
        const GraphicPtr mail = SKTGraphic::create(SKTGraphic::Kind::Text);
        mail->setBounds(QRectF(10, 10, 150, 20));
        mail->data_source_type = DataSourceCode::BindingColumn;
        mail->Set_Excel_binding_Column(2, QStringLiteral("Mail"));
        window->document().insertGraphicsIntoSide(0, {mail}, {0});
        const QString design = tempPath(QStringLiteral("party.dcard"));
        Project_File_Name = design;
        EXPECT_TRUE(window->designFile().Save_project_file(false, false).ok());
        return design;
    }
    void open(const QString &design)
    {
        files.answers.push_back(design);
        window->fileCommands().Open_Btn_Clicked();
    }
    QStringList column(int k)
    {
        QStringList values;
        const ExcelBindingTable &table = binding();
        for (int row = 0; row < table.rowCount(); ++row)
            values << table.objectValue(k, row);
        return values;
    }
    const GraphicPtr &openedMail() { return front().first(); }
    QString editCommand(const QString &path)
    {
        QAction *action = window->menus().action(path);
        return action ? action->text().remove(QLatin1Char('&')) : QString();
    }
    void turnBackBorder()
    {
        Card_Property back = window->document().design().backPage;
        back.Card_border_chk = !back.Card_border_chk;
        testsupport::setPage(window->document(), SKTDocument::Back, back);
    }
    // Export read the design, its window closed at once.
    void openExport()
    {
        modalScripts.push_back([](QDialog &) { return 0; });
        window->registry().open(WindowRegistry::Window::Export);
    }
};

TEST_F(ChangedWorkbookTest, OpeningADesignNamesAChangedWorkbookAndLoadsItsRowsAgain)
{
    const QString design = boundDesign();
    // An address corrected, two rows added, and "Mail" moved behind a new first column.
    writeBook({{"Age", "Mail", "Name"},
               {"30", "ann@example.org", "Ann"},
               {"40", "bob@example.com", "Bob"},
               {"50", "cy@example.com", "Cy"},
               {"60", "di@example.com", "Di"}});
    messages.queueChoices({LoadAgain});
    open(design);
    EXPECT_EQ(messages.questions(), QStringList{Question});
    const int k =
        ColumnBinding::resolve(binding(), openedMail()->excel_col_indx, openedMail()->excel_col_title);
    EXPECT_EQ(column(k),
              (QStringList{"ann@example.org", "bob@example.com", "cy@example.com", "di@example.com"}));
    EXPECT_EQ(binding().sheetRowOf(3), 5);
    // The text shows its column's value where "Mail" now stands, and so does the page once it is shown.
    EXPECT_EQ(openedMail()->Text_contents().text, QStringLiteral("ann@example.org"));
    window->Show_RHS_Properties(openedMail());
    auto &source = window->inspector().dataSource();
    EXPECT_EQ(source.Batch_Series->currentText(), QStringLiteral("Mail"));
    EXPECT_EQ(window->findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"))->toPlainText(),
              QStringLiteral("ann@example.org"));
    EXPECT_TRUE(window->designFile().isModified()); // new rows: saving keeps them
    EXPECT_TRUE(shown().isEmpty());

    // The rows loaded again are the file as it is: no question before a run.
    modalScripts.push_back([](QDialog &) { return 0; });
    window->registry().open(WindowRegistry::Window::Export);
    EXPECT_EQ(messages.questions().size(), 1);
    EXPECT_EQ(modalTitles.last(), QStringLiteral("Export"));
}

// Going on with the rows as loaded keeps them untouched; each of export, print and mail asks before
// its window opens, once for each new change of the file.
TEST_F(ChangedWorkbookTest, EachRunAsksBeforeItsWindowAboutANewChangeOnly)
{
    const QString design = boundDesign();
    writeBook({{"Name", "Mail"}, {"Ann", "ann@example.org"}, {"Bob", "bob@example.com"}, {"Cy", "c"}});
    messages.queueChoices({AsLoaded});
    open(design);
    EXPECT_EQ(messages.questions(), QStringList{Question});
    EXPECT_EQ(column(2), (QStringList{"ann@example.com", "bob@example.com"}));
    EXPECT_FALSE(window->designFile().isModified());

    const QList<QPair<WindowRegistry::Window, QString>> runs = {
        {WindowRegistry::Window::Export, QStringLiteral("Export")},
        {WindowRegistry::Window::Print, QStringLiteral("Print")},
        {WindowRegistry::Window::Mail, QStringLiteral("Send Mail")},
    };
    QStringList rows{"Name", "Mail"};
    for (const auto &[road, title] : runs) {
        // The same state of the file is not asked about again.
        qsizetype asked = messages.questions().size();
        modalScripts.push_back([](QDialog &) { return 0; });
        window->registry().open(road);
        EXPECT_EQ(messages.questions().size(), asked) << title.toStdString();

        rows << QStringLiteral("one more row for ") + title;
        writeBook({rows});
        messages.queueChoices({AsLoaded});
        modalScripts.push_back([&, title = title](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), title);
            EXPECT_EQ(messages.questions().size(), asked + 1) << "asked before the window opened";
            return 0;
        });
        window->registry().open(road);
        EXPECT_EQ(messages.questions().size(), asked + 1) << title.toStdString();
    }
    EXPECT_EQ(column(2), (QStringList{"ann@example.com", "bob@example.com"}));
}

TEST_F(ChangedWorkbookTest, AWorkbookThatCannotBeLoadedAgainSaysWhyAndKeepsTheRows)
{
    const QString design = boundDesign();
    writeBook({{"Name", "Mail"}, {"Ann", "ann@example.org"}}, QStringLiteral("People"));
    messages.queueChoices({LoadAgain});
    open(design);
    EXPECT_EQ(shown(),
              QStringList{"people.xlsx could not be loaded again.\nIt has no sheet \"Guests\" any more."
                          "\n\nThe rows as loaded are used."});
    EXPECT_EQ(column(2), (QStringList{"ann@example.com", "bob@example.com"}));
    EXPECT_FALSE(window->designFile().isModified());
    modalScripts.push_back([](QDialog &) { return 0; });
    window->registry().open(WindowRegistry::Window::Export);
    EXPECT_EQ(messages.questions().size(), 1); // asked again only once the file changes again
}

TEST_F(ChangedWorkbookTest, AWorkbookSavedAgainUnchangedIsNotAskedAboutNorReadAgain)
{
    const QString design = boundDesign();
    QFile file(book());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(90), QFileDevice::FileModificationTime));
    file.close();
    const WorkbookFacts &facts = binding().sourceFacts;
    open(design);
    EXPECT_TRUE(messages.questions().isEmpty());
    // Its bytes were compared once: the new time is known to hold the same bytes.
    EXPECT_FALSE(facts.needsHashing(book()));
    modalScripts.push_back([](QDialog &) { return 0; });
    window->registry().open(WindowRegistry::Window::Export);
    EXPECT_TRUE(messages.questions().isEmpty());
}

// Loading the rows again is a step of its own that the Edit menu names. Steps made before it, undone
// and redone around it, leave the rows as they are; the text bound to a column shows the first row
// the design holds after each; and what the user answered about the file outlives a step undone.
TEST_F(ChangedWorkbookTest, RowsLoadedAgainAreAStepOfTheirOwnAndOtherStepsLeaveThem)
{
    open(boundDesign());
    SKTDocument &doc = window->document();
    const GraphicPtr mail = openedMail();
    const float opacity = mail->alpha_val;
    {
        const EditStep step(doc, {QStringLiteral("Opacity"), SKTDocument::Front, {}},
                            {GraphicStates::of({mail})});
        mail->alpha_val = opacity / 2;
    }
    turnBackBorder();
    writeBook(
        {{"Name", "Mail"}, {"Ann", "ann@example.org"}, {"Bob", "bob@example.com"}, {"Cy", "cy@example.com"}});
    messages.queueChoices({LoadAgain});
    openExport();
    const QStringList fresh{"ann@example.org", "bob@example.com", "cy@example.com"};
    const QStringList loaded{"ann@example.com", "bob@example.com"};
    ASSERT_EQ(column(2), fresh);
    EXPECT_EQ(editCommand(QStringLiteral("Edit/Undo")), QStringLiteral("Undo Load Again"));

    const struct {
        const char *command;
        QStringList rows;
        bool halfOpaque;
    } steps[] = {
        {"Edit/Undo", loaded, true},  // the rows loaded again
        {"Edit/Undo", loaded, true},  // the back page
        {"Edit/Undo", loaded, false}, // the text's opacity
        {"Edit/Redo", loaded, true},  {"Edit/Redo", loaded, true}, {"Edit/Redo", fresh, true},
    };
    for (const auto &step : steps) {
        window->menus().action(QString::fromLatin1(step.command))->trigger();
        const std::string name = step.command + std::to_string(&step - steps);
        EXPECT_EQ(column(2), step.rows) << name;
        EXPECT_EQ(mail->textContentsForDrawing().text, step.rows.first()) << name;
        EXPECT_FLOAT_EQ(mail->alpha_val, step.halfOpaque ? opacity / 2 : opacity) << name;
    }

    // The file changes again and the user goes on with the rows as loaded: undo of the page step
    // made before keeps that answer, and the rows.
    turnBackBorder();
    writeBook({{"Name", "Mail"}, {"Ann", "ann@example.net"}});
    messages.queueChoices({AsLoaded});
    openExport();
    const qsizetype asked = messages.questions().size();
    window->menus().action(QStringLiteral("Edit/Undo"))->trigger();
    openExport();
    EXPECT_EQ(messages.questions().size(), asked);
    EXPECT_EQ(column(2), fresh);
}
