// The details reach the card: the editor's button places on OK only, the preview works on copies
// (a Cancel after it leaves a saved design byte for byte), and the fill flag and the Excel entry.
#include "data/ui/Data_From_Excel.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/MainWindowOutputHost.h"
#include "editor/ui/ToolController.h"
#include "foundation/CardCodes.h"
#include "model/ModelGlobals.h"
#include "output/OutputCheck.h"
#include "output/RunPlan.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/Inspector.h"
#include "platform/UndoManager.h"
#include "profile/PlaceholderFrames.h"
#include "profile/ui/ProfileDriver.h"
#include "support/DesignNotices.h"
#include "support/DesignSetup.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QTableView>

class ProfilePlacement : public ProfileFixture
{
protected:
    QByteArray saved(const QString &name)
    {
        Project_File_Name = tempPath(name);
        EXPECT_TRUE(window->designFile().Save_project_file(false, false).ok());
        return testsupport::readFile(tempPath(name));
    }
};

TEST_F(ProfilePlacement, TheEditorsButtonPlacesTheSideOnOkAndNothingOnCancel)
{
    modalScripts.push_back([&](QDialog &dialog) {
        auto &d = dynamic_cast<User_profile &>(dialog);
        type(d.name_value, "Ada Example");
        d.cancel_button->click();
        return d.result();
    });
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    EXPECT_TRUE(front().isEmpty());

    modalScripts.push_back([&](QDialog &dialog) {
        auto &d = dynamic_cast<User_profile &>(dialog);
        EXPECT_TRUE(d.name_value->text().isEmpty()); // the cancelled entry is not kept
        type(d.name_value, "Ada Example");
        type(d.website_value, "www.example.com");
        d.ok_button->click();
        return d.result();
    });
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    ASSERT_EQ(front().size(), 2);
    const GraphicPtr name = byId(front(), "Fup_Name");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Text_Value.value_or(QString()), QStringLiteral("Ada Example"));
    EXPECT_EQ(name->bounds(), PlaceholderFrames::frame("Fup_Name", true));
    EXPECT_TRUE(byId(front(), "Fup_Website"));
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 2);
    EXPECT_TRUE(back().isEmpty());

    // Opened again: the placed details load, and an emptied one is hidden on OK.
    modalScripts.push_back([&](QDialog &dialog) {
        auto &d = dynamic_cast<User_profile &>(dialog);
        EXPECT_EQ(d.name_value->text(), QStringLiteral("Ada Example"));
        EXPECT_EQ(d.website_value->text(), QStringLiteral("www.example.com"));
        d.website_value->clear();
        d.ok_button->click();
        return d.result();
    });
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    EXPECT_EQ(front().size(), 2);
    EXPECT_FALSE(byId(front(), "Fup_Website")->ctrl_is_visible);
    EXPECT_TRUE(name->ctrl_is_visible);
}

// A new detail goes where the card shows nothing; when nothing is free the user is told which lie
// over other objects, and only after the side's own placing, never for the dialog's preview.
TEST_F(ProfilePlacement, DetailsGoClearOfTheCardsWordsOrTheUserIsToldWhereTheyWent)
{
    const struct {
        const char *what;
        QRectF there; // an object on the card before the details come
        bool crowded; // no clear place is left for the phone
    } cases[] = {
        {"the message across the phone's line", QRectF(8, 108, 200, 18), false},
        {"a card covered", QRectF(QPointF(0, 0), window->document().design().cardSize()), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        window->document().removeAllGraphicsFromSide(0);
        messages.clear();
        GraphicPtr words = SKTGraphic::create(SKTGraphic::Kind::Text);
        words->setBounds(c.there);
        window->document().insertGraphicsIntoSide(0, {words}, {0});
        modalScripts.push_back([&](QDialog &dialog) {
            auto &d = dynamic_cast<User_profile &>(dialog);
            d.phone_value->clear();
            type(d.phone_value, "555 0100");
            d.ok_button->click();
            return d.result();
        });
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")),
                          Qt::LeftButton);
        const GraphicPtr phone = byId(front(), "Fup_PhoneNO");
        ASSERT_TRUE(phone);
        EXPECT_EQ(phone->bounds().intersects(c.there), c.crowded);
        EXPECT_EQ(messages.messages(), c.crowded
                                           ? QStringList{QStringLiteral(
                                                 "\nThe card has no free room left for Phone No., so it lies "
                                                 "over other objects at the usual place. Drag it where "
                                                 "you want.")}
                                           : QStringList());
    }
}

TEST_F(ProfilePlacement, APreviewWorksOnCopiesSoCancelLeavesTheSavedDesignAsItWas)
{
    window->Front_user_profile.Name.value = QStringLiteral("Old Name");
    ProfileState::instance().Fill_User_Profile = 1;
    window->Fill_User_profile_info_front_side();
    const GraphicPtr name = byId(front(), "Fup_Name");
    ASSERT_TRUE(name);
    const QByteArray before = saved("before.dcard");
    last_ctrl_X = 42.0f;
    last_ctrl_Y = 17.0f;

    session(QStringLiteral("F"), [&](User_profile &d) {
        type(d.name_value, "New Name");
        type(d.slogan_value, "Cards for all");
        d.preview_button->click();
        const GraphicPtr shown = byId(window->document().graphics_temp(), "Fup_Name");
        ASSERT_TRUE(shown);
        EXPECT_NE(shown.get(), name.get());
        EXPECT_EQ(shown->Text_Value.value_or(QString()), QStringLiteral("New Name"));
        EXPECT_TRUE(byId(window->document().graphics_temp(), "Fup_CompanySlogan"));
        EXPECT_FALSE(d.Preivew_picture->pixmap().isNull());
        type(d.name_value, "Newer Name");
        d.preview_button->click();
        EXPECT_EQ(byId(window->document().graphics_temp(), "Fup_Name")->Text_Value.value_or(QString()),
                  QStringLiteral("Newer Name"));
        EXPECT_EQ(window->document().graphics_temp().size(), 2);
        d.cancel_button->click();
    });
    EXPECT_EQ(last_ctrl_X, 42.0f);
    EXPECT_EQ(last_ctrl_Y, 17.0f);
    EXPECT_EQ(name->Text_Value.value_or(QString()), QStringLiteral("Old Name"));
    EXPECT_EQ(front().size(), 1);
    EXPECT_EQ(window->Front_user_profile.Name.value, QStringLiteral("Old Name"));
    EXPECT_TRUE(window->Front_user_profile.slogan.value.isEmpty());
    EXPECT_EQ(saved("after.dcard"), before);
}

TEST_F(ProfilePlacement, EachPlacementIsOneStepThatUndoTakesBackWhole)
{
    const auto placeWith = [&](const char *name, const char *website) {
        modalScripts.push_back([=](QDialog &dialog) {
            auto &d = dynamic_cast<User_profile &>(dialog);
            d.name_value->clear();
            type(d.name_value, name);
            d.website_value->clear();
            type(d.website_value, website);
            d.ok_button->click();
            return d.result();
        });
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")),
                          Qt::LeftButton);
        QCoreApplication::processEvents();
    };
    UndoManager &undo = window->document().undoManager();
    placeWith("Ada Example", "www.example.com");
    ASSERT_EQ(front().size(), 2);
    const GraphicPtr name = byId(front(), "Fup_Name");
    const GraphicPtr website = byId(front(), "Fup_Website");
    placeWith("Grace Example", "");
    EXPECT_EQ(name->textContentsForDrawing().text, QStringLiteral("Grace Example"));
    EXPECT_FALSE(website->ctrl_is_visible);
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Personal Details"));
    // OK with nothing changed is no step, and the design stays saved; so too where the texts were
    // never asked for their storage, as a design opened from a file may hold them.
    const int steps = undo.undoCount();
    name->_Text_contents.reset();
    website->_Text_contents.reset();
    window->designFile().markClean();
    placeWith("Grace Example", "");
    EXPECT_EQ(undo.undoCount(), steps);
    EXPECT_FALSE(window->designFile().isModified());

    window->commands().Undo_Clicked();
    EXPECT_EQ(front(), (GraphicList{website, name}));
    EXPECT_EQ(name->textContentsForDrawing().text, QStringLiteral("Ada Example"));
    EXPECT_TRUE(website->ctrl_is_visible);
    window->commands().Undo_Clicked();
    EXPECT_TRUE(front().isEmpty());
    window->commands().Redo_Clicked();
    EXPECT_EQ(front(), (GraphicList{website, name}));
}

// A Details session is one change of the design: the workbook it reads and the rows corrected in
// its table viewer reach the design at OK, heard once, as one step. Cancel, Escape and the close
// button leave the design, its history and its listeners as they were.
TEST_F(ProfilePlacement, ADetailsSessionIsOneChangeOfTheDesign)
{
    writeBinding([this](ExcelBindingTable &table) {
        table.setColumnTitles({"Email"});
        table.setListData(rows({"old@example.com"}));
        table.Excel_Binding_Use = true;
    });
    const ExcelBindingTable before = binding();
    const QString book = tempPath("guests.xlsx");
    testsupport::writeFile(book, "PK");
    nextRows = rows({"ann@example.com", "bo@example.com"});
    UndoManager &undo = window->document().undoManager();
    const int stepsBefore = undo.undoCount();
    testsupport::DesignNotices notices(window->document());

    // Reads the workbook, corrects its first row in the table viewer, binds the e-mail to it.
    const auto runSession = [&](std::function<void(User_profile &)> close) {
        files.answers = {book};
        modalScripts.push_back([&, close](QDialog &dialog) {
            auto &d = dynamic_cast<User_profile &>(dialog);
            d.browse_excel_button->click();
            modalScripts.push_front([](QDialog &shown) {
                auto &viewer = dynamic_cast<Data_From_Excel &>(shown);
                QAbstractItemModel *rowsShown = viewer.ColList->model();
                EXPECT_EQ(rowsShown->rowCount(), 2); // the workbook the dialog read
                rowsShown->setData(rowsShown->index(0, 1), QStringLiteral("ann@example.org"), Qt::EditRole);
                viewer.ok_button->click();
                return viewer.result();
            });
            d.view_excel_button->click();
            choose(d.email_ds_combo, 2);
            choose(d.email_ser_col_cb, 1);
            EXPECT_EQ(d.email_value->text(), QStringLiteral("ann@example.org"));
            EXPECT_EQ(notices.heard, 0);
            EXPECT_TRUE(DesignSettings::sameBinding(binding(), before));
            close(d);
            return d.result();
        });
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")),
                          Qt::LeftButton);
    };
    for (const auto &[how, close] : closings()) {
        runSession(close);
        EXPECT_EQ(notices.heard, 0) << how;
        EXPECT_EQ(undo.undoCount(), stepsBefore) << how;
        EXPECT_TRUE(DesignSettings::sameBinding(binding(), before)) << how;
        EXPECT_TRUE(front().isEmpty()) << how;
    }

    runSession([](User_profile &d) { d.ok_button->click(); });
    EXPECT_EQ(notices.heard, 1);
    EXPECT_EQ(undo.undoCount(), stepsBefore + 1);
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Personal Details"));
    EXPECT_EQ(binding().rowCount(), 2);
    EXPECT_EQ(binding().objectValue(1, 0), QStringLiteral("ann@example.org"));
    EXPECT_TRUE(DesignSettings::sameBinding(notices.seen.binding, binding()));
    const GraphicPtr email = byId(front(), "Fup_EmailID");
    ASSERT_TRUE(email);
    EXPECT_EQ(email->Text_Value.value_or(QString()), QStringLiteral("ann@example.org"));

    window->commands().Undo_Clicked();
    EXPECT_EQ(notices.heard, 2);
    EXPECT_TRUE(DesignSettings::sameBinding(binding(), before));
    EXPECT_TRUE(front().isEmpty());
}

namespace
{
// Whether the inspector's data-source list offers "Excel".
bool excelOffered(SKTWindowController &window)
{
    return window.inspector().dataSource().Data_source_type->findText(QStringLiteral("Excel")) >= 0;
}
} // namespace

TEST_F(ProfilePlacement, WithoutTheFillFlagOnlyTheExcelEntryFollowsAndThePreviewStillPlaces)
{
    window.reset();
    auto counting = std::make_unique<SKTWindowController>();
    counting->Front_user_profile.Name.value = QStringLiteral("N");
    counting->Back_user_profile.Name.value = QStringLiteral("N");
    counting->TEMP_user_profile.Name.value = QStringLiteral("N");
    testsupport::arrangeSettings(counting->document(),
                                 [](DesignSettings &s) { s.binding.Excel_Binding_Use = true; });
    counting->Fill_User_profile_info_front_side();
    EXPECT_TRUE(excelOffered(*counting));
    testsupport::arrangeSettings(counting->document(),
                                 [](DesignSettings &s) { s.binding.Excel_Binding_Use = false; });
    counting->Fill_User_profile_info_back_side();
    EXPECT_FALSE(excelOffered(*counting));
    EXPECT_TRUE(counting->document().graphics().isEmpty());
    EXPECT_TRUE(counting->document().graphics_back().isEmpty());
    counting->Fill_User_profile_info_TEMP_side();
    EXPECT_EQ(counting->document().graphics_temp().size(), 1);
    EXPECT_FALSE(excelOffered(*counting));

    // A new design forgets the front and back details and the flag, not the preview's.
    ProfileState::instance().Fill_User_Profile = 1;
    counting->New_Project_Setting_Reset();
    EXPECT_EQ(ProfileState::instance().Fill_User_Profile, 0);
    EXPECT_TRUE(counting->Front_user_profile.Name.value.isEmpty());
    EXPECT_EQ(counting->Front_user_profile.Name.id, QStringLiteral("Fup_Name"));
    EXPECT_EQ(counting->TEMP_user_profile.Name.value, QStringLiteral("N"));
}

TEST_F(ProfilePlacement, ABackSideOkPlacesOnTheBackWithTheSeriesBinding)
{
    writeSeries("names", "Guest 1\nGuest 2\n");
    window->sideViews().Select_back_side();
    modalScripts.push_back([&](QDialog &dialog) {
        auto &d = dynamic_cast<User_profile &>(dialog);
        choose(d.name_ds_combo, 1);
        choose(d.name_ser_col_cb, 0);
        d.ok_button->click();
        return d.result();
    });
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    EXPECT_TRUE(front().isEmpty());
    const GraphicPtr name = byId(back(), "Fup_Name");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->data_source_type, 1);
    EXPECT_EQ(name->batch_list_name_val(), QStringLiteral("names"));
    EXPECT_EQ(name->Text_Value.value_or(QString()), QStringLiteral("Guest 1"));
}

// A detail bound to the column "Long" follows that heading into the next workbook loaded in the
// dialog: its list, its value and the preview show the new workbook, or that the column is gone.
TEST_F(ProfilePlacement, ABoundDetailFollowsItsHeadingIntoTheNextWorkbook)
{
    struct Case {
        const char *what;
        QStringList headings;
        int column; // where "Long" stands now; -1 gone
    };
    const Case cases[] = {
        {"a column inserted before", {"Name", "Secret", "Long", "Date"}, 3},
        {"a workbook without the column", {"Name", "Date"}, -1},
        {"a reordered workbook", {"Date", "Long", "Secret", "Name"}, 2},
    };
    const QString book = tempPath("book.xlsx");
    testsupport::writeFile(book, "PK");
    for (const Case &c : cases) {
        writeBinding([](ExcelBindingTable &table) {
            table.setColumnTitles({"Name", "Long", "Date"});
            table.setListData({{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "old-long"}}});
        });
        User_Profile_Class &record = window->Front_user_profile;
        User_Profile_Class::setColumn(record.email, 2, QStringLiteral("Long"));
        record.email.value = QStringLiteral("old-long");
        ProfileState::instance().Fill_User_Profile = 1;
        window->Fill_User_profile_info_front_side();

        User_profile::setWorkbookImport([&c](QWidget *, const QString &, ExcelBindingTable &table) {
            ExcelBindingTable::Row row{{"Extension", "1"}};
            for (int k = 1; k <= c.headings.size(); ++k)
                row.insert(ExcelBindingTable::columnIdentifier(k),
                           c.headings[k - 1] == "Long" ? QStringLiteral("new-long") : QStringLiteral("x"));
            table.setColumnTitles(c.headings);
            table.setListData({row});
        });
        files.answers = {book};
        messages.clear();
        session(QStringLiteral("F"), [&](User_profile &d) {
            EXPECT_EQ(d.email_ser_col_cb->currentText(), QStringLiteral("Long")) << c.what;
            EXPECT_EQ(d.email_value->text(), QStringLiteral("old-long")) << c.what;
            d.browse_excel_button->click();
            EXPECT_EQ(d.email_ser_col_cb->currentIndex(), c.column) << c.what;
            EXPECT_EQ(d.email_value->text(), c.column < 0 ? QString() : QStringLiteral("new-long")) << c.what;
            EXPECT_EQ(d.email_ser_col_cb->placeholderText(),
                      c.column < 0 ? QStringLiteral("Missing: Long") : QString())
                << c.what;
            saveArtifact(&d, QStringLiteral("details_after_workbook_%1.png").arg(c.column));
            // The preview follows at once: the new value, or nothing while the column is missing.
            EXPECT_EQ(d.Preivew_picture->pixmap().isNull(), c.column < 0) << c.what;
            if (c.column >= 0) {
                const GraphicPtr shown = byId(window->document().graphics_temp(), "Fup_EmailID");
                ASSERT_TRUE(shown) << c.what;
                EXPECT_EQ(shown->Text_Value.value_or(QString()), QStringLiteral("new-long")) << c.what;
                EXPECT_EQ(shown->excel_col_indx, c.column) << c.what;
            } else {
                // OK names the missing heading; choosing another column leaves the dialog open.
                messages.queueChoices({1});
                d.ok_button->click();
                EXPECT_EQ(d.result(), 0) << c.what;
                EXPECT_TRUE(messages.messages().isEmpty()) << c.what;
                EXPECT_TRUE(messages.questions().value(0).startsWith(QStringLiteral(
                    "Email Id is bound to the column \"Long\", which book.xlsx does not have.")))
                    << c.what;
            }
            d.cancel_button->click();
        });
    }
}

// Kept, a binding to a column the workbook lacks stays on the card as it was (its text, its
// heading), and the check before a run names the missing column.
TEST_F(ProfilePlacement, AMissingColumnKeptStaysBoundAndTheRunCheckNamesIt)
{
    writeBinding([](ExcelBindingTable &table) {
        table.setColumnTitles({"Name", "Phone"});
        table.setListData({{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "555-0100"}}});
        table.Excel_Binding_Use = true;
    });
    User_Profile_Class &record = window->Front_user_profile;
    User_Profile_Class::setColumn(record.phone, 2, QStringLiteral("Phone"));
    record.phone.value = QStringLiteral("555-0100");
    ProfileState::instance().Fill_User_Profile = 1;
    window->Fill_User_profile_info_front_side();
    User_profile::setWorkbookImport([](QWidget *, const QString &, ExcelBindingTable &table) {
        table.setColumnTitles({"Name"});
        table.setListData(
            {{{"Extension", "1"}, {"Column1", "Bob"}}, {{"Extension", "2"}, {"Column1", "Cy"}}});
    });
    const QString book = tempPath("people.xlsx");
    testsupport::writeFile(book, "PK");
    files.answers = {book};
    messages.queueChoices({0});
    const int result = session(QStringLiteral("F"), [&](User_profile &d) {
        d.browse_excel_button->click();
        EXPECT_EQ(d.phone_ser_col_cb->placeholderText(), QStringLiteral("Missing: Phone"));
        d.ok_button->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(messages.questions(),
              QStringList("Phone No. is bound to the column \"Phone\", which people.xlsx does not have.\n\n"
                          "You can keep the binding marked missing: it shows nothing on the cards until a "
                          "workbook with that column is loaded, and export, print and mail warn first. Or "
                          "choose another column."));
    const GraphicPtr phone = byId(front(), "Fup_PhoneNO");
    ASSERT_TRUE(phone);
    EXPECT_TRUE(phone->ctrl_is_visible);
    EXPECT_EQ(phone->Text_Value.value_or(QString()), QStringLiteral("555-0100"));
    EXPECT_EQ(phone->data_source_type, DataSourceCode::BindingColumn);
    EXPECT_EQ(phone->excel_col_title.value_or(QString()), QStringLiteral("Phone"));

    const auto run = RunPlan::make(MainWindowOutputHost::designOf(*window));
    const QString report = OutputCheck::check(*run).text();
    EXPECT_TRUE(report.contains(QStringLiteral("column \"Phone\""))) << report.toStdString();
}

// Opened from a start window, before a card is chosen, the workbook OK binds changes the design as
// it stands: heard once, one step, and Undo takes it back if no new card replaces the design.
TEST_F(ProfilePlacement, FromAStartWindowTheWorkbookIsAStepOfItsOwn)
{
    const ExcelBindingTable before = binding();
    const QString book = tempPath("guests.xlsx");
    testsupport::writeFile(book, "PK");
    nextRows = rows({"ann@example.com"});
    UndoManager &undo = window->document().undoManager();
    const int stepsBefore = undo.undoCount();
    testsupport::DesignNotices notices(window->document());
    files.answers = {book};
    EXPECT_EQ(session(QString(),
                      [&](User_profile &d) {
                          d.browse_excel_button->click();
                          choose(d.email_ds_combo, 2);
                          choose(d.email_ser_col_cb, 1);
                          d.ok_button->click();
                      }),
              1);
    EXPECT_EQ(notices.heard, 1);
    EXPECT_EQ(undo.undoCount(), stepsBefore + 1);
    EXPECT_EQ(binding().rowCount(), 1);
    EXPECT_TRUE(front().isEmpty());

    window->commands().Undo_Clicked();
    EXPECT_EQ(notices.heard, 2);
    EXPECT_TRUE(DesignSettings::sameBinding(binding(), before));
}
