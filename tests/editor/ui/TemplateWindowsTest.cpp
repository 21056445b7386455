// The template windows driven as a user would: File > Export As Template with its name dialog,
// the template browser with copy, rename and delete, File > New from Template, and the greeting
// text picker. Files are checked from outside (plistlib, identify) where a tool exists.
#include "MainWindowFixture.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "canvas/ui/ThumbnailWait.h"
#include "editor/EditorState.h"
#include "editor/GreetingTexts.h"
#include "editor/TemplateStore.h"
#include "editor/ui/Export_Template.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Insert_Template.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/Template_Wizard.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>

using testsupport::writeFile;

namespace
{
QString userFolder()
{
    return TemplateStore::userFolderOf(Resource_Path);
}

QString userFile(const QString &name)
{
    return QDir(userFolder()).filePath(name);
}

QStringList filesUnder(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

QStringList identifiers(const ImageBrowserModel *model)
{
    QStringList ids;
    for (const MyImageObject &item : model->images())
        ids << item.imageUID();
    return ids;
}

QStringList titles(const ImageBrowserModel *model)
{
    QStringList out;
    for (const MyImageObject &item : model->images())
        out << item.imageTitle();
    return out;
}
} // namespace

class TemplateWindows : public MainWindowFixture
{
protected:
    void triggerMenu(const QString &path)
    {
        QAction *a = window->menus().action(path);
        ASSERT_NE(a, nullptr) << path.toStdString();
        ASSERT_TRUE(a->isEnabled()) << path.toStdString();
        a->trigger();
        QCoreApplication::processEvents();
    }
    // A name dialog script: types name, presses OK (once per entry of okPresses) and reports
    // whether the dialog closed with OK.
    void nameDialogAnswers(const QString &name, int okPresses = 1)
    {
        modalScripts.push_back([name, okPresses](QDialog &dialog) {
            auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("template_name"));
            field->clear();
            QTest::keyClicks(field, name);
            auto *ok = static_cast<Export_Template &>(dialog).ok_button;
            for (int i = 0; i < okPresses && dialog.result() != 1; ++i)
                QTest::mouseClick(ok, Qt::LeftButton);
            return dialog.result();
        });
    }
    // A user template pair with a real design file.
    void makeUserTemplate(const QString &name)
    {
        QDir().mkpath(userFolder());
        Project_File_Name.clear();
        clickTool(2);
        nameDialogAnswers(name);
        triggerMenu(QStringLiteral("File/Export As Template..."));
        messages.clear();
    }
};

TEST_F(TemplateWindows, ExportAsTemplateWritesThePairAndKeepsTheDesignsOwnFile)
{
    clickTool(3);
    clickTool(2);
    const QString own = tempPath(QStringLiteral("own.dcard"));
    Project_File_Name = own;
    window->Set_Log_Name_In_Title();
    const QString title = window->windowTitle();

    nameDialogAnswers(QStringLiteral("T1"));
    triggerMenu(QStringLiteral("File/Export As Template..."));
    EXPECT_EQ(shown(), QStringList{TemplateStore::MsgExported});
    EXPECT_EQ(modalTitles, QStringList{QStringLiteral("Template Name")});
    EXPECT_EQ(Project_File_Name, own);
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_FALSE(QFileInfo::exists(own)); // the design's own file is not written by the export

    // Read from outside: plistlib takes the design file, identify sees both sides stacked.
    const QString design = userFile(QStringLiteral("T1.dcard"));
    QProcess plist;
    plist.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import plistlib,sys; a=plistlib.load(open(sys.argv[1],'rb')); print(a[0])"),
                 design});
    ASSERT_TRUE(plist.waitForFinished(30000));
    EXPECT_EQ(plist.exitCode(), 0) << plist.readAllStandardError().toStdString();
    EXPECT_EQ(plist.readAllStandardOutput().trimmed(), QByteArray("ZOLVMACFENWORADELCARD"));

    QProcess identify;
    identify.start(QStringLiteral("identify"),
                   {QStringLiteral("-format"), QStringLiteral("%w %h"), userFile(QStringLiteral("T1.png"))});
    ASSERT_TRUE(identify.waitForFinished(30000));
    const QList<QByteArray> wh = identify.readAllStandardOutput().split(' ');
    ASSERT_EQ(wh.size(), 2);
    const QSizeF card = window->frontCanvasBounds().size(); // 243 x 154 points at 72 dpi
    EXPECT_EQ(wh.at(0).toInt(), qCeil(card.width()));
    EXPECT_EQ(wh.at(1).toInt(), 2 * qCeil(card.height()));
}

TEST_F(TemplateWindows, NameDialogRefusesBadNamesAndAsksBeforeReplacing)
{
    const QStringList before = filesUnder(dataRoot());
    // A bad name keeps the dialog open with a message naming what is wrong, and nothing is
    // written anywhere (the store's own test goes through every rule).
    const struct {
        QString typed, message;
    } bad[] = {
        {QStringLiteral("   "), TemplateStore::MsgEnterName},
        {QStringLiteral("../x"), QStringLiteral("The name of a template must not contain \"/\" or \"\\\".")},
    };
    for (const auto &b : bad) {
        messages.clear();
        nameDialogAnswers(b.typed);
        triggerMenu(QStringLiteral("File/Export As Template..."));
        EXPECT_EQ(shown().join('\n').toStdString(), b.message.toStdString());
    }
    EXPECT_EQ(filesUnder(dataRoot()), before);
    EXPECT_FALSE(QFileInfo::exists(QDir(dataRoot()).filePath(QStringLiteral("Templates/x.dcard"))));

    makeUserTemplate(QStringLiteral("Party"));
    const QByteArray first = testsupport::readFile(userFile(QStringLiteral("Party.dcard")));
    clickTool(4); // the design changes

    // No to the replace question keeps the dialog open and the old pair as it was.
    messages.queueAnswers({false});
    nameDialogAnswers(QStringLiteral("Party"));
    triggerMenu(QStringLiteral("File/Export As Template..."));
    EXPECT_EQ(messages.questions(), QStringList{TemplateStore::MsgReplace});
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(testsupport::readFile(userFile(QStringLiteral("Party.dcard"))), first);

    // Yes replaces both files.
    messages.clear();
    messages.queueAnswers({true});
    nameDialogAnswers(QStringLiteral("  Party "));
    triggerMenu(QStringLiteral("File/Export As Template..."));
    EXPECT_EQ(shown(), QStringList{TemplateStore::MsgExported});
    EXPECT_NE(testsupport::readFile(userFile(QStringLiteral("Party.dcard"))), first);
    EXPECT_EQ(Export_Template::export_template_name, QStringLiteral("Party"));

    // Cancel writes nothing and keeps the last confirmed name.
    modalScripts.push_back([](QDialog &dialog) {
        static_cast<Export_Template &>(dialog).cancel_button->click();
        return dialog.result();
    });
    const QStringList now = filesUnder(dataRoot());
    messages.clear();
    triggerMenu(QStringLiteral("File/Export As Template..."));
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(filesUnder(dataRoot()), now);
    EXPECT_EQ(Export_Template::export_template_name, QStringLiteral("Party"));
}

TEST_F(TemplateWindows, BrowserListsCopiesRenamesAndDeletesUserTemplates)
{
    makeUserTemplate(QStringLiteral("Party"));
    QFile::copy(userFile(QStringLiteral("Party.png")), userFile(QStringLiteral("Party (copy 1).png")));
    QFile::copy(userFile(QStringLiteral("Party.dcard")), userFile(QStringLiteral("Party (copy 1).dcard")));

    Template_Wizard browser(&window->registry());
    ImageBrowser *list = browser.imageBrowser;
    ImageBrowserModel *items = browser.images;
    modalScripts.push_back([&](QDialog &dialog) {
        // Built-in first, with the user buttons hidden and the first picture chosen.
        EXPECT_DOUBLE_EQ(browser.zoom(), 0.6);
        EXPECT_GE(items->count(), 5);
        // Built-in items go by their file names and show them without the picture's type.
        QStringList baseNames;
        for (const QString &id : identifiers(items))
            baseNames << QFileInfo(id).completeBaseName();
        EXPECT_EQ(titles(items), baseNames);
        EXPECT_TRUE(browser.Delete_temp_btn->isHidden());
        EXPECT_EQ(Template_Wizard::Selected_Template_Path, items->item(0).path());
        // The picture is taken as a user sees the browser once its thumbnails are read.
        (void)QTest::qWaitFor([&] { return thumbnails::settled(*items); }, 30000);
        saveArtifact(&browser, QStringLiteral("template_browser.png"));

        browser.cat_cmbo_bx->setCurrentIndex(1);
        emit browser.cat_cmbo_bx->activated(1);
        EXPECT_FALSE(browser.Delete_temp_btn->isHidden());
        EXPECT_EQ(titles(items), (QStringList{QStringLiteral("Party (copy 1)"), QStringLiteral("Party")}));
        const QStringList firstIds = identifiers(items);
        for (const QString &id : firstIds)
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^TEMP\\d+\\.png$")).match(id).hasMatch())
                << id.toStdString();

        // Copy of Party while (copy 1) exists makes the pair (copy 2).
        list->selectRow(1);
        messages.queueAnswers({true});
        QTest::mouseClick(browser.Copy_temp_btn, Qt::LeftButton);
        EXPECT_EQ(messages.questions(), QStringList{TemplateStore::MsgConfirmCopy});
        EXPECT_TRUE(QFileInfo::exists(userFile(QStringLiteral("Party (copy 2).png"))));
        EXPECT_TRUE(QFileInfo::exists(userFile(QStringLiteral("Party (copy 2).dcard"))));
        EXPECT_EQ(items->count(), 3);
        for (const QString &id : identifiers(items))
            EXPECT_FALSE(firstIds.contains(id)) << "identifier used again: " << id.toStdString();

        // Rename (copy 2) to Birthday; renaming to an existing name asks first, and No keeps both.
        list->selectRow(1); // "Party (copy 2)"
        EXPECT_EQ(items->item(list->selectedRows().value(0)).imageTitle(), QStringLiteral("Party (copy 2)"));
        messages.clear();
        messages.queueAnswers({false});
        nameDialogAnswers(QStringLiteral("Party"));
        QTest::mouseClick(browser.Rename_temp_btn, Qt::LeftButton);
        EXPECT_EQ(messages.questions(), QStringList{TemplateStore::MsgReplace});
        EXPECT_TRUE(QFileInfo::exists(userFile(QStringLiteral("Party (copy 2).dcard"))));
        nameDialogAnswers(QStringLiteral("Birthday"));
        QTest::mouseClick(browser.Rename_temp_btn, Qt::LeftButton);
        EXPECT_TRUE(QFileInfo::exists(userFile(QStringLiteral("Birthday.dcard"))));
        EXPECT_FALSE(QFileInfo::exists(userFile(QStringLiteral("Party (copy 2).dcard"))));
        EXPECT_FALSE(QFileInfo::exists(userFile(QStringLiteral("Party (copy 2).png"))));

        // Delete asks; No keeps the pair, Yes removes both files.
        list->selectRow(0); // Birthday.png
        EXPECT_EQ(items->item(list->selectedRows().value(0)).imageTitle(), QStringLiteral("Birthday"));
        messages.clear();
        messages.queueAnswers({false, true});
        QTest::mouseClick(browser.Delete_temp_btn, Qt::LeftButton);
        EXPECT_TRUE(QFileInfo::exists(userFile(QStringLiteral("Birthday.png"))));
        QTest::mouseClick(browser.Delete_temp_btn, Qt::LeftButton);
        EXPECT_EQ(messages.questions(),
                  (QStringList{TemplateStore::MsgConfirmDelete, TemplateStore::MsgConfirmDelete}));
        EXPECT_FALSE(QFileInfo::exists(userFile(QStringLiteral("Birthday.png"))));
        EXPECT_FALSE(QFileInfo::exists(userFile(QStringLiteral("Birthday.dcard"))));

        // A chosen picture that vanished: "Please select template." and the dialog stays.
        list->selectRow(0);
        const QString chosen = Template_Wizard::Selected_Template_Path;
        QFile::remove(chosen);
        messages.clear();
        QTest::mouseClick(browser.ok_button, Qt::LeftButton);
        EXPECT_EQ(shown(), QStringList{TemplateStore::MsgSelect});
        EXPECT_EQ(dialog.result(), 0);

        list->selectRow(1); // Party.png
        QTest::mouseClick(browser.ok_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(browser.chooseTemplate(), userFile(QStringLiteral("Party.dcard")));
}

TEST_F(TemplateWindows, NewFromTemplateLoadsTheChosenDesignAsUnsaved)
{
    makeUserTemplate(QStringLiteral("Three"));
    ASSERT_EQ(front().size(), 1);
    window->New_Project_Setting_Reset();
    ASSERT_TRUE(front().isEmpty());
    Project_File_Name = tempPath(QStringLiteral("current.dcard"));
    clickTool(3); // an unsaved change, so the question comes

    modalScripts.push_back([this](QDialog &dialog) {
        auto &browser = static_cast<Template_Wizard &>(dialog);
        browser.cat_cmbo_bx->setCurrentIndex(1);
        emit browser.cat_cmbo_bx->activated(1);
        browser.imageBrowser->selectRow(0);
        QTest::mouseClick(browser.ok_button, Qt::LeftButton);
        return dialog.result();
    });
    messages.queueChoices({int(SaveAnswer::DontSave)}); // do not save the current design first
    triggerMenu(QStringLiteral("File/New from Template..."));
    EXPECT_EQ(messages.questions(), QStringList{FileCommands::SaveBeforeNewQuestion});
    EXPECT_EQ(front().size(), 1);
    EXPECT_TRUE(Project_File_Name.isEmpty()); // a template starts a new design

    // Cancel in the browser changes nothing.
    messages.clear();
    modalScripts.push_back([](QDialog &dialog) {
        static_cast<Template_Wizard &>(dialog).cancel_button->click();
        return dialog.result();
    });
    triggerMenu(QStringLiteral("File/New from Template..."));
    EXPECT_TRUE(messages.questions().isEmpty());
    EXPECT_TRUE(Template_Wizard::Selected_Template_Path.isEmpty());
    EXPECT_EQ(front().size(), 1);
}

TEST_F(TemplateWindows, GreetingPickerStepsWithWrapAndNeedsAText)
{
    writeFile(dataRoot() + QStringLiteral("Title.txt"), "First\r\nSecond\r\nThird\r\n");
    writeFile(dataRoot() + QStringLiteral("Message.txt"), "  Hello there\nSee you soon\n");
    Insert_Template picker;
    modalScripts.push_back([&](QDialog &dialog) {
        EXPECT_EQ(picker.msg_value->toPlainText(), QStringLiteral("First"));
        QTest::mouseClick(picker.back_button, Qt::LeftButton);
        EXPECT_EQ(picker.msg_value->toPlainText(), QStringLiteral("Third"));
        QTest::mouseClick(picker.next_button, Qt::LeftButton);
        QTest::mouseClick(picker.next_button, Qt::LeftButton);
        EXPECT_EQ(picker.msg_value->toPlainText(), QStringLiteral("Second"));
        QTest::mouseClick(picker.ok_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(picker.chooseText(Insert_Template::Kind::Titles), QStringLiteral("Second"));

    modalScripts.push_back([&](QDialog &dialog) {
        EXPECT_EQ(picker.msg_value->toPlainText(), QStringLiteral("Hello there"));
        QTest::mouseClick(picker.next_button, Qt::LeftButton);
        QTest::mouseClick(picker.next_button, Qt::LeftButton); // past the last: the first again
        EXPECT_EQ(picker.msg_value->toPlainText(), QStringLiteral("Hello there"));
        picker.msg_value->clear();
        QTest::keyClicks(picker.msg_value, QStringLiteral("   "));
        QTest::mouseClick(picker.ok_button, Qt::LeftButton);
        EXPECT_EQ(shown(), QStringList{Insert_Template::MsgSelectMessage});
        EXPECT_EQ(dialog.result(), 0);
        saveArtifact(&picker, QStringLiteral("greeting_picker.png"));
        QTest::mouseClick(picker.cancel_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(picker.chooseText(Insert_Template::Kind::Messages), std::nullopt);

    // Without the files the field is empty and OK asks for a text.
    QFile::remove(dataRoot() + QStringLiteral("Message.txt"));
    messages.clear();
    modalScripts.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(picker.msg_value->toPlainText().isEmpty());
        QTest::mouseClick(picker.next_button, Qt::LeftButton);
        QTest::mouseClick(picker.ok_button, Qt::LeftButton);
        EXPECT_EQ(shown(), QStringList{Insert_Template::MsgSelectMessage});
        return 0;
    });
    picker.chooseText(Insert_Template::Kind::Messages);
}

TEST_F(TemplateWindows, ExitShowsRateUsAndHelpMenuReachesItsWindows)
{
    triggerMenu(QStringLiteral("Help/Help and Support..."));
    triggerMenu(QStringLiteral("Help/Share..."));
    triggerMenu(QStringLiteral("Help/Visit the Website"));
    triggerMenu(QStringLiteral("Help/Tessaly Badge Maker..."));
    EXPECT_EQ(modalTitles, (QStringList{QStringLiteral("Help and Support"), QStringLiteral("Share"),
                                        QStringLiteral("More from Tessaly")}));
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.first().toString(), QStringLiteral("https://www.example.com/"));

    // Exit: the rate-us window, whose review button opens the review page; then status 0.
    modalTitles.clear();
    openedUrls.clear();
    modalScripts.push_back([](QDialog &dialog) {
        auto *review = dialog.findChild<QPushButton *>(QStringLiteral("review_button"));
        QTest::mouseClick(review, Qt::LeftButton);
        return dialog.result();
    });
    messages.queueAnswers({false});
    window->Exit_App();
    EXPECT_EQ(modalTitles, QStringList{QStringLiteral("Rate Us")});
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_TRUE(openedUrls.first().toString().startsWith(QStringLiteral("https://www.example.com/")));
    EXPECT_EQ(exitStatuses, QList<int>{0});
}

TEST_F(TemplateWindows, TextPanelsPickerEntryShowsTheShippedTextsOfItsMode)
{
    const QStringList messagesShipped = GreetingTexts::readLines(dataRoot() + QStringLiteral("Message.txt"));
    const QStringList titlesShipped = GreetingTexts::readLines(dataRoot() + QStringLiteral("Title.txt"));
    ASSERT_GE(messagesShipped.size(), 10);
    ASSERT_GE(titlesShipped.size(), 10);
    for (const QString &m : messagesShipped)
        EXPECT_LE(m.size(), 250) << m.toStdString(); // the wizard's message limit
    using Kind = WindowRegistry::GreetingKind;
    for (const Kind kind : {Kind::Messages, Kind::Titles}) {
        modalScripts.push_back([](QDialog &dialog) {
            auto &picker = static_cast<Insert_Template &>(dialog);
            QTest::mouseClick(picker.next_button, Qt::LeftButton);
            QTest::mouseClick(picker.ok_button, Qt::LeftButton);
            return dialog.result();
        });
        EXPECT_EQ(window->registry().chooseGreetingText(kind),
                  (kind == Kind::Messages ? messagesShipped : titlesShipped).at(1));
    }
}

TEST_F(TemplateWindows, ExportAsTemplateRefusesLongNamesAndSaysWhyItFailed)
{
    clickTool(3);
    // A name the file system cannot hold is refused in the name dialog, before anything is written.
    nameDialogAnswers(QString(250, QLatin1Char('x')));
    triggerMenu(QStringLiteral("File/Export As Template..."));
    EXPECT_EQ(shown(), QStringList{TemplateStore::MsgNameTooLong});
    EXPECT_TRUE(QDir(userFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A file stands where the user's template folder should be: "fail" and the reason.
    messages.clear();
    QDir(userFolder()).removeRecursively();
    testsupport::writeFile(userFolder(), "in the way");
    nameDialogAnswers(QStringLiteral("Party"));
    triggerMenu(QStringLiteral("File/Export As Template..."));
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown()[0].startsWith(TemplateStore::MsgFail + QStringLiteral("\n\nThe folder ")))
        << shown()[0].toStdString();
    EXPECT_TRUE(shown()[0].contains(userFolder())) << shown()[0].toStdString();
}
