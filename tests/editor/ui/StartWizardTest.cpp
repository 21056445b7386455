// The start wizard run as a user would from the main window's start, and what it leaves on the
// front side; the main window's background strip.
#include "MainWindowFixture.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "canvas/ui/Image_Library.h"
#include "editor/ui/BackgroundBrowser.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/StartWindows.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/StepperField.h"
#include "panels/CardSizeTables.h"
#include "platform/UndoManager.h"
#include "support/DesignNotices.h"
#include "support/DesignSetup.h"
#include "support/FakeDesktopOpener.h"
#include "support/TestSupport.h"
#include "support/WebLinks.h"

#include <QDateEdit>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimeEdit>

namespace
{
void writePicture(const QString &path, QColor colour)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(colour);
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(image.save(path, "PNG"));
}

void clickItem(ImageBrowser *browser, int row)
{
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->itemRect(row).center());
}

QString idOf(const GraphicPtr &g)
{
    return g->control_ID.value_or(QString());
}
} // namespace

class StartWizard : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QDir(dataRoot() + QStringLiteral("Background")).removeRecursively();
        QDir(dataRoot() + QStringLiteral("LibraryImage"))
            .removeRecursively(); // only the pictures a test writes
        for (const char *name : {"a-sky.png", "b-sea.png", "c-sun.png"})
            writePicture(dataRoot() + QStringLiteral("Background/") + QString::fromLatin1(name), Qt::cyan);
        // Greeting files as an editor on Windows saves them.
        testsupport::writeFile(dataRoot() + QStringLiteral("Title.txt"),
                               "Happy Birthday!\r\nYou're Invited\r\nLet's Celebrate\r\n");
        testsupport::writeFile(dataRoot() + QStringLiteral("Message.txt"),
                               "Join us for cake.\r\nCome and dance with us.\r\n");
        fillStartWindows(*window, window->registry());
    }

    // Runs the start window (as New does) with one scripted user.
    void runStart(std::function<void(Invitation_Wizard &)> user)
    {
        modalScripts.push_back([user](QDialog &dialog) {
            auto &wizard = dynamic_cast<Invitation_Wizard &>(dialog);
            wizard.show();
            user(wizard);
            const int r = wizard.result();
            wizard.hide();
            return r;
        });
        window->Open_Start_Window();
    }
    QString background(const char *name) const { return dataRoot() + QStringLiteral("Background/") + name; }
};

TEST_F(StartWizard, FourStepsMakeTheInvitationOnTheFront)
{
    runStart([&](Invitation_Wizard &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Start Wizard"));
        EXPECT_EQ(w.pages->currentWidget(), w.Start_card_box);
        EXPECT_TRUE(w.button_box->isHidden());
        EXPECT_DOUBLE_EQ(w.width_Stepper->value(), 120);
        EXPECT_DOUBLE_EQ(w.height_Stepper->value(), 120);
        saveArtifact(&w, QStringLiteral("start_wizard_start.png"));
        w.Using_Wizard_btn->click();
        EXPECT_EQ(Start_Card_Option, QStringLiteral("W"));
        EXPECT_EQ(w.pages->currentWidget(), w.first_box);

        // Entering step 2 chooses the first picture but stays; a click moves on.
        w.Next_btn->click();
        EXPECT_EQ(w.step(), 2);
        EXPECT_EQ(w.selected_image, background("a-sky.png"));
        saveArtifact(&w, QStringLiteral("start_wizard_background.png"));
        clickItem(w.imageBrowser, 1);
        EXPECT_EQ(w.step(), 3);
        EXPECT_EQ(w.selected_image, background("b-sea.png"));

        // Greetings come without the carriage returns of the file's line ends.
        EXPECT_EQ(w.msg_title->text(), QStringLiteral("Happy Birthday!"));
        EXPECT_EQ(w.msg_value->toPlainText(), QStringLiteral("Join us for cake."));
        w.title_bk_btn->click();
        EXPECT_EQ(w.msg_title->text(), QStringLiteral("Let's Celebrate"));
        w.title_nxt_btn->click();
        w.title_nxt_btn->click();
        EXPECT_EQ(w.msg_title->text(), QStringLiteral("You're Invited"));

        w.msg_title->setText(QStringLiteral("   ")); // blanks would lay out no title
        w.Next_btn->click();
        EXPECT_EQ(shown().last(), Invitation_Wizard::SelectTitleMessage);
        EXPECT_EQ(w.step(), 3);
        QTest::keyClicks(w.msg_title, QString(120, QLatin1Char('T')));
        EXPECT_EQ(w.msg_title->text().size(), Invitation_Wizard::TitleLimit);
        w.msg_title->setText(QStringLiteral("  You're Invited  "));
        w.msg_value->clear();
        w.Next_btn->click();
        EXPECT_EQ(shown().last(), Invitation_Wizard::SelectMessageMessage);
        w.msg_nxt_btn->click();
        w.msg_value->setPlainText(QString(300, QLatin1Char('m')));
        EXPECT_EQ(w.msg_value->toPlainText().size(), Invitation_Wizard::MessageLimit);
        w.msg_bk_btn->click();
        EXPECT_EQ(w.msg_value->toPlainText(), QStringLiteral("Join us for cake."));
        saveArtifact(&w, QStringLiteral("start_wizard_greeting.png"));
        w.Next_btn->click();

        EXPECT_EQ(w.step(), 4);
        for (QWidget *hidden : std::initializer_list<QWidget *>{w.venue_value, w.Date_picker, w.Time_picker,
                                                                w.Date_ctrl_value, w.Time_ctrl_value})
            EXPECT_TRUE(hidden->isHidden());
        EXPECT_FALSE(w.clear_details_btn->isEnabled());
        QTest::keyClicks(w.from_value, QString(45, QLatin1Char('f')));
        EXPECT_EQ(w.from_value->text().size(), Invitation_Wizard::SenderLimit);
        EXPECT_TRUE(w.clear_details_btn->isEnabled());
        w.from_value->setText(QStringLiteral("Sam"));
        QTest::keyClicks(w.to_value, QString(41, QLatin1Char('a')));
        EXPECT_EQ(w.to_value->text().size(), Invitation_Wizard::AddresseeLimit);
        w.to_value->setText(QStringLiteral("Anna"));
        QCoreApplication::processEvents(); // the step's layout settles as it would on screen
        saveArtifact(&w, QStringLiteral("start_wizard_details.png"));
        QTest::keyClick(w.to_value, Qt::Key_Return); // Return finishes as the default button does
    });

    EXPECT_TRUE(exitStatuses.isEmpty());
    EXPECT_EQ(window->document().design().outline(), CardDesign::Rectangle);
    EXPECT_NEAR(window->document().design().cardSize().width(), 340.16, 0.01);
    EXPECT_NEAR(canvas(0)->cardSize().height(), 340.16, 0.01);
    EXPECT_NEAR(window->findChild<StepperField *>(QStringLiteral("width_Stepper"))->value(), 120, 1e-6);
    // No named size is 120 x 120 mm: the size list marks none.
    EXPECT_TRUE(window->findChild<QTableView *>(QStringLiteral("ColList"))
                    ->selectionModel()
                    ->selectedRows()
                    .isEmpty());
    EXPECT_EQ(window->Front_card_Prop().Card_BG_Image_Path, background("b-sea.png"));
    EXPECT_EQ(window->Front_card_Prop().Card_fill_style, QStringLiteral("I"));
    ASSERT_EQ(front().size(), 4);
    // Newest first: the sender, made last, is frontmost.
    EXPECT_EQ(idOf(front()[3]), QStringLiteral("PARTY_TITLE"));
    EXPECT_EQ(front()[3]->Text_Value, QStringLiteral("You're Invited"));
    EXPECT_EQ(front()[3]->bounds().topLeft(), QPointF(40, 40));
    EXPECT_NEAR(front()[3]->bounds().width(), 260.16, 0.01);
    EXPECT_EQ(front()[2]->Text_Value, QStringLiteral("Dear Anna,"));
    EXPECT_EQ(front()[1]->bounds().topLeft(), QPointF(50, 120));
    EXPECT_EQ(front()[0]->Text_Value, QStringLiteral("From:\nSam"));
    EXPECT_EQ(front()[0]->bounds().topLeft(), QPointF(40, 250));
    // The laid-out card is the start of the design, not a step to undo.
    EXPECT_FALSE(window->document().undoManager().canUndo());
    saveArtifact(window.get(), QStringLiteral("start_wizard_invitation.png"));
}

TEST_F(StartWizard, LayoutOfEveryDetailOnTheDefaultCard)
{
    testsupport::setCardSize(window->document(), QSizeF(340.157, 340.157));
    InvitationDetails d;
    d.title = QStringLiteral("Party");
    d.to = QStringLiteral("Anna");
    d.message = QStringLiteral("Come along");
    d.date = QStringLiteral("March 7, 2024");
    d.time = QStringLiteral("2:05 PM");
    d.venue = QStringLiteral("The hall");
    d.from = QStringLiteral("Sam");
    window->Fill_Party_Invidation_Details(d);
    ASSERT_EQ(front().size(), 6);
    // Where each text stands is the layout's own (its tests); the window puts them on its front
    // side, newest first, at its card's width.
    const QStringList expected{"PARTY_FROM", "PARTY_VENUE", "PARTY_DATE",
                               "PARTY_MSG",  "PARTY_TO",    "PARTY_TITLE"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(idOf(front()[i]), expected[i]);
        EXPECT_NEAR(front()[i]->bounds().width(), 260.16, 0.01);
    }
    EXPECT_EQ(front()[2]->Text_Value, QStringLiteral("March 7, 2024 at 2:05 PM"));
    EXPECT_EQ(front()[5]->text_ctrl_font.value_or(FontDescriptor()).postScriptName,
              QStringLiteral("TimesNewRomanPS-BoldItalicMT"));
}

TEST_F(StartWizard, AnAddresseeTypedWithItsSalutationIsGreetedOnce)
{
    runStart([&](Invitation_Wizard &w) {
        w.Using_Wizard_btn->click();
        w.Next_btn->click();
        clickItem(w.imageBrowser, 0);
        w.Next_btn->click();
        ASSERT_EQ(w.step(), 4);
        QTest::keyClicks(w.to_value, QStringLiteral("Dear Sam"));
        QTest::keyClick(w.to_value, Qt::Key_Return);
    });
    const auto to = std::find_if(front().begin(), front().end(),
                                 [](const GraphicPtr &g) { return idOf(g) == QLatin1String("PARTY_TO"); });
    ASSERT_NE(to, front().end());
    EXPECT_EQ((*to)->Text_Value, QStringLiteral("Dear Sam,"));
}

TEST_F(StartWizard, ContactUsWithNoMailProgramNamesTheAddress)
{
    testsupport::FakeDesktopOpener opener(testsupport::FakeDesktopOpener::Ends::Failing);
    runStart([&](Invitation_Wizard &w) {
        w.Contact_us_btn->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !shown().isEmpty(); }));
        EXPECT_EQ(shown(),
                  QStringList{QStringLiteral("No mail program could be opened. You can write to this "
                                             "address yourself:\n") +
                              WebLinks::SupportAddress});
        EXPECT_EQ(QUrl(opener.arguments().value(0)).scheme(), QStringLiteral("mailto"));
    });
}

TEST_F(StartWizard, MessagesBackCancelAndClearDetails)
{
    runStart([&](Invitation_Wizard &w) {
        w.Contact_us_btn->click();
        ASSERT_EQ(openedUrls.size(), 1);
        EXPECT_EQ(openedUrls[0].scheme(), QStringLiteral("mailto"));
        w.Using_Wizard_btn->click();
        w.Next_btn->click();
        // The chosen picture vanished: the step refuses to move on.
        ASSERT_TRUE(QFile::remove(background("a-sky.png")));
        w.Next_btn->click();
        EXPECT_EQ(shown().last(), Invitation_Wizard::SelectBackgroundMessage);
        EXPECT_EQ(w.step(), 2);
        clickItem(w.imageBrowser, 2);
        w.Next_btn->click();
        EXPECT_EQ(w.step(), 4);

        w.from_value->setText(QStringLiteral("Sam"));
        messages.queueAnswers({false, true});
        w.clear_details_btn->setEnabled(true);
        w.clear_details_btn->click();
        EXPECT_EQ(messages.questions().last(), Invitation_Wizard::ClearDetailsQuestion);
        EXPECT_EQ(w.from_value->text(), QStringLiteral("Sam"));
        w.clear_details_btn->click();
        EXPECT_EQ(w.from_value->text(), QString());

        // The time reads as "h:mm a".
        w.Time_picker->setTime(QTime(14, 5));
        w.timePickerAction();
        EXPECT_EQ(w.selected_time, QStringLiteral("2:05 PM"));

        w.Back_Click();
        w.Back_Click();
        w.Back_Click();
        EXPECT_EQ(w.step(), 1);
        w.from_value->setText(QStringLiteral("Sam"));
        w.Back_Btn->click(); // from step 1 everything starts again
        EXPECT_EQ(w.step(), 0);
        EXPECT_EQ(w.from_value->text(), QString());
        EXPECT_EQ(w.selected_image, QString());
        EXPECT_EQ(w.selected_time, QString());
        w.Using_Wizard_btn->click();
        w.Next_btn->click();
        w.Cancel_btn->click();
        EXPECT_EQ(w.pages->currentWidget(), w.Start_card_box);
        EXPECT_FALSE(w.Exit_btn->isHidden());

        // Without backgrounds step 2 answers every Next with the message.
        QDir(dataRoot() + QStringLiteral("Background")).removeRecursively();
        w.Load_and_fill_backgrounds();
        EXPECT_EQ(w.images->count(), 3); // a missing folder keeps the list
        w.images->clear();
        w.Using_Wizard_btn->click();
        w.Next_btn->click();
        w.Next_btn->click();
        EXPECT_EQ(shown().last(), Invitation_Wizard::SelectBackgroundMessage);
        w.Exit_btn->click();
    });
    // Exit ends the program at once, with status 0 and no question.
    ASSERT_FALSE(exitStatuses.isEmpty());
    for (int status : exitStatuses)
        EXPECT_EQ(status, 0);
    EXPECT_EQ(messages.questions().size(), 2); // both from Clear Details
    EXPECT_TRUE(front().isEmpty());
}

TEST_F(StartWizard, OpeningADesignFromTheStartScreen)
{
    clickTool(3);
    const QString path = tempPath(QStringLiteral("saved.dcard"));
    files.answers.push_back(path);
    window->fileCommands().Save_Btn_Clicked();
    window->delete_all_control();

    runStart([&](Invitation_Wizard &w) {
        // A cancelled open panel leaves the start screen up with "L" still chosen.
        files.answers.push_back(std::nullopt);
        w.Open_Log_btn->click();
        EXPECT_EQ(Start_Card_Option, QStringLiteral("L"));
        EXPECT_EQ(w.step(), 0);
        EXPECT_FALSE(w.isHidden());
        w.Using_Wizard_btn->click();
        EXPECT_EQ(Start_Card_Option, QStringLiteral("W"));
        EXPECT_EQ(w.step(), 1);
        w.Cancel_btn->click();
        files.answers.push_back(path);
        w.Open_Log_btn->click();
    });
    EXPECT_TRUE(exitStatuses.isEmpty());
    ASSERT_EQ(front().size(), 1);
    EXPECT_EQ(Project_File_Name, path);
}

TEST_F(StartWizard, BackgroundStripPutsTheChoiceOnTheSideShown)
{
    BackgroundBrowser &strip = window->backgroundBrowser();
    strip.Load_and_fill_backgrounds();
    ASSERT_EQ(strip.images->count(), 3);

    // Dragging the third before the first.
    strip.imageBrowser->selectRow(2);
    std::unique_ptr<QMimeData> mime(strip.images->mimeData({strip.images->index(2)}));
    EXPECT_TRUE(strip.imageBrowser->dropRows(mime.get(), strip.imageBrowser->itemRect(0).center()));
    QStringList order;
    for (const MyImageObject &item : strip.images->images())
        order << item.imageTitle();
    EXPECT_EQ(order, (QStringList{"c-sun.png", "a-sky.png", "b-sea.png"}));

    // A choice while the back shows changes the back page only.
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")), Qt::LeftButton);
    ASSERT_EQ(window->Card_Front_Or_Back(), 1);
    strip.imageBrowser->clearSelection();
    clickItem(strip.imageBrowser, 1);
    EXPECT_EQ(window->Back_card_Prop().Card_BG_Image_Path, background("a-sky.png"));
    EXPECT_EQ(window->Back_card_Prop().Card_fill_style, QStringLiteral("I"));
    EXPECT_NE(window->Front_card_Prop().Card_BG_Image_Path, background("a-sky.png"));
    // The same picture clicked again with the front shown goes to the front.
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")), Qt::LeftButton);
    clickItem(strip.imageBrowser, 1);
    EXPECT_EQ(window->Front_card_Prop().Card_BG_Image_Path, background("a-sky.png"));
    saveArtifact(window.get(), QStringLiteral("main_window_backgrounds.png"));
}

TEST_F(StartWizard, LibraryServesTheBackgroundButtonAndTheLibraryTool)
{
    writePicture(dataRoot() + QStringLiteral("LibraryImage/hearts/red.png"), Qt::red);
    const auto chooseRow = [this](int row) {
        modalScripts.push_back([row](QDialog &dialog) {
            auto &library = dynamic_cast<Image_Library &>(dialog);
            library.show();
            clickItem(library.imageBrowser, row);
            library.ok_button->click();
            return library.result();
        });
    };

    // The Background button lists the backgrounds and puts the choice on the side showing.
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")), Qt::LeftButton);
    chooseRow(1);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Card_Bckgrnd_Btn")), Qt::LeftButton);
    EXPECT_EQ(modalTitles.last(), QStringLiteral("Background Image Library"));
    EXPECT_EQ(window->Back_card_Prop().Card_BG_Image_Path, background("b-sea.png"));
    EXPECT_TRUE(window->Front_card_Prop().Card_BG_Image_Path.isEmpty());

    // The library tool makes a picture object of the chosen picture; Cancel makes none.
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")), Qt::LeftButton);
    chooseRow(0);
    clickTool(9);
    EXPECT_EQ(modalTitles.last(), QStringLiteral("Image Library"));
    ASSERT_EQ(front().size(), 1);
    EXPECT_EQ(front()[0]->kind(), SKTGraphic::Kind::Image);
    EXPECT_EQ(front()[0]->_file_path, dataRoot() + QStringLiteral("LibraryImage/hearts/red.png"));
    clickTool(9); // no script: the library is cancelled
    EXPECT_EQ(front().size(), 1);
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 0);

    // A double-click on a picture chooses it, as OK does.
    modalScripts.push_back([](QDialog &dialog) {
        auto &library = dynamic_cast<Image_Library &>(dialog);
        library.show();
        QWidget *port = library.imageBrowser->viewport();
        const QPoint at = library.imageBrowser->itemRect(0).center();
        QTest::mouseClick(port, Qt::LeftButton, {}, at);
        QTest::mousePress(port, Qt::LeftButton, {}, at);
        QTest::mouseDClick(port, Qt::LeftButton, {}, at);
        QTest::mouseRelease(port, Qt::LeftButton, {}, at);
        return library.result();
    });
    clickTool(9);
    ASSERT_EQ(front().size(), 2);
    EXPECT_EQ(front()[0]->_file_path, dataRoot() + QStringLiteral("LibraryImage/hearts/red.png"));
}

TEST_F(StartWizard, TheFinishedCardIsUnsavedWorkAndTheEmptyCardBehindTheStartWindowIsNot)
{
    modalScripts.push_back([this](QDialog &dialog) {
        auto &w = dynamic_cast<Invitation_Wizard &>(dialog);
        w.show();
        // Nothing is done yet: the empty card behind the start window holds no changes.
        EXPECT_FALSE(window->hasUnsavedChanges());
        w.Using_Wizard_btn->click();
        w.Next_btn->click(); // the first picture is chosen on the way in
        w.Next_btn->click(); // the first title and message
        w.Next_btn->click();
        w.Next_btn->click(); // Finish
        const int r = w.result();
        w.hide();
        return r;
    });
    window->fileCommands().New_Project(); // as the program starts
    const qsizetype made = front().size();
    ASSERT_GE(made, 2);
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isWindowModified(); }));
    // Every road that would discard the card asks first; Cancel keeps it.
    const QList<QKeySequence> roads{QKeySequence::New, QKeySequence::Open,
                                    QKeySequence(Qt::CTRL | Qt::Key_Q)};
    for (const QKeySequence &keys : roads) {
        messages.clear();
        messages.queueChoices({int(SaveAnswer::Cancel)});
        QTest::keySequence(window.get(), keys);
        EXPECT_EQ(messages.questions().size(), 1) << keys.toString().toStdString();
        EXPECT_EQ(front().size(), made);
    }
    EXPECT_TRUE(exitStatuses.isEmpty());
}

// New over a design of another size: the wizard's card takes its place in one write, heard once
// when it is whole, and is no step to take back.
TEST_F(StartWizard, NewPutsTheChosenCardInPlaceInOneWrite)
{
    testsupport::setCardSize(window->document(), QSizeF(300, 200));
    clickTool(3);
    ASSERT_EQ(front().size(), 1);
    testsupport::DesignNotices notices(window->document());
    messages.queueChoices({int(SaveAnswer::DontSave)});
    modalScripts.push_back([&](QDialog &dialog) {
        auto &w = dynamic_cast<Invitation_Wizard &>(dialog);
        w.show();
        w.Using_Wizard_btn->click();
        w.width_Stepper->setValue(100);
        w.height_Stepper->setValue(70);
        for (int step = 1; step <= 4; ++step)
            w.Next_btn->click(); // the first picture, title and message; Finish
        // The old design stays as it was until the new one replaces it.
        EXPECT_EQ(notices.heard, 0);
        EXPECT_EQ(window->document().design().cardSize(), QSizeF(300, 200));
        const int r = w.result();
        w.hide();
        return r;
    });
    window->fileCommands().New_Btn_Clicked();
    EXPECT_EQ(messages.questions(), QStringList{FileCommands::SaveBeforeNewQuestion});

    EXPECT_EQ(notices.heard, 1);
    const QSizeF chosen(CardSizeTables::MM_to_Points_Convert(100), CardSizeTables::MM_to_Points_Convert(70));
    EXPECT_NEAR(notices.seen.cardSize().width(), chosen.width(), 0.01);
    EXPECT_NEAR(notices.seen.cardSize().height(), chosen.height(), 0.01);
    EXPECT_EQ(notices.seen.frontPage.Card_BG_Image_Path, background("a-sky.png"));
    EXPECT_EQ(notices.seen.frontPage.Card_fill_style, QStringLiteral("I"));
    EXPECT_TRUE(notices.seen == window->document().design().settings());
    EXPECT_EQ(canvas(0)->cardSize(), window->document().design().cardSize());
    EXPECT_NEAR(window->findChild<StepperField *>(QStringLiteral("width_Stepper"))->value(), 100, 1e-6);
    ASSERT_FALSE(front().isEmpty());
    for (const GraphicPtr &g : front())
        EXPECT_TRUE(idOf(g).startsWith(QLatin1String("PARTY_")));
    EXPECT_FALSE(window->document().undoManager().canUndo());
}
