// The series manager driven through its buttons and tables: counts, saving under new and existing
// names, deleting, removing values, the replace question, editing a value, exporting, and the viewer.
#include "data/DataState.h"
#include "data/SeriesFiles.h"
#include "data/SpreadsheetWriter.h"
#include "data/XlsxReader.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/SeriesDialogDriver.h"
#include "data/ui/Update_Ex_Num.h"
#include "data/ui/View_Data_Series.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RowListModel.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "output/ui/Open_Export_Log.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace testsupport;

namespace
{
QString msg(const QString &text)
{
    return QStringLiteral("\n") + text;
}

// Answers each question as a stray Return does: with its default button (Yes for a plain Yes/No).
class ReturnAnswerer : public MessageAnswerer
{
public:
    bool askYesNo(const QString &text) override
    {
        MessageAnswerer::askYesNo(text);
        return true;
    }
    int askChoice(const QString &text, const QStringList &buttons, int defaultIndex, int escapeIndex) override
    {
        MessageAnswerer::askChoice(text, buttons, defaultIndex, escapeIndex);
        return defaultIndex;
    }
};
} // namespace

class SeriesManager : public WindowFixture
{
protected:
    // Runs the manager with body as the user's session; the session ends with Close.
    void session(BatchWizard &w, const std::function<void()> &body)
    {
        modalScripts.push_front([&w, body](QDialog &) {
            body();
            w.close_button->isVisible() ? w.close_button->click() : w.close_2_button->click();
            return w.result();
        });
        w.Open_Wnd();
    }
    QStringList inUse;
    BatchWizard *makeManager()
    {
        auto *w = new BatchWizard;
        w->setInUseTest([this](const QString &name) { return inUse.contains(name); });
        Open_Export_Log::fillRegistry(registry, w);
        w->setRegistry(&registry);
        return w;
    }
    WindowRegistry registry;
};

TEST_F(SeriesManager, CountsNewListAndTheFailureTexts)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        EXPECT_TRUE(w->firstScreenShown());
        EXPECT_EQ(w->batch_list_count->text(), QStringLiteral("Total List : 0"));
        w->update_button->click();
        w->delete_list_button->click();
        EXPECT_EQ(messages.messages(),
                  (QStringList{msg("Available list is empty."), msg("Available list is empty.")}));
    });
    writeSeriesFile("Alpha", "1\n2\n");
    writeSeriesFile("Beta", "x\n");
    messages.clear();
    session(*w, [&] {
        EXPECT_EQ(w->batch_list_count->text(), QStringLiteral("Total List : 2"));
        w->update_button->click(); // nothing selected
        EXPECT_EQ(messages.messages().value(0),
                  msg("Please select a record from the available list to continue."));
        w->addnew_button->click();
        EXPECT_FALSE(w->firstScreenShown());
        EXPECT_EQ(w->batch_list_name->text(), QStringLiteral("Untitled"));
        EXPECT_EQ(w->batch_value_count->text(), QStringLiteral("Total Rows : 0"));
        w->save_button->click();
        w->delete_rows_button->click();
        w->export_button->click();
        EXPECT_EQ(messages.messages().mid(1),
                  (QStringList{msg("List is empty."), msg("List is empty."), msg("List is empty.")}));
        saveArtifact(w.get(), QStringLiteral("series_manager_new.png"));
    });
}

TEST_F(SeriesManager, OpensTrimmedValuesAndSavesUnderANewNameLeavingOnlyThatFile)
{
    writeSeriesFile("A", "one\n\n  two  \nthree\r\n");
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        clickRow(w->List, 0);
        w->update_button->click();
        EXPECT_EQ(w->values(), (QStringList{"one", "two", "three"}));
        EXPECT_EQ(w->batch_value_count->text(), QStringLiteral("Total Rows : 3"));
        saveArtifact(w.get(), QStringLiteral("series_manager_values.png"));
        w->batch_list_name->selectAll();
        QTest::keyClicks(w->batch_list_name, "B");
        w->save_button->click();
        EXPECT_TRUE(w->firstScreenShown());
        EXPECT_EQ(w->batch_list_count->text(), QStringLiteral("Total List : 1"));
    });
    EXPECT_FALSE(seriesExists("A"));
    EXPECT_EQ(readSeriesFile("B"), QByteArray("one\ntwo\nthree\n"));
    EXPECT_TRUE(messages.questions().isEmpty());
}

TEST_F(SeriesManager, SavingOntoAnExistingSeriesAsksAndKeepsTheEditedOne)
{
    writeSeriesFile("A", "a1\na2\n");
    writeSeriesFile("C", "old\n");
    std::unique_ptr<BatchWizard> w(makeManager());
    messages.queueAnswers({false, true});
    session(*w, [&] {
        clickRow(w->List, 0);
        w->update_button->click();
        w->batch_list_name->setText(QStringLiteral("C"));
        w->save_button->click(); // No: stays on the values
        EXPECT_FALSE(w->firstScreenShown());
        EXPECT_EQ(readSeriesFile("C"), QByteArray("old\n"));
        w->save_button->click(); // Yes
        EXPECT_TRUE(w->firstScreenShown());
    });
    EXPECT_EQ(messages.questions().size(), 2);
    EXPECT_EQ(messages.questions().value(0),
              QStringLiteral("Batch Processing Series already exists. Do you want to replace it?"));
    EXPECT_EQ(readSeriesFile("C"), QByteArray("a1\na2\n"));
    EXPECT_EQ(readSeriesFile("A"), QByteArray("a1\na2\n"));
}

// A stray Return at that question keeps the older series: nothing undoes a replace.
TEST_F(SeriesManager, ReturnAtTheReplaceQuestionKeepsTheOlderSeries)
{
    writeSeriesFile("A", "a1\n");
    writeSeriesFile("C", "old\n");
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        clickRow(w->List, 0);
        w->update_button->click();
        w->batch_list_name->setText(QStringLiteral("C"));
        {
            ReturnAnswerer returnKey;
            w->save_button->click();
            EXPECT_EQ(returnKey.questions(), QStringList{SeriesFiles::MsgAlreadyExists});
        }
        MessageService::install(&messages);
        EXPECT_FALSE(w->firstScreenShown()); // closed below without saving
    });
    EXPECT_EQ(readSeriesFile("C"), QByteArray("old\n"));
}

TEST_F(SeriesManager, SaveRefusesNamesThatLeaveTheFolderAndSeriesInUse)
{
    writeSeriesFile("Used", "v\n");
    inUse << QStringLiteral("Used");
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        w->addnew_button->click();
        w->Create_Value_List(QStringLiteral("v"));
        for (const char *bad : {"../x", "a/b", "..", ".hidden", "  "}) {
            w->batch_list_name->setText(QString::fromLatin1(bad));
            w->save_button->click();
        }
        const QString slash = msg("The name of a Batch Processing Series must not contain \"/\" or \"\\\".");
        const QString dot = msg("The name of a Batch Processing Series must not start with \".\".");
        EXPECT_EQ(messages.messages(),
                  (QStringList{slash, slash, dot, dot,
                               msg("Please enter a name for the Batch Processing Series.")}));
        w->back_button->click();
        clickRow(w->List, 0);
        w->update_button->click();
        w->save_button->click();
        EXPECT_EQ(messages.messages().value(5),
                  msg("Batch Processing Series can't be updated because it is in use.\n\nThe design open "
                      "in this window reads \"" +
                      QDir(Data_Folder_Path).filePath("Used.txt") + "\"."));
    });
    EXPECT_EQ(QDir(Data_Folder_Path).entryList(QDir::Files), QStringList{"Used.txt"});
}

TEST_F(SeriesManager, DeletingWalksTheSelectionAndStopsAtASeriesInUse)
{
    writeSeriesFile("S1", "1\n");
    writeSeriesFile("S2", "2\n");
    writeSeriesFile("S3", "3\n");
    inUse << QStringLiteral("S3");
    std::unique_ptr<BatchWizard> w(makeManager());
    messages.setDefaultAnswer(true);
    session(*w, [&] {
        clickRow(w->List, 2);
        clickRow(w->List, 1, Qt::ControlModifier); // S2 current and free, S3 in use
        w->delete_list_button->click();
        EXPECT_EQ(
            messages.messages(),
            QStringList{msg("Batch Processing Series can't be delete because it is currently in use.\n\n"
                            "The design open in this window reads \"" +
                            QDir(Data_Folder_Path).filePath("S3.txt") + "\".")});
        EXPECT_EQ(w->ListData->count(), 3); // the list is left until it is next filled
        clickRow(w->List, 0);
        clickRow(w->List, 1, Qt::ControlModifier);
        w->delete_list_button->click();
        EXPECT_EQ(w->ListData->count(), 1);
        EXPECT_EQ(w->batch_list_count->text(), QStringLiteral("Total List : 1"));
    });
    EXPECT_EQ(messages.questions().value(0),
              QStringLiteral("Are you sure want to delete selected Batch Processing Series?"));
    EXPECT_EQ(QDir(Data_Folder_Path).entryList(QDir::Files), QStringList{"S3.txt"});
}

TEST_F(SeriesManager, RemovingValuesSelectsTheRowAboveWhenItStillExists)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        w->addnew_button->click();
        for (const char *v : {"v0", "v1", "v2", "v3", "v4"})
            w->Create_Value_List(QString::fromLatin1(v));
        w->delete_rows_button->click();
        EXPECT_EQ(messages.messages(),
                  QStringList{msg("Please select at least one record from the list to continue.")});
        clickRow(w->List_value, 3);
        clickRow(w->List_value, 4, Qt::ControlModifier);
        w->delete_rows_button->click();
        EXPECT_EQ(w->values(), (QStringList{"v0", "v1", "v2"}));
        EXPECT_TRUE(selectedRowsOf(w->List_value).isEmpty());
        EXPECT_EQ(w->batch_value_count->text(), QStringLiteral("Total Rows : 3"));
        clickRow(w->List_value, 2);
        w->delete_rows_button->click();
        EXPECT_EQ(selectedRowsOf(w->List_value), QList<int>{1});
        clickRow(w->List_value, 0);
        w->delete_rows_button->click();
        EXPECT_TRUE(selectedRowsOf(w->List_value).isEmpty());
        EXPECT_EQ(w->values(), QStringList{"v1"});
    });
}

TEST_F(SeriesManager, ReplaceQuestionDecidesWhatHappensToTheListedValues)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    auto generate = [&](const char *from, const char *to) {
        modalScripts.push_back([&, from, to](QDialog &) {
            Generate_List *g = w->generator();
            EXPECT_FALSE(g->seq_file_name->isVisible());
            QTest::keyClicks(g->from_txt, from);
            QTest::keyClicks(g->to_txt, to);
            g->ok_button->click();
            return g->result();
        });
    };
    session(*w, [&] {
        w->addnew_button->click();
        w->Create_Value_List(QStringLiteral("old"));
        // No: keep and append.
        modalScripts.push_front([&](QDialog &) {
            w->Load_Number_Window->no_button->click();
            return w->Load_Number_Window->result();
        });
        generate("1", "2");
        w->series_value_button->click();
        EXPECT_EQ(w->values(), (QStringList{"old", "1", "2"}));
        // Cancel: nothing opens.
        modalScripts.push_front([&](QDialog &) {
            w->Load_Number_Window->cancel_button->click();
            return w->Load_Number_Window->result();
        });
        w->series_value_button->click();
        EXPECT_EQ(w->values(), (QStringList{"old", "1", "2"}));
        // Yes: replace.
        modalScripts.push_front([&](QDialog &) {
            w->Load_Number_Window->yes_button->click();
            return w->Load_Number_Window->result();
        });
        generate("7", "8");
        w->series_value_button->click();
        EXPECT_EQ(w->values(), (QStringList{"7", "8"}));
        EXPECT_EQ(w->batch_value_count->text(), QStringLiteral("Total Rows : 2"));
    });
    EXPECT_EQ(modalTitles.count(QStringLiteral("Generate Series")), 2);
}

TEST_F(SeriesManager, EditingAValueRefusesBlanksAndStoresItTrimmed)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        w->addnew_button->click();
        w->Create_Value_List(QStringLiteral("first"));
        w->Create_Value_List(QStringLiteral("second"));
        modalScripts.push_front([&](QDialog &) {
            Update_Ex_Num *e = w->Update_Value_Wnd;
            EXPECT_EQ(e->m_ex_num_str->text(), QStringLiteral("second"));
            EXPECT_EQ(e->m_ex_num_index->text(), QStringLiteral("2")); // the second row, as listed
            e->m_ex_num_str->selectAll();
            QTest::keyClicks(e->m_ex_num_str, "   ");
            e->ok_button->click();
            EXPECT_EQ(messages.messages(), QStringList{msg("Please enter a valid value.")});
            e->m_ex_num_str->selectAll();
            QTest::keyClicks(e->m_ex_num_str, "  changed ");
            e->ok_button->click();
            return e->result();
        });
        doubleClickRow(w->List_value, 1);
        EXPECT_EQ(w->values(), (QStringList{"first", "changed"}));
        // Two rows selected: the double click asks for one.
        clickRow(w->List_value, 0);
        clickRow(w->List_value, 1, Qt::ControlModifier);
        w->doubleClickInTable(w->List_value);
        EXPECT_EQ(messages.messages().value(1), msg("Please select only one record to update."));
    });
}

TEST_F(SeriesManager, ExportWritesAWorkbookOrPlainLinesAndShowsTheExportedFile)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    const QString xlsx = tempPath(QStringLiteral("out/values.xlsx"));
    const QString txt = tempPath(QStringLiteral("out/values.txt"));
    QDir().mkpath(tempPath(QStringLiteral("out")));
    files.answers = {xlsx, txt};
    session(*w, [&] {
        w->addnew_button->click();
        for (const char *v : {"10", "20", "30"})
            w->Create_Value_List(QString::fromLatin1(v));
        modalScripts.push_front([&](QDialog &d) {
            auto *log = dynamic_cast<Open_Export_Log *>(&d);
            EXPECT_NE(log, nullptr);
            if (!log)
                return 0;
            EXPECT_EQ(log->_open_log_message->text(),
                      QStringLiteral("Record has been exported successfully."));
            EXPECT_EQ(log->_open_log_chk->text(), QStringLiteral("Open exported file."));
            EXPECT_EQ(log->_open_log_path->text(), xlsx);
            log->cancel_button->click();
            return log->result();
        });
        w->export_button->click();
        w->Save_Ext_ComboBox->setCurrentIndex(1);
        modalScripts.push_front([](QDialog &) { return 0; });
        w->export_button->click();
    });
    EXPECT_EQ(files.requests.value(0).suffixes, QStringList{"xlsx"});
    SpreadsheetWriter::ReadWorkbook(xlsx, true);
    DataState::instance().Excel_Sheet_Number = 1;
    const XlsxRows rows = SpreadsheetWriter::ReadWorkbook(xlsx, false);
    ASSERT_TRUE(rows.ok);
    ASSERT_EQ(rows.rows.size(), 4);
    EXPECT_EQ(rows.rows.text(0, 0), QStringLiteral("Batch Value"));
    EXPECT_EQ(rows.rows.text(3, 0), QStringLiteral("30"));
    QFile t(txt);
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    EXPECT_EQ(t.readAll(), QByteArray("10\n20\n30\n"));
}

TEST_F(SeriesManager, ViewerShowsTrimmedValuesAndZeroForAMissingFile)
{
    writeSeriesFile("Towns", "  Leeds \n\nYork\r\n\tBath\n");
    View_Data_Series viewer;
    viewer.file_name = QStringLiteral("Towns");
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(viewer.series_name->text(), QStringLiteral("Towns"));
        EXPECT_EQ(viewer.list_count->text(), QStringLiteral("Total Rows : 3"));
        EXPECT_EQ(viewer.ListData->objectValue(QStringLiteral("Extension"), 0), QStringLiteral("Leeds"));
        EXPECT_EQ(viewer.ListData->objectValue(QStringLiteral("Extension"), 2), QStringLiteral("Bath"));
        saveArtifact(&viewer, QStringLiteral("series_viewer.png"));
        viewer.ok_button->click();
        return viewer.result();
    });
    EXPECT_EQ(viewer.Open_Wnd(), 1);
    viewer.file_name = QStringLiteral("Nowhere");
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(viewer.list_count->text(), QStringLiteral("Total Rows : 0"));
        return 1;
    });
    viewer.Open_Wnd();
    EXPECT_EQ(viewer.ListData->count(), 0);
}

TEST_F(SeriesManager, ASeriesIsOpenedViewedAndDeletedUnderTheNameItIsListedBy)
{
    // Saved by an older version with the blank after its question mark trimmed away.
    writeSeriesFile("Who is coming?", "Ann\nBob\n");
    View_Data_Series viewer;
    viewer.file_name = QStringLiteral("Who is coming?");
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(viewer.list_count->text(), QStringLiteral("Total Rows : 2"));
        return 1;
    });
    viewer.Open_Wnd();
    std::unique_ptr<BatchWizard> w(makeManager());
    messages.setDefaultAnswer(true);
    session(*w, [&] {
        clickRow(w->List, 0);
        w->update_button->click();
        EXPECT_EQ(w->values(), (QStringList{"Ann", "Bob"}));
        w->batch_list_name->setText(QStringLiteral("Who is coming? "));
        w->save_button->click();
        w->back_button->click();
        clickRow(w->List, 0);
        w->delete_list_button->click();
        EXPECT_EQ(w->ListData->count(), 0);
    });
    EXPECT_EQ(messages.messages(),
              QStringList{msg("The name of a Batch Processing Series must not begin or end with \"?\".")});
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList(QDir::Files).isEmpty());
}

TEST_F(SeriesManager, ClosingTheNewValuesWindowAfterYesKeepsTheListedValues)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    auto answerYes = [&] {
        modalScripts.push_back([&](QDialog &) {
            w->Load_Number_Window->yes_button->click();
            return w->Load_Number_Window->result();
        });
    };
    session(*w, [&] {
        w->addnew_button->click();
        w->Create_Value_List(QStringLiteral("kept"));
        answerYes();
        modalScripts.push_back([&](QDialog &) {
            w->generator()->cancel_button->click();
            return w->generator()->result();
        });
        w->series_value_button->click();
        EXPECT_EQ(w->values(), QStringList{"kept"});
        answerYes();
        modalScripts.push_back([&](QDialog &d) {
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        w->import_value_button->click();
        EXPECT_EQ(w->values(), QStringList{"kept"});
        EXPECT_EQ(w->batch_value_count->text(), QStringLiteral("Total Rows : 1"));
        w->Create_Value_List(QStringLiteral("added")); // later values are added, not replaced
        EXPECT_EQ(w->values(), (QStringList{"kept", "added"}));
    });
    EXPECT_EQ(modalTitles.count(QStringLiteral("Import Series")), 1);
}

TEST_F(SeriesManager, BackCloseAndEscapeAskBeforeUnsavedChangesAreLost)
{
    writeSeriesFile("A", "a1\na2\na3\n");
    std::unique_ptr<BatchWizard> w(makeManager());
    auto openAndRemoveFirstRow = [&] {
        clickRow(w->List, 0);
        w->update_button->click();
        clickRow(w->List_value, 0);
        w->delete_rows_button->click();
    };
    messages.queueChoices(
        {int(SaveAnswer::Cancel), int(SaveAnswer::Cancel), int(SaveAnswer::DontSave), int(SaveAnswer::Save)});
    session(*w, [&] {
        clickRow(w->List, 0);
        w->update_button->click();
        w->back_button->click(); // nothing changed: nothing asked
        EXPECT_TRUE(w->firstScreenShown());
        openAndRemoveFirstRow();
        w->back_button->click(); // Cancel
        EXPECT_FALSE(w->firstScreenShown());
        QTest::keyClick(w.get(), Qt::Key_Escape); // Cancel
        EXPECT_FALSE(w->firstScreenShown());
        EXPECT_EQ(w->values(), (QStringList{"a2", "a3"}));
        w->back_button->click(); // Don't Save
        EXPECT_TRUE(w->firstScreenShown());
        EXPECT_EQ(readSeriesFile("A"), QByteArray("a1\na2\na3\n"));
        openAndRemoveFirstRow();
        w->close_2_button->click(); // Save
    });
    EXPECT_EQ(messages.questions().size(), 4);
    EXPECT_EQ(messages.questions().value(0),
              QStringLiteral("Do you want to save the changes made to the Batch Processing Series \"A\"?"));
    EXPECT_EQ(readSeriesFile("A"), QByteArray("a2\na3\n"));
}

TEST_F(SeriesManager, AWorkbookExportPastTheSheetsRowsIsRefusedBeforeAFileIsChosen)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    session(*w, [&] {
        w->addnew_button->click();
        w->addValues(QStringList(XlsxReader::MaxRows, QStringLiteral("v")));
        w->export_button->click();
    });
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(messages.messages().at(0).contains(QStringLiteral("1,048,576 rows")))
        << messages.messages().at(0).toStdString();
    EXPECT_TRUE(files.requests.isEmpty());
}

TEST_F(SeriesManager, ALongGenerationShowsItsProgressWhileTheWindowKeepsTurning)
{
    std::unique_ptr<BatchWizard> w(makeManager());
    QString shownWhileRunning;
    session(*w, [&] {
        modalScripts.push_back([&](QDialog &) {
            Generate_List *g = w->generator();
            g->seq_file_name->setText(QStringLiteral("Long"));
            QTest::keyClicks(g->from_txt, "1");
            QTest::keyClicks(g->to_txt, "2000000");
            // Fires only while the window's events are handled during the run.
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                PleaseWait_Modeless *sheet = PleaseWaitSheet::current();
                if (!sheet || !sheet->modeless_msg_lbl->text().startsWith(QStringLiteral("Generating")))
                    return;
                if (shownWhileRunning.isEmpty())
                    saveArtifact(sheet, QStringLiteral("series_generation_progress.png"));
                shownWhileRunning = sheet->modeless_msg_lbl->text();
            });
            poll.start(5);
            g->ok_button->click();
            return g->result();
        });
        w->create_series_button->click();
        EXPECT_EQ(w->batch_list_count->text(), QStringLiteral("Total List : 1"));
    });
    EXPECT_TRUE(shownWhileRunning.startsWith(QStringLiteral("Generating values: ")) &&
                shownWhileRunning.endsWith(QStringLiteral(" of 2,000,000")))
        << shownWhileRunning.toStdString();
    QFile f(QDir(Data_Folder_Path).filePath(QStringLiteral("Long.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.size(), 14888896); // 1 to 2000000, each with its line feed
}
