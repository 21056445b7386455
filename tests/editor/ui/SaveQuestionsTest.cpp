// Work is never lost: the save question comes only with unsaved changes (made by any road), its
// Cancel leaves everything as it was, a design is replaced only by one that is ready, the
// clipboard of other programs is left alone, a file changed by another program is not replaced
// without asking, and a failed save says why.
#include "MainWindowFixture.h"

#include "editor/DesignFile.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/StartWindows.h"
#include "editor/ui/Template_Wizard.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/MessageBoxService.h"
#include "panels/ui/InspectorTabs.h"
#include "platform/UndoManager.h"
#include "support/ReturnOnBox.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <functional>

#include <sys/mount.h>

namespace
{
constexpr int SaveChoice = int(SaveAnswer::Save);
constexpr int DontSaveChoice = int(SaveAnswer::DontSave);
constexpr int CancelChoice = int(SaveAnswer::Cancel);

// A small file system of its own at a private folder (a full disk or a read-only folder even for
// root), unmounted when the test ends; tests skip where mounting is not allowed.
class PrivateMount
{
public:
    PrivateMount(const char *size, bool readOnly)
    {
        const QString options = QStringLiteral("size=%1,mode=0777").arg(QLatin1String(size));
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                            readOnly ? MS_RDONLY : 0, options.toLatin1().constData()) == 0;
    }
    ~PrivateMount()
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_dir.path()).constData());
    }
    bool mounted() const { return m_mounted; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Fills the file system to the last byte.
    void fill() const
    {
        QFile f(path(QStringLiteral("fill")));
        if (!f.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'f');
        while (f.write(block) == block.size() && f.flush()) {
        }
        f.write("x", 1);
        f.flush();
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
} // namespace

class SaveQuestions : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window->registry().fill(WindowRegistry::Window::StartWizard, [this](const QString &mode) {
            startModes.append(mode);
            Start_Card_Option = QStringLiteral("T");
            return startAnswer;
        });
    }
    // A design with a file, two undo steps and one more edit not yet saved.
    QString savedDesignWithAnEdit()
    {
        clickTool(3);
        const QString path = tempPath(QStringLiteral("kept.dcard"));
        files.answers.push_back(path);
        window->fileCommands().Save_Btn_Clicked();
        clickTool(4);
        messages.clear();
        return path;
    }
    // Brings the inspector tab that holds the control to the front, as the user's click would.
    void showPageOf(QWidget *control)
    {
        QTabWidget *tabs = window->inspectorTabs().sett_tab();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control))
                tabs->setCurrentIndex(i);
        ASSERT_TRUE(control->isVisible());
    }
    QAction *menu(const char *path) { return window->menus().action(QString::fromLatin1(path)); }
    int undoCount() { return window->document().undoManager().undoCount(); }

    QStringList startModes;
    int startAnswer = 1;
};

TEST_F(SaveQuestions, NoQuestionWithoutUnsavedChanges)
{
    // A new design: New, Open and Exit go straight on.
    window->fileCommands().New_Btn_Clicked();
    EXPECT_EQ(startModes, QStringList{SKTWindowController::StartWindowFromNew});
    files.answers.push_back(std::nullopt);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(files.requests.size(), 1);

    // Saved: still nothing to ask. An edit taken back by Undo is no change either.
    clickTool(3);
    saveAs(QStringLiteral("a.dcard"));
    clickTool(4);
    EXPECT_TRUE(window->hasUnsavedChanges());
    QCoreApplication::processEvents();
    window->editButtons().Undo_btn->click();
    EXPECT_FALSE(window->hasUnsavedChanges());
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(messages.questions().isEmpty());
    EXPECT_EQ(exitStatuses, QList<int>{0});
}

TEST_F(SaveQuestions, EditsOfEveryRoadCountAndTheTitleShowsThem)
{
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Untitled[*] \u2014 Tessaly Greeting Designer"));

    // A typed page name, committed with Return: one undo step.
    const int steps = window->document().undoManager().undoCount();
    showPageOf(window->findChild<QLineEdit *>(QStringLiteral("card_name")));
    window->findChild<QLineEdit *>(QStringLiteral("card_name"))->setFocus();
    window->findChild<QLineEdit *>(QStringLiteral("card_name"))->selectAll();
    QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("card_name")), QStringLiteral("Birthday"));
    QTest::keyClick(window->findChild<QLineEdit *>(QStringLiteral("card_name")), Qt::Key_Return);
    EXPECT_EQ(window->Front_card_Prop().Card_Name, QStringLiteral("Birthday"));
    EXPECT_EQ(window->document().undoManager().undoCount(), steps + 1);
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isWindowModified(); }));

    const QString path = saveAs(QStringLiteral("card.dcard"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("card.dcard[*] \u2014 Tessaly Greeting Designer"));
    EXPECT_EQ(window->windowFilePath(), path);

    // A tool's object: an undo step.
    clickTool(3);
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isWindowModified(); }));

    // The save question counts it: Exit asks, and Cancel stays.
    messages.queueChoices({CancelChoice});
    window->Exit_App();
    EXPECT_EQ(messages.questions(), QStringList{FileCommands::SaveBeforeCloseQuestion});
    EXPECT_TRUE(exitStatuses.isEmpty());
    saveArtifact(window.get(), QStringLiteral("main_window_unsaved_title.png"));
}

TEST_F(SaveQuestions, CancelLeavesDesignFileNameAndUndoAsTheyWere)
{
    const QString path = savedDesignWithAnEdit();
    const int steps = undoCount();
    ASSERT_GE(steps, 1);
    const auto unchanged = [&] {
        EXPECT_EQ(front().size(), 2);
        EXPECT_EQ(Project_File_Name, path);
        EXPECT_EQ(undoCount(), steps);
        EXPECT_TRUE(window->hasUnsavedChanges());
        EXPECT_TRUE(startModes.isEmpty());
        EXPECT_TRUE(exitStatuses.isEmpty());
    };

    messages.queueChoices({CancelChoice});
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(messages.questions().last(), FileCommands::SaveBeforeNewQuestion);
    unchanged();

    messages.queueChoices({CancelChoice});
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(messages.questions().last(), FileCommands::SaveBeforeOpenQuestion);
    EXPECT_EQ(files.requests.size(), 1); // only the first save's panel
    unchanged();

    // Don't Save, then Cancel in the open panel: still nothing changes.
    messages.queueChoices({DontSaveChoice});
    files.answers.push_back(std::nullopt);
    menu("File/Open...")->trigger();
    unchanged();

    messages.queueChoices({CancelChoice});
    window->close();
    EXPECT_TRUE(window->isVisible());
    unchanged();

    // Save with a cancelled save panel (Save As is what an unnamed design would need) keeps it too.
    Project_File_Name.clear();
    messages.queueChoices({SaveChoice});
    files.answers.push_back(std::nullopt);
    window->fileCommands().New_Btn_Clicked();
    EXPECT_EQ(front().size(), 2);
    EXPECT_TRUE(startModes.isEmpty());
    EXPECT_GT(QFileInfo(path).size(), 0);
}

TEST_F(SaveQuestions, SaveAnswerSavesFirstThenGoesOn)
{
    const QString path = savedDesignWithAnEdit();
    messages.queueChoices({SaveChoice});
    window->fileCommands().New_Btn_Clicked();
    EXPECT_EQ(startModes, QStringList{SKTWindowController::StartWindowFromNew});
    EXPECT_TRUE(front().isEmpty());
    EXPECT_TRUE(Project_File_Name.isEmpty());
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(window->isWindowModified());
    // What was saved is the design with both objects.
    files.answers.push_back(path);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(front().size(), 2);
    EXPECT_FALSE(window->hasUnsavedChanges());
}

TEST_F(SaveQuestions, ClosedStartWindowOfNewKeepsTheDesignByEscapeOrExit)
{
    const QString path = savedDesignWithAnEdit();
    fillStartWindows(*window, window->registry());
    // Escape, then Exit, on the start screen that New opened: each closes it over the design.
    const std::function<void(Invitation_Wizard &)> ways[] = {
        [](Invitation_Wizard &wizard) { QTest::keyClick(&wizard, Qt::Key_Escape); },
        [](Invitation_Wizard &wizard) { wizard.Exit_btn->click(); },
    };
    int asked = 0;
    for (const auto &leave : ways) {
        modalScripts.push_back([&leave](QDialog &dialog) {
            auto &wizard = dynamic_cast<Invitation_Wizard &>(dialog);
            wizard.show();
            leave(wizard);
            return wizard.result();
        });
        messages.queueChoices({DontSaveChoice});
        window->fileCommands().New_Btn_Clicked();
        ++asked;
        // Only New's own question was asked; nothing ended the program.
        EXPECT_EQ(messages.questions(), QStringList(asked, FileCommands::SaveBeforeNewQuestion));
        EXPECT_TRUE(exitStatuses.isEmpty());
        EXPECT_EQ(front().size(), 2);
        EXPECT_EQ(Project_File_Name, path);
        EXPECT_TRUE(window->hasUnsavedChanges());
    }

    // At program start its Exit still ends the program.
    modalScripts.push_back([](QDialog &dialog) {
        auto &wizard = dynamic_cast<Invitation_Wizard &>(dialog);
        wizard.show();
        QTest::keyClick(&wizard, Qt::Key_Escape);
        return wizard.result();
    });
    window->Open_Start_Window();
    ASSERT_FALSE(exitStatuses.isEmpty());
    EXPECT_EQ(exitStatuses.first(), 0);
}

TEST_F(SaveQuestions, TemplateBrowserCancelAndDamagedFilesChangeNothing)
{
    const QString path = savedDesignWithAnEdit();
    const int steps = undoCount();
    // The browser cancelled: no question, nothing changed.
    modalScripts.push_back([](QDialog &dialog) {
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    });
    menu("File/New from Template...")->trigger();
    EXPECT_TRUE(messages.questions().isEmpty());
    EXPECT_EQ(front().size(), 2);
    EXPECT_EQ(Project_File_Name, path);
    EXPECT_EQ(undoCount(), steps);

    // A damaged design after Don't Save: the message, and the design stays whole.
    const QString damaged = tempPath(QStringLiteral("damaged.dcard"));
    testsupport::writeFile(damaged,
                           "<?xml version=\"1.0\"?><plist><array><string>x</string></array></plist>");
    messages.queueChoices({DontSaveChoice});
    files.answers.push_back(damaged);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(shown(), QStringList{DesignFile::CorruptMessage});
    EXPECT_EQ(front().size(), 2);
    EXPECT_EQ(Project_File_Name, path);
    EXPECT_EQ(undoCount(), steps);
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_TRUE(startModes.isEmpty());
}

TEST_F(SaveQuestions, NewAndOpenLeaveOtherProgramsClipboardAlone)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("a line from another program"));
    window->fileCommands().New_Btn_Clicked();
    clickTool(3);
    const QString path = tempPath(QStringLiteral("c.dcard"));
    files.answers.push_back(path);
    window->fileCommands().Save_Btn_Clicked();
    files.answers.push_back(path);
    window->fileCommands().Open_Btn_Clicked();
    modalScripts.push_back([](QDialog &dialog) {
        auto &browser = dynamic_cast<Template_Wizard &>(dialog);
        browser.show();
        QTest::mouseClick(browser.ok_button, Qt::LeftButton);
        return browser.result();
    });
    menu("File/New from Template...")->trigger();
    EXPECT_EQ(clipboard->text(), QStringLiteral("a line from another program"));
}

TEST_F(SaveQuestions, AFileChangedByAnotherProgramIsNotReplacedWithoutAsking)
{
    const QString path = savedDesignWithAnEdit();
    // Another copy of the program saves the same file meanwhile.
    const QByteArray theirs = testsupport::readFile(path) + "\n<!-- theirs -->\n";
    testsupport::writeFile(path, theirs);

    messages.queueAnswers({false});
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(messages.questions(), QStringList{FileCommands::changedOnDiskQuestion(path)});
    EXPECT_EQ(testsupport::readFile(path), theirs);
    EXPECT_TRUE(window->hasUnsavedChanges());

    // The exit's save asks the same; Yes replaces it, and the next save asks nothing.
    messages.queueChoices({SaveChoice});
    messages.queueAnswers({true});
    window->Exit_App();
    EXPECT_EQ(exitStatuses, QList<int>{0});
    EXPECT_NE(testsupport::readFile(path), theirs);
    clickTool(2);
    messages.clear();
    window->fileCommands().Save_Btn_Clicked();
    EXPECT_TRUE(messages.questions().isEmpty());
    EXPECT_EQ(shown(), QStringList{DesignFile::savedMessage(Project_File_Name)});
}

// The question's default keeps the other's save: a stray Return leaves their file, and the design
// here keeps its unsaved changes.
TEST_F(SaveQuestions, ReturnAtTheChangedFileQuestionKeepsTheOtherSave)
{
    const QString path = savedDesignWithAnEdit();
    const QByteArray theirs = testsupport::readFile(path) + "\n<!-- theirs -->\n";
    testsupport::writeFile(path, theirs);
    MessageBoxService boxes;
    MessageService::install(&boxes);
    QString defaultAnswer;
    QString text;
    testsupport::pressReturnOnNextBox(defaultAnswer, &text);
    window->fileCommands().Save_Btn_Clicked();
    MessageService::install(&messages);
    EXPECT_EQ(text, FileCommands::changedOnDiskQuestion(path));
    EXPECT_EQ(defaultAnswer, "&No");
    EXPECT_EQ(testsupport::readFile(path), theirs);
    EXPECT_TRUE(window->hasUnsavedChanges());
}

TEST_F(SaveQuestions, AFailedSaveAsSaysWhy)
{
    clickTool(3);
    // A file stands where the folder should be.
    const QString blocker = tempPath(QStringLiteral("blocker"));
    testsupport::writeFile(blocker, "x");
    files.answers.push_back(blocker + QStringLiteral("/card.dcard"));
    window->fileCommands().SaveAs_Btn_Clicked();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(messages.titles(), QStringList{DesignFile::SaveTitle});
    EXPECT_TRUE(shown()[0].startsWith(
        QStringLiteral(
            "The design could not be saved in the folder \"%1\".\n\nCould not save \"card.dcard\": ")
            .arg(blocker)))
        << shown()[0].toStdString();
    EXPECT_TRUE(Project_File_Name.isEmpty()); // a file never written is not the design's file
    EXPECT_TRUE(window->hasUnsavedChanges());

    PrivateMount readOnly("64k", true);
    PrivateMount full("64k", false);
    if (!readOnly.mounted() || !full.mounted())
        GTEST_SKIP() << "no permission to mount a small file system here";
    messages.clear();
    files.answers.push_back(readOnly.path(QStringLiteral("card.dcard")));
    window->fileCommands().SaveAs_Btn_Clicked();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown()[0].contains(QStringLiteral("Read-only file system"))) << shown()[0].toStdString();

    full.fill();
    messages.clear();
    files.answers.push_back(full.path(QStringLiteral("card.dcard")));
    window->fileCommands().SaveAs_Btn_Clicked();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(
        shown()[0].startsWith(QStringLiteral("The design could not be saved in the folder \"%1\".")
                                  .arg(QFileInfo(full.path(QStringLiteral("card.dcard"))).absolutePath())))
        << shown()[0].toStdString();
    EXPECT_TRUE(shown()[0].contains(QStringLiteral("No space left on device"))) << shown()[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(full.path(QStringLiteral("card.dcard"))));
}

// The box itself, as the program shows it: titled "Save", naming the folder; Return closes it.
TEST_F(SaveQuestions, AFailedSavesBoxIsTitledSave)
{
    clickTool(3);
    const QString blocker = tempPath(QStringLiteral("blocker"));
    testsupport::writeFile(blocker, "x");
    files.answers.push_back(blocker + QStringLiteral("/card.dcard"));
    MessageBoxService boxes;
    MessageService::install(&boxes);
    QString title, text;
    QTimer::singleShot(0, [&] {
        QWidget *modal = nullptr;
        (void)QTest::qWaitFor([&] { return (modal = QApplication::activeModalWidget()) != nullptr; });
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        saveArtifact(box, QStringLiteral("save_failed_box.png"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    window->fileCommands().SaveAs_Btn_Clicked();
    MessageService::install(&messages);
    EXPECT_EQ(title, QStringLiteral("Save"));
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("The design could not be saved in the folder \"%1\".").arg(blocker)))
        << text.toStdString();
}

namespace
{
// Answers the question box that shows next by a key, and reports its buttons' texts.
void keyOnQuestion(Qt::Key key, Qt::KeyboardModifiers modifiers, QStringList *buttons)
{
    QTimer::singleShot(0, [=] {
        QWidget *modal = nullptr;
        (void)QTest::qWaitFor([&] { return (modal = QApplication::activeModalWidget()) != nullptr; });
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        for (QAbstractButton *b : box->buttons())
            buttons->append(b->text());
        // Mnemonics are shortcuts of the active window, as for a user.
        box->activateWindow();
        (void)QTest::qWaitForWindowActive(box);
        QTest::keyClick(box, key, modifiers);
    });
}
} // namespace

TEST(SaveQuestionBox, ButtonsCarryMnemonicsAndEscapeCancels)
{
    MessageBoxService service;
    MessageService::install(&service);
    QStringList buttons;
    keyOnQuestion(Qt::Key_Escape, Qt::NoModifier, &buttons);
    EXPECT_EQ(Ask_Save_Changes(QStringLiteral("Save?")), SaveAnswer::Cancel);
    EXPECT_EQ(buttons.size(), 3);
    for (const QString &text : saveAnswerButtons())
        EXPECT_TRUE(buttons.contains(text)) << text.toStdString();
    for (const QString &text : buttons)
        EXPECT_TRUE(text.contains(QLatin1Char('&'))) << text.toStdString();

    buttons.clear();
    keyOnQuestion(Qt::Key_N, Qt::AltModifier, &buttons);
    EXPECT_EQ(Ask_Save_Changes(QStringLiteral("Save?")), SaveAnswer::DontSave);
    buttons.clear();
    keyOnQuestion(Qt::Key_Return, Qt::NoModifier, &buttons);
    EXPECT_EQ(Ask_Save_Changes(QStringLiteral("Save?")), SaveAnswer::Save);

    // Closing the box (the title bar's close button) is Cancel too.
    QTimer::singleShot(0, [] {
        QWidget *modal = nullptr;
        (void)QTest::qWaitFor([&] { return (modal = QApplication::activeModalWidget()) != nullptr; });
        if (modal)
            modal->close();
    });
    EXPECT_EQ(Ask_Save_Changes(QStringLiteral("Save?")), SaveAnswer::Cancel);

    // The plain boxes carry mnemonics too.
    buttons.clear();
    keyOnQuestion(Qt::Key_N, Qt::AltModifier, &buttons);
    EXPECT_FALSE(Show_YES_NO_MessageBox(QStringLiteral("Really?")));
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("&No"), QStringLiteral("&Yes")}));
    MessageService::uninstall(&service);
}

namespace
{
// The title as the window system shows it, each time its text or marker changes.
class TitleRecorder : public QObject
{
public:
    explicit TitleRecorder(QWidget *window) : m_window(window) { window->installEventFilter(this); }
    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ModifiedChange || event->type() == QEvent::WindowTitleChange)
            seen << m_window->windowTitle().replace(QLatin1String("[*]"),
                                                    m_window->isWindowModified() ? "*" : "");
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
};
} // namespace

TEST_F(SaveQuestions, AnOpenedDesignsTitleNeverShowsAChangeItDoesNotHave)
{
    clickTool(3);
    clickTool(2);
    const QString path = saveAs(QStringLiteral("opened.dcard"));
    window->fileCommands().New_Btn_Clicked();
    clickTool(4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isWindowModified(); }));

    const TitleRecorder title(window.get());
    messages.queueChoices({DontSaveChoice});
    files.answers.push_back(path);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(front().size(), 2);
    ASSERT_FALSE(title.seen.isEmpty());
    EXPECT_EQ(title.seen.last(), QStringLiteral("opened.dcard \u2014 Tessaly Greeting Designer"));
    for (const QString &shown : title.seen)
        EXPECT_FALSE(shown.contains(QLatin1Char('*'))) << shown.toStdString();
}
