// Two instances of the program and one series: a series open for editing in another instance is in
// use here (its lock file beside the series file), a lock left by an instance that is gone is not,
// and a save over a series written by someone else since it was opened asks first.
#include "data/SeriesEditing.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Generate_List.h"
#include "data/ui/SeriesDialogDriver.h"
#include "foundation/FoundationState.h"
#include "foundation/RowListModel.h"
#include "foundation/ui/MessageBoxService.h"
#include "support/ReturnOnBox.h"
#include "support/TestSupport.h"
#include "support/WindowFixture.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/mount.h>

using namespace testsupport;

namespace
{
QString shownText(const QString &message)
{
    return message.startsWith(QLatin1Char('\n')) ? message.mid(1) : message;
}

// A small file system of its own whose files are all used up: its folders take no new file, while
// the files in them can still be opened for writing. Unmounted when the test ends; tests skip
// where mounting is not allowed.
class NoNewFiles
{
public:
    NoNewFiles()
    {
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            "size=1m,nr_inodes=16,mode=0777") == 0;
    }
    ~NoNewFiles()
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_dir.path()).constData());
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    // Takes every file the file system has left.
    void fill() const
    {
        for (int i = 0;; ++i) {
            QFile f(QDir(m_dir.path()).filePath(QStringLiteral("fill-%1").arg(i)));
            if (!f.open(QIODevice::WriteOnly))
                return;
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
} // namespace

class SeriesTwoInstances : public WindowFixture
{
protected:
    // The manager's session: body runs while it is open, on the values of "Mixed" opened for
    // editing; the session ends with Close.
    void editMixed(BatchWizard &w, const std::function<void()> &body)
    {
        modalScripts.push_front([&w, body](QDialog &) {
            clickRow(w.List, 0);
            w.update_button->click();
            body();
            w.close_2_button->isVisible() ? w.close_2_button->click() : w.close_button->click();
            return w.result();
        });
        w.Open_Wnd();
    }
    // Another instance editing "Mixed": cardtool holds it as the program does.
    void startOtherInstance(QProcess &other)
    {
        other.start(QStringLiteral(CARDTOOL_PATH), {"series-edit", Data_Folder_Path, "Mixed"});
        ASSERT_TRUE(other.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return other.readAllStandardOutput().contains("held"); }, 20000))
            << other.readAllStandardError().toStdString();
    }
    // Back to the list without saving what the save left in the window.
    void leaveUnsaved(BatchWizard &w)
    {
        if (w.firstScreenShown())
            return;
        messages.queueChoices({1}); // "Don't Save"
        w.back_button->click();
        EXPECT_TRUE(w.firstScreenShown());
    }
    QStringList shown() const
    {
        QStringList texts;
        for (const QString &m : messages.messages())
            texts << shownText(m);
        return texts;
    }
};

TEST_F(SeriesTwoInstances, ASeriesOpenInAnotherInstanceIsInUseUntilThatInstanceIsGone)
{
    struct Case {
        const char *what;
        bool otherEnds;   // the other instance ends before the save
        bool killedOnly;  // it ends without letting go of its lock file
        QByteArray after; // the series file after Save
    };
    const QList<Case> cases = {
        {"held", false, false, "a\nb\n"},
        {"let go", true, false, "a\nb\nmine\n"},
        {"instance killed", true, true, "a\nb\nmine\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        writeSeriesFile("Mixed", "a\nb\n");
        QProcess other;
        startOtherInstance(other);
        BatchWizard w;
        editMixed(w, [&] {
            w.Create_Value_List(QStringLiteral("mine"));
            if (c.otherEnds) {
                c.killedOnly ? other.kill() : other.closeWriteChannel();
                ASSERT_TRUE(other.waitForFinished());
                EXPECT_EQ(QFile::exists(SeriesEditing::lockPath(Data_Folder_Path, "Mixed")), c.killedOnly);
            }
            w.save_button->click();
            if (!c.otherEnds) { // nothing is lost: the values stay, to be saved under another name
                EXPECT_EQ(w.values(), (QStringList{"a", "b", "mine"}));
            }
            leaveUnsaved(w);
        });
        EXPECT_EQ(readSeriesFile("Mixed"), c.after);
        if (!c.otherEnds) {
            EXPECT_EQ(shown().value(0), "Batch Processing Series can't be updated because it is in use.\n\n"
                                        "Another instance of the program has \"" +
                                            QDir(Data_Folder_Path).filePath("Mixed.txt") + "\" open (\"" +
                                            SeriesEditing::lockPath(Data_Folder_Path, "Mixed") + "\").");
            // Deleting meets the same guard.
            modalScripts.push_front([&w](QDialog &) {
                clickRow(w.List, 0);
                w.delete_list_button->click();
                w.close_button->click();
                return 0;
            });
            w.Open_Wnd();
            EXPECT_TRUE(seriesExists("Mixed"));
            EXPECT_TRUE(shown().value(1).startsWith("Batch Processing Series can't be delete because it is "
                                                    "currently in use.\n\nAnother instance"));
            other.closeWriteChannel();
            other.waitForFinished();
        }
    }
}

// The other instance saved and let the series go while it was open here: the save here asks, and
// No keeps the other's values on disk and these in the window.
TEST_F(SeriesTwoInstances, ASaveOverAnotherInstancesSaveAsksFirst)
{
    const QString question = QStringLiteral(
        "The Batch Processing Series \"Mixed\" was changed by another program after it was opened here. Do "
        "you want to replace it with these values?");
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace);
        messages.clear();
        writeSeriesFile("Mixed", "a\nb\n");
        BatchWizard w;
        editMixed(w, [&] {
            writeSeriesFile("Mixed", "a\nb\ntheirs\n");
            w.Create_Value_List(QStringLiteral("mine"));
            messages.setDefaultAnswer(replace);
            w.save_button->click();
            EXPECT_EQ(messages.questions(), QStringList{question});
            EXPECT_EQ(w.firstScreenShown(), replace);
            if (!replace) {
                EXPECT_EQ(w.values(), (QStringList{"a", "b", "mine"}));
            }
            messages.setDefaultAnswer(false);
            leaveUnsaved(w);
        });
        EXPECT_EQ(readSeriesFile("Mixed"),
                  replace ? QByteArray("a\nb\nmine\n") : QByteArray("a\nb\ntheirs\n"));
    }
}

// That question's default keeps the other's save: a stray Return leaves their values on disk and
// these in the window.
TEST_F(SeriesTwoInstances, ReturnAtTheChangedSeriesQuestionKeepsTheOtherSave)
{
    writeSeriesFile("Mixed", "a\nb\n");
    BatchWizard w;
    QString defaultAnswer;
    editMixed(w, [&] {
        writeSeriesFile("Mixed", "a\nb\ntheirs\n");
        w.Create_Value_List(QStringLiteral("mine"));
        MessageBoxService boxes;
        MessageService::install(&boxes);
        testsupport::pressReturnOnNextBox(defaultAnswer);
        w.save_button->click();
        MessageService::install(&messages);
        EXPECT_EQ(w.values(), (QStringList{"a", "b", "mine"}));
        leaveUnsaved(w);
    });
    EXPECT_EQ(defaultAnswer, "&No");
    EXPECT_EQ(readSeriesFile("Mixed"), QByteArray("a\nb\ntheirs\n"));
}

// The generator keeps the promise Update keeps: a series open in another instance, or read by this
// instance's design, is not replaced, and "already exists" is not asked.
TEST_F(SeriesTwoInstances, TheGeneratorDoesNotReplaceASeriesInUse)
{
    struct Case {
        const char *what;
        bool otherInstance;
        bool thisDesign;
    };
    const Case cases[] = {{"open in another instance", true, false}, {"read by this design", false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        writeSeriesFile("Mixed", "a\nb\n");
        QProcess other;
        if (c.otherInstance)
            startOtherInstance(other);
        BatchWizard w;
        if (c.thisDesign)
            w.setInUseTest([](const QString &name) { return name == QLatin1String("Mixed"); });
        Generate_List g(&w, &w);
        modalScripts.push_front([&g](QDialog &) {
            for (auto [field, text] :
                 {std::pair{g.seq_file_name, "Mixed"}, {g.from_txt, "1"}, {g.to_txt, "3"}}) {
                field->selectAll();
                QTest::keyClicks(field, QString::fromLatin1(text));
            }
            g.ok_button->click();
            return g.result();
        });
        g.file_name_required = 1;
        g.file_name_Insert = 0;
        g.Open_Wnd();
        EXPECT_EQ(shown(), QStringList{SeriesFiles::MsgCantUpdateInUse});
        EXPECT_TRUE(messages.questions().isEmpty());
        EXPECT_EQ(readSeriesFile("Mixed"), QByteArray("a\nb\n"));
        other.closeWriteChannel();
        other.waitForFinished();
    }
}

// Where no lock file can be made beside a series, opening it for editing says so and why, another
// instance finds it in use all the same, and a failed save names the file and the reason.
TEST_F(SeriesTwoInstances, AFolderThatTakesNoNewFilesIsSaidAtOpeningAndSecondInstancesKnow)
{
    NoNewFiles full;
    if (!full.mounted())
        GTEST_SKIP() << "no permission to mount a small file system here";
    FoundationState::instance().setResourcePath(full.path());
    ASSERT_TRUE(QDir().mkpath(Data_Folder_Path));
    writeSeriesFile("Mixed", "a\nb\n");
    full.fill();
    const QString lock = QDir(Data_Folder_Path).filePath(".Mixed.txt.lock");
    const QString series = QDir(Data_Folder_Path).filePath("Mixed.txt");
    BatchWizard w;
    testsupport::ProcResult second;
    editMixed(w, [&] {
        EXPECT_EQ(shown(),
                  QStringList{
                      "The Batch Processing Series \"Mixed\" cannot be held for editing in its folder. The "
                      "lock file \"" +
                      lock +
                      "\" could not be made: No space left on device.\n\nOther instances of the program are "
                      "still told it is open here, but saving it in that folder may fail for the same "
                      "reason."});
        second = testsupport::cardtool({"series-edit", Data_Folder_Path, "Mixed"});
        messages.clear();
        w.Create_Value_List(QStringLiteral("mine"));
        w.save_button->click();
        leaveUnsaved(w);
    });
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.errText().contains("held elsewhere")) << second.errText().toStdString();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(shown()[0], "Error in file accessing.\n\nThe file \"" + series +
                              "\" could not be written: No space left on device.");
    EXPECT_EQ(readSeriesFile("Mixed"), QByteArray("a\nb\n"));

    // The design this instance has open holds the series in its stead: that is said, not another
    // instance, and the refused save names the file and the reason.
    messages.clear();
    const SeriesEditing designHold(Data_Folder_Path, "Mixed");
    ASSERT_TRUE(designHold.holdsLock());
    w.setInUseTest([](const QString &name) { return name == QLatin1String("Mixed"); });
    editMixed(w, [&] {
        EXPECT_EQ(shown().value(0).section("\n\n", 1),
                  "This instance of the program already holds it (\"" +
                      SeriesEditing::fallbackLockPath(Data_Folder_Path, "Mixed") +
                      "\") for the design it has open, so other instances are told it is open here.");
        messages.clear();
        w.Create_Value_List(QStringLiteral("mine"));
        w.save_button->click();
        EXPECT_EQ(shown().value(0), "Batch Processing Series can't be updated because it is in use.\n\n"
                                    "The design open in this window reads \"" +
                                        series + "\".");
        leaveUnsaved(w);
    });
}
