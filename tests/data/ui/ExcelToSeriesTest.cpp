// The workbook columns to series dialog driven through its widgets: one series per ticked column
// (renamed through its series name, the in-use and replace questions with and without
// apply-to-all), and one series made new, replaced or extended, with names refused, and a
// workbook that fails after the choice or holds formulas never computed leaving the target as it
// was.
#include "data/DataState.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/ExcelDialogDriver.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/SeriesDialogDriver.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "support/WindowFixture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace testsupport;

namespace
{
struct LongAnswer {
    bool ok = true;
    bool applyAll = false;
};
struct LongSeen {
    QString title, message;
    bool checkShown = false;
    bool keepsByDefault = false; // Return answers No
};

// Answers the long-message dialog each time it runs, from a queue, and records what it showed;
// every other modal window goes on to the fixture's own handler.
class LongAnswerer
{
public:
    LongAnswerer(QList<LongAnswer> answers, ModalRunner::Handler others)
        : m_answers(std::move(answers)), m_others(std::move(others))
    {
        ModalRunner::setHandler([this](QDialog &dialog) {
            auto *d = qobject_cast<Long_SMS_Dlg *>(&dialog);
            if (!d)
                return m_others(dialog);
            if (m_answers.isEmpty()) {
                ADD_FAILURE() << "unexpected question: " << d->_Msg_Val->toPlainText().toStdString();
                return 0;
            }
            seen.append({d->_Msg_Title->text(), d->_Msg_Val->toPlainText(), !d->apply_chk->isHidden(),
                         d->no_button->isDefault() && !d->ok_button->isDefault()});
            const LongAnswer a = m_answers.takeFirst();
            d->apply_chk->setChecked(a.applyAll);
            (a.ok ? d->ok_button : d->no_button)->click();
            return d->result();
        });
    }
    ~LongAnswerer() { ModalRunner::setHandler(m_others); }
    QList<LongSeen> seen;

private:
    QList<LongAnswer> m_answers;
    ModalRunner::Handler m_others;
};

const QList<QStringList> kPlaces{
    {"City", "Zip"}, {" Oslo", "0150"}, {QString(), "8000"}, {"Rome", QString()}};
} // namespace

class ExcelToSeries : public WindowFixture
{
protected:
    BatchWizard manager;
    Import_Excel_DataSheet dialog{&manager};
    QStringList inUse;

    void SetUp() override
    {
        WindowFixture::SetUp();
        DataState::instance().reset();
        dialog.setInUseTest([this](const QString &name) { return inUse.contains(name); });
    }

    QString workbook(const QList<QStringList> &rows, const QString &name = QStringLiteral("book.xlsx"))
    {
        const QString path = tempPath(name);
        writeWorkbook(path, {sheet("S", rows)});
        return path;
    }

    ModalRunner::Handler fixtureHandler()
    {
        return [this](QDialog &d) { return runModal(d); };
    }

    int run(const QString &path, const std::function<void()> &body)
    {
        modalScripts.push_back([this, body](QDialog &) {
            body();
            return dialog.result();
        });
        dialog.setResult(0);
        return dialog.Open_excel_Wnd(path);
    }
};

TEST_F(ExcelToSeries, EachTickedColumnBecomesItsOwnSeries)
{
    const QString path = workbook(kPlaces);
    const int result = run(path, [&] {
        EXPECT_TRUE(dialog.Each_col_RD->isChecked());
        EXPECT_FALSE(dialog.list_name->isEnabled());
        EXPECT_FALSE(dialog.ColList->isColumnHidden(2));
        dialog.select_all_button->click();
        dialog.ok_button->click();
    });
    EXPECT_EQ(result, 1);
    // One line per data row, empty cells as empty lines, values trimmed.
    EXPECT_EQ(readSeriesFile("City"), QByteArray("Oslo\n\nRome\n"));
    EXPECT_EQ(readSeriesFile("Zip"), QByteArray("0150\n8000\n\n"));

    // Renaming the series of a column writes under the new name.
    run(path, [&] {
        toggleColumn(dialog, 0);
        dialog.ListData_xl->setData(dialog.ListData_xl->index(0, 2), QStringLiteral("Towns"));
        saveArtifact(&dialog, "excel_to_series.png");
        dialog.ok_button->click();
    });
    EXPECT_EQ(readSeriesFile("Towns"), QByteArray("Oslo\n\nRome\n"));
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.messages().join('|').toStdString();
}

TEST_F(ExcelToSeries, SeriesInUseIsSkippedAndReplacingAsksEveryRunAfresh)
{
    const QString path = workbook(kPlaces);
    writeSeriesFile("City", "bound\n");
    writeSeriesFile("Zip", "old\n");
    inUse = {"City"};
    {
        LongAnswerer answers({{true, false}, {true, true}}, fixtureHandler());
        run(path, [&] {
            dialog.select_all_button->click();
            dialog.ok_button->click();
        });
        ASSERT_EQ(answers.seen.size(), 2);
        EXPECT_EQ(answers.seen[0].title, "Message :");
        EXPECT_TRUE(
            answers.seen[0].message.startsWith("City\nBatch processing Series name is already in use"));
        EXPECT_EQ(answers.seen[1].title, "Batch Processing Series already exists :");
        EXPECT_EQ(answers.seen[1].message,
                  "Zip\nBatch Processing Series already exists. Do you want to replace it?");
        EXPECT_TRUE(answers.seen[1].checkShown);
        EXPECT_TRUE(answers.seen[1].keepsByDefault);
    }
    EXPECT_EQ(readSeriesFile("City"), QByteArray("bound\n"));
    EXPECT_EQ(readSeriesFile("Zip"), QByteArray("0150\n8000\n\n"));
    EXPECT_EQ(Msg_Apply_All_Chk.load(), 1);

    // The apply-to-all tick of the last run does not answer for this one: the in-use series is
    // asked about again and kept.
    {
        LongAnswerer answers({{false, false}}, fixtureHandler());
        run(path, [&] {
            toggleColumn(dialog, 0);
            dialog.ok_button->click();
        });
        EXPECT_EQ(answers.seen.size(), 1);
    }
    EXPECT_EQ(readSeriesFile("City"), QByteArray("bound\n"));

    // A sheet of one column offers no apply-to-all box.
    const QString single = workbook({{"Zip"}, {"1"}}, "single.xlsx");
    LongAnswerer answers({{false, false}}, fixtureHandler());
    run(single, [&] {
        toggleColumn(dialog, 0);
        dialog.ok_button->click();
    });
    ASSERT_EQ(answers.seen.size(), 1);
    EXPECT_FALSE(answers.seen[0].checkShown);
    EXPECT_EQ(readSeriesFile("Zip"), QByteArray("0150\n8000\n\n"));
}

TEST_F(ExcelToSeries, BadSeriesNamesAreRefusedBeforeAnythingIsWritten)
{
    const QString path = workbook(kPlaces);
    run(path, [&] {
        dialog.select_all_button->click();
        dialog.ListData_xl->setData(dialog.ListData_xl->index(1, 2), QStringLiteral("../up"));
        dialog.ok_button->click();
        dialog.ListData_xl->setData(dialog.ListData_xl->index(1, 2), QStringLiteral("  "));
        dialog.ok_button->click();
        dialog.Fill_col_RD->click();
        dialog.ok_button->click();
        QTest::keyClicks(dialog.list_name, ".hidden");
        dialog.ok_button->click();
        dialog.matrix_fill_type->button(2)->click();
        EXPECT_TRUE(dialog.ColList->isColumnHidden(2));
        EXPECT_FALSE(dialog.List_ComboBox->isHidden());
        dialog.ok_button->click();
        dialog.cancel_button->click();
    });
    EXPECT_EQ(messages.messages(), (QStringList{"\nPlease enter list name.", "\nPlease enter list name.",
                                                "\nPlease enter list name.", "\nPlease enter list name.",
                                                "\nPlease select list name."}));
    EXPECT_FALSE(seriesExists("City"));
    EXPECT_FALSE(QFile::exists(tempPath("up.txt")));
}

TEST_F(ExcelToSeries, OneSeriesNewReplacedOrExtended)
{
    const QString path = workbook({{"A", "B"}, {"a1", "b1"}, {"a2", "b2"}});
    writeSeriesFile("Mixed", "old");
    // Append: the old content stays first, then the cells row by row.
    run(path, [&] {
        dialog.select_all_button->click();
        dialog.Fill_col_RD->click();
        dialog.matrix_fill_type->button(2)->click();
        dialog.List_ComboBox->setCurrentText("Mixed");
        dialog.ok_button->click();
    });
    EXPECT_EQ(readSeriesFile("Mixed"), QByteArray("old\na1\nb1\na2\nb2\n"));

    // Reopening goes back to a new series; an existing name answered No writes nothing and
    // leaves the dialog usable.
    messages.queueAnswers({false});
    run(path, [&] {
        EXPECT_TRUE(dialog.Each_col_RD->isChecked());
        EXPECT_EQ(dialog.fill_col_option, 0);
        toggleColumn(dialog, 1);
        dialog.Fill_col_RD->click();
        QTest::keyClicks(dialog.list_name, "Mixed");
        dialog.ok_button->click();
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_EQ(PleaseWaitSheet::current(), nullptr);
        dialog.matrix_fill_type->button(1)->click();
        dialog.List_ComboBox->setCurrentText("Mixed");
        dialog.ok_button->click();
    });
    EXPECT_EQ(messages.questions(),
              QStringList{"Batch Processing Series already exists. Do you want to replace it?"});
    EXPECT_EQ(readSeriesFile("Mixed"), QByteArray("b1\nb2\n"));
}

TEST_F(ExcelToSeries, WorkbookFailingAtOkLeavesTheTargetAlone)
{
    const QString path = workbook({{"A"}, {"1"}});
    writeSeriesFile("Keep", "precious\n");
    for (int choice : {1, 2}) {
        writeWorkbook(path, {sheet("S", {{"A"}, {"1"}})});
        messages.clear();
        run(path, [&] {
            toggleColumn(dialog, 0);
            dialog.Fill_col_RD->click();
            dialog.matrix_fill_type->button(choice)->click();
            dialog.List_ComboBox->setCurrentText("Keep");
            ASSERT_TRUE(writeFile(path, "spoiled"));
            messages.queueChoices({0}); // Load Again
            dialog.ok_button->click();
            EXPECT_EQ(dialog.result(), 0);
            dialog.cancel_button->click();
        });
        EXPECT_EQ(messages.messages().size(), 1);
        EXPECT_EQ(readSeriesFile("Keep"), QByteArray("precious\n"));
    }
}

// A ticked column holding formulas the workbook never computed is refused before any series is
// written or extended, naming its cells; results the writer stored are taken as they stand.
TEST_F(ExcelToSeries, FormulasNeverComputedAreRefusedBeforeAnythingIsWritten)
{
    // Name, Price, Total (C2-C41) and Label (D2-D3): formulas with no results stored.
    const QString never = QStringLiteral(TESSALY_TEST_DATA "/formulas/openpyxl.xlsx");
    writeSeriesFile("Keep", "precious\n");
    const int result = run(never, [&] {
        toggleColumn(dialog, 0);
        toggleColumn(dialog, 2);
        dialog.ok_button->click();
        EXPECT_EQ(dialog.result(), 0);
        dialog.Fill_col_RD->click();
        dialog.matrix_fill_type->button(2)->click();
        dialog.List_ComboBox->setCurrentText("Keep");
        dialog.ok_button->click();
        // Without the column of formulas the rest is imported.
        dialog.Each_col_RD->click();
        toggleColumn(dialog, 2);
        dialog.ok_button->click();
    });
    EXPECT_EQ(result, 1);
    const QString refusal =
        "\nTotal: C2-C41 hold formulas that were never computed; open and save the workbook "
        "in a spreadsheet program first.\nNothing was imported.";
    EXPECT_EQ(messages.messages(), (QStringList{refusal, refusal}));
    EXPECT_FALSE(seriesExists("Total"));
    EXPECT_EQ(readSeriesFile("Keep"), QByteArray("precious\n"));
    EXPECT_TRUE(readSeriesFile("Name").startsWith("Item 1\nItem 2\n"));

    // The same formulas with the results xlsxwriter was given.
    messages.clear();
    run(QStringLiteral(TESSALY_TEST_DATA "/formulas/xlsxwriter_values.xlsx"), [&] {
        toggleColumn(dialog, 2);
        toggleColumn(dialog, 3);
        dialog.ok_button->click();
    });
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.messages().join('|').toStdString();
    EXPECT_TRUE(readSeriesFile("Total").startsWith("5\n7.5\n10\n"));
    EXPECT_TRUE(readSeriesFile("Label").startsWith("#Item 1\n#Item 2\n\n"));
}

// A workbook changed on disk while the dialog is open is asked about at OK: Load Again takes the
// ticked columns, found by their titles, from the file as it is now; Cancel writes nothing.
TEST_F(ExcelToSeries, AWorkbookChangedWhileOpenIsAskedAboutAndReadAsItIsNow)
{
    const QString path = workbook(kPlaces);
    for (const int answer : {1, 0}) {
        writeWorkbook(path, {sheet("S", kPlaces)});
        messages.clear();
        run(path, [&] {
            toggleColumn(dialog, 1); // "Zip"
            // A column put in front and a row added while the dialog is open.
            writeWorkbook(
                path,
                {sheet("S", {{"Country", "City", "Zip"}, {"NO", "Oslo", "0150"}, {"IT", "Rome", "00100"}})});
            messages.queueChoices({answer});
            dialog.ok_button->click();
            if (answer != 0)
                dialog.cancel_button->click();
        });
        EXPECT_EQ(messages.questions(), QStringList{Import_Excel_DataSheet::changedQuestion(path)});
        EXPECT_EQ(readSeriesFile("Zip"), answer == 0 ? QByteArray("0150\n00100\n") : QByteArray("<missing>"))
            << answer;
    }
}
