// The personal-details dialogs driven through their widgets: the fresh and the loading mode, the
// validation message, OK by side, the caption and value boxes, the workbook, the photo and viewing.
#include "data/SpreadsheetWriter.h"
#include "model/SKTGraphic.h"
#include "profile/ui/ProfileDriver.h"
#include "support/KeyboardWalk.h"

#include "foundation/CardCodes.h"

#include <QLocale>
#include <QTimeZone>

#include <QImage>
#include <QPixmap>

namespace
{
QString msg(const QString &text)
{
    return QStringLiteral("\n") + text;
}
} // namespace

class ProfileDialog : public ProfileFixture
{
};

TEST_F(ProfileDialog, WizardsOpenAnEmptyDialogWhoseOkWritesBothRecordsAndPlacesNothing)
{
    const int result = session(QString(), [&](User_profile &d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("User_profile"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("User Profile Information"));
        for (int f = 0; f < User_profile::FieldCount; ++f) {
            EXPECT_EQ(d.sourceList(f)->currentIndex(), 0) << f;
            EXPECT_EQ(d.sourceList(f)->count(), 2) << f;
            EXPECT_EQ(d.seriesList(f)->count(), 0) << f;
            EXPECT_FALSE(d.seriesList(f)->isEnabled()) << f;
            EXPECT_FALSE(d.viewButton(f)->isEnabled()) << f;
            if (f < User_profile::Photo) {
                EXPECT_TRUE(d.valueField(f)->text().isEmpty()) << f;
                EXPECT_FALSE(d.valueField(f)->isReadOnly()) << f;
            }
        }
        EXPECT_TRUE(d.browse_pic_btn->isEnabled());
        EXPECT_TRUE(d.image_path_val->text().isEmpty());
        type(d.name_value, "Ada Example");
        type(d.email_value, "ada@example.com");
        testsupport::WindowFixture::saveArtifact(&d, "profile_fresh.png");
        d.ok_button->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(window->Front_user_profile.Name.value, QStringLiteral("Ada Example"));
    EXPECT_EQ(window->Back_user_profile.email.value, QStringLiteral("ada@example.com"));
    EXPECT_EQ(window->Front_user_profile.Fill_User_Profile_Enable, 1);
    EXPECT_EQ(ProfileState::instance().Fill_User_Profile, 1);
    EXPECT_TRUE(front().isEmpty());
    EXPECT_TRUE(back().isEmpty());
}

TEST_F(ProfileDialog, LoadingTheBackShowsTheBoundSeriesFirstValueAndSkipsHiddenAndOtherKinds)
{
    for (const char *name : {"alpha", "beta", "gamma", "titles"})
        writeSeries(name, "x\n");
    writeSeries("titles", "Director\nChair\n");
    window->sideViews().Select_back_side();
    GraphicPtr title = SKTGraphic::create(SKTGraphic::Kind::Text);
    title->control_ID = QStringLiteral(" Fup_Title ");
    title->Text_Value = QStringLiteral("as stored");
    title->data_source_type = 1;
    title->batch_list_index = 3;
    GraphicPtr hidden = SKTGraphic::create(SKTGraphic::Kind::Text);
    hidden->control_ID = QStringLiteral("Fup_Name");
    hidden->Text_Value = QStringLiteral("hidden name");
    hidden->ctrl_is_visible = false;
    GraphicPtr shape = SKTGraphic::create(SKTGraphic::Kind::Shape);
    shape->control_ID = QStringLiteral("Fup_Company");
    shape->Text_Value = QStringLiteral("shape text");
    GraphicPtr phone = SKTGraphic::create(SKTGraphic::Kind::Text);
    phone->control_ID = QStringLiteral("Fup_PhoneNO");
    phone->Text_Value = QStringLiteral("555 0100");
    window->document().insertGraphicsIntoSide(SKTDocument::Back, {title, hidden, shape, phone}, {0, 1, 2, 3});

    modalScripts.push_front([&](QDialog &dialog) {
        auto &d = dynamic_cast<Show_User_Profile &>(dialog);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Back Side User Profile Information"));
        EXPECT_EQ(d.title_ds_combo->currentIndex(), 1);
        EXPECT_EQ(d.title_ser_col_cb->count(), 4);
        EXPECT_EQ(d.title_ser_col_cb->currentIndex(), 3);
        EXPECT_EQ(d.title_value->text(), QStringLiteral("Director"));
        EXPECT_TRUE(d.title_value->isReadOnly());
        EXPECT_TRUE(d.title_view_btn->isEnabled());
        EXPECT_TRUE(d.title_value_chk->isChecked());
        EXPECT_TRUE(d.name_value->text().isEmpty());
        EXPECT_FALSE(d.name_value_chk->isChecked());
        EXPECT_TRUE(d.comp_name_value->text().isEmpty());
        EXPECT_EQ(d.phone_value->text(), QStringLiteral("555 0100"));
        EXPECT_EQ(d.phone_ds_combo->currentIndex(), 0);
        EXPECT_FALSE(d.Preivew_picture->pixmap().isNull());
        EXPECT_EQ(d.Template_picture, nullptr);
        testsupport::WindowFixture::saveArtifact(&d, "08-profile.png");
        d.cancel_button->click();
        return d.result();
    });
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    EXPECT_EQ(modalTitles.value(0), QStringLiteral("Back Side User Profile Information"));
    EXPECT_EQ(ProfileState::instance().Fill_User_Profile, 0);
    EXPECT_EQ(title->Text_Value.value_or(QString()), QStringLiteral("as stored"));
}

TEST_F(ProfileDialog, AMissingPickNamesOnlyTheFirstFieldAndWritesNothing)
{
    writeSeries("titles", "Director\n");
    window->Front_user_profile.Name.value = QStringLiteral("kept");
    const int result = session(QStringLiteral("F"), [&](User_profile &d) {
        type(d.name_value, "changed");
        choose(d.title_ds_combo, 1);
        choose(d.fax_ds_combo, 1);
        d.ok_button->click();
        d.preview_button->click();
        EXPECT_EQ(d.result(), 0); // OK did not end the session
        d.cancel_button->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages.messages(), (QStringList{msg("Please select the source for 'Position / Title'"),
                                                msg("Please select the source for 'Position / Title'")}));
    EXPECT_EQ(window->Front_user_profile.Name.value, QStringLiteral("kept"));
    EXPECT_TRUE(window->TEMP_user_profile.Name.value.isEmpty());
    EXPECT_TRUE(window->document().graphics_temp().isEmpty());
}

TEST_F(ProfileDialog, OkWritesOnlyTheRecordOfTheSideItWasOpenedFor)
{
    writeSeries("people", "Guest 1\nGuest 2\n");
    session(QStringLiteral("F"), [&](User_profile &d) {
        choose(d.name_ds_combo, 1);
        choose(d.name_ser_col_cb, 0);
        EXPECT_EQ(d.name_value->text(), QStringLiteral("Guest 1"));
        d.ok_button->click();
    });
    EXPECT_EQ(window->Front_user_profile.Name.ds, 1);
    EXPECT_EQ(window->Front_user_profile.Name.ds_name, QStringLiteral("people"));
    EXPECT_EQ(window->Front_user_profile.Name.value, QStringLiteral("Guest 1"));
    EXPECT_EQ(window->Back_user_profile.Name.ds, 0);
    EXPECT_TRUE(window->Back_user_profile.Name.value.isEmpty());

    session(QStringLiteral(" B "), [&](User_profile &d) {
        EXPECT_EQ(d.load_side, QStringLiteral("B"));
        type(d.unique_value, "U-1");
        // Back to a typed value: the shown value stays and can be edited again.
        choose(d.name_ds_combo, 1);
        choose(d.name_ser_col_cb, 0);
        choose(d.name_ds_combo, 0);
        EXPECT_EQ(d.name_value->text(), QStringLiteral("Guest 1"));
        EXPECT_FALSE(d.name_value->isReadOnly());
        d.ok_button->click();
    });
    EXPECT_EQ(window->Back_user_profile.unique.value, QStringLiteral("U-1"));
    EXPECT_EQ(window->Back_user_profile.Name.ds, 0);
    EXPECT_TRUE(window->Front_user_profile.unique.value.isEmpty());
}

TEST_F(ProfileDialog, TypingTicksABoxAndTheBoxesAndTheSourceSetEditability)
{
    session(QStringLiteral("F"), [&](User_profile &base) {
        auto &d = dynamic_cast<Show_User_Profile &>(base);
        // Captions are no part of the result: each shows as a label, with nothing to tick or type.
        EXPECT_EQ(d.captionLabel(1)->text(), QStringLiteral("Position / Title :"));
        EXPECT_TRUE(d.captionLabel(1)->isVisibleTo(&d));
        for (const QCheckBox *box : d.findChildren<QCheckBox *>())
            EXPECT_FALSE(box->objectName().endsWith(QStringLiteral("_label_chk")))
                << box->objectName().toStdString();
        for (const QLineEdit *field : d.findChildren<QLineEdit *>())
            EXPECT_NE(field->text(), QStringLiteral("Position / Title :"));

        QTest::keyClicks(d.fax_value, "1");
        EXPECT_TRUE(d.fax_value_chk->isChecked());
        d.fax_value_chk->click();
        EXPECT_TRUE(d.fax_value->isReadOnly());
        choose(d.fax_ds_combo, 1);
        choose(d.fax_ds_combo, 0); // a typed value is editable whatever its box says
        EXPECT_FALSE(d.fax_value->isReadOnly());
        EXPECT_FALSE(d.fax_value_chk->isChecked());

        d.reset_button->click();
        EXPECT_TRUE(d.fax_value->text().isEmpty());
        d.cancel_button->click();
    });
}

// Each detail's row is walked left to right, value box, value, source, before
// Tab goes down to the next row; the closing buttons come after the last row.
TEST_F(ProfileDialog, TabWalksEachRowFromItsCaptionBoxToItsSourceThenTheNextRow)
{
    session(QStringLiteral("F"), [&](User_profile &base) {
        auto &d = dynamic_cast<Show_User_Profile &>(base);
        d.show();
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        const int rows = Show_User_Profile::TextFieldCount;
        const QList<QWidget *> visited = testsupport::tabStopsFrom(d.batch_series_button, 3 * rows + 3);
        for (int f = 0; f < rows; ++f) {
            const QList<QWidget *> row{d.valueBox(f), d.valueField(f), d.sourceList(f)};
            EXPECT_EQ(visited.mid(3 * f, 3), row) << f; // the series and View stay off while fixed
        }
        // The photo's row: its path, its source, then the photo's own buttons.
        EXPECT_EQ(visited.mid(3 * rows),
                  (QList<QWidget *>{d.image_path_val, d.sourceList(User_profile::Photo), d.browse_pic_btn}));
        d.cancel_button->click();
    });
}

TEST_F(ProfileDialog, AWorkbookOffersExcelInEveryListUntilAnImportLeavesNoRows)
{
    const QString book = tempPath("book.xlsx");
    testsupport::writeFile(book, "PK");
    nextRows = rows({"first@example.com", "second@example.com"});
    files.answers = {tempPath("missing.xlsx"), book};
    session(QStringLiteral("F"), [&](User_profile &d) {
        d.browse_excel_button->click();
        EXPECT_EQ(messages.messages(), QStringList{msg("Please select valid file path.")});
        EXPECT_EQ(d.excel_path_field->text(), tempPath("missing.xlsx"));
        EXPECT_TRUE(imported.isEmpty());
        d.browse_excel_button->click();
        EXPECT_EQ(imported, QStringList{book});
        for (int f = 0; f < User_profile::FieldCount; ++f)
            EXPECT_EQ(d.sourceList(f)->itemText(2), QStringLiteral("Excel")) << f;
        choose(d.email_ds_combo, 2);
        EXPECT_FALSE(d.email_view_btn->isEnabled());
        EXPECT_EQ(d.email_ser_col_cb->count(), 2); // the row number, then the e-mail column
        choose(d.email_ser_col_cb, 1);
        EXPECT_EQ(d.email_value->text(), QStringLiteral("first@example.com"));
        d.ok_button->click();
    });
    EXPECT_EQ(files.requests.value(0).suffixes, (QStringList{"xlsx", "XLSX"}));
    EXPECT_TRUE(binding().Excel_Binding_Use);
    EXPECT_EQ(binding().Excel_Source_Path, book);
    const auto &email = window->Front_user_profile.email;
    EXPECT_EQ(email.xl, 1);
    EXPECT_EQ(email.xl_col_indx, 1);
    EXPECT_EQ(email.ds, 0);
    EXPECT_EQ(window->Front_user_profile.Excel_Binding, 1);

    nextRows.clear();
    files.answers = {book};
    session(QStringLiteral("F"), [&](User_profile &d) {
        d.browse_excel_button->click();
        for (int f = 0; f < User_profile::FieldCount; ++f)
            EXPECT_EQ(d.sourceList(f)->count(), 2) << f;
        d.ok_button->click();
    });
    EXPECT_FALSE(binding().Excel_Binding_Use);
    EXPECT_EQ(binding().Excel_Source_Path, book); // kept when the table is empty
}

// Cancel, Escape and the close button change nothing: a workbook read with Browse is taken back
// with its rows and its path, the design's bound objects keep their columns, and the dialog said
// when each table's rows were loaded.
TEST_F(ProfileDialog, CancelTakesBackTheWorkbookItsRowsAndTheBindings)
{
    User_profile::setWorkbookImport({});
    const QString book = tempPath("other.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
        book, {{"Secret", "Name", "Long"}, {"s", "Bob", "new-long"}, {"t", "Cy", "newer"}}, true));
    writeBinding([this](ExcelBindingTable &table) {
        table.setColumnTitles({"Name", "Long"});
        table.setListData({{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "old-long"}}});
        table.Excel_Binding_Use = true;
        table.Excel_Source_Path = tempPath("earlier.xlsx");
        table.sourceFacts.size = 10;
        table.sourceFacts.sha256 = QByteArray(64, 'b');
        table.sourceFacts.loadedAt =
            QDateTime(QDate(2026, 12, 8), QTime(10, 14), QTimeZone::systemTimeZone()).toUTC();
    });
    const ExcelBindingTable &table = binding();
    GraphicPtr email = SKTGraphic::create(SKTGraphic::Kind::Text);
    email->control_ID = QStringLiteral("Fup_EmailID");
    email->Text_Value = QStringLiteral("old-long");
    email->setBounds(QRectF(10, 10, 120, 20));
    email->data_source_type = DataSourceCode::BindingColumn;
    email->Set_Excel_binding_Column(2, QStringLiteral("Long"));
    window->document().insertGraphicsIntoSide(0, {email}, {0});
    window->designFile().markClean();
    const ExcelBindingTable before = table;

    for (const auto &[how, close] : closings()) {
        files.answers = {book};
        const int result = session(QStringLiteral("F"), [&, &close = close](User_profile &d) {
            EXPECT_EQ(d.rows_loaded_label->text(), QStringLiteral("Rows loaded on 8 December 2026 at 10:14"));
            answerColumnImport();
            d.browse_excel_button->click();
            EXPECT_EQ(table.rowCount(), 1) << how; // the dialog works on a copy until OK
            EXPECT_TRUE(d.rows_loaded_label->text().startsWith(
                QStringLiteral("Rows loaded ") +
                QLocale().toString(QDate::currentDate(), "'on 'd MMMM yyyy")))
                << how;
            if (std::string_view(how) == "Cancel")
                saveArtifact(&d, QStringLiteral("details_rows_loaded.png"));
            type(d.name_value, "Ada Example");
            close(d);
        });
        EXPECT_EQ(result, 0) << how;
        EXPECT_EQ(table.ListData(), before.ListData()) << how;
        EXPECT_EQ(table.columnTitles(), before.columnTitles()) << how;
        EXPECT_EQ(binding().Excel_Source_Path, tempPath("earlier.xlsx")) << how;
        EXPECT_EQ(table.sourceFacts.sha256, before.sourceFacts.sha256) << how;
        EXPECT_EQ(table.sourceFacts.loadedAt, before.sourceFacts.loadedAt) << how;
        EXPECT_EQ(email->excel_col_indx, 2) << how;
        EXPECT_FALSE(window->designFile().isModified()) << how;
        EXPECT_TRUE(window->Front_user_profile.Name.value.isEmpty()) << how;
    }
}

TEST_F(ProfileDialog, ThePhotoPathIsTrimmedAndAFileThatDoesNotLoadIsNamedAndChangesNothing)
{
    const QString photo = tempPath("me.png");
    QImage img(30, 30, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(photo));
    const QString broken = tempPath("broken.png");
    testsupport::writeFile(broken, "not a picture");
    files.answers = {"  " + photo + "  ", broken, std::nullopt};
    session(QStringLiteral("F"), [&](User_profile &d) {
        d.browse_pic_btn->click();
        EXPECT_EQ(d.image_path_val->text(), photo);
        const qint64 shown = d.user_picture->pixmap().cacheKey();
        EXPECT_FALSE(d.user_picture->pixmap().isNull());
        d.browse_pic_btn->click();
        EXPECT_EQ(messages.messages().size(), 1);
        EXPECT_TRUE(messages.messages().value(0).contains(
            QStringLiteral("Cannot use the picture \"broken.png\": it is not a picture")));
        EXPECT_EQ(d.image_path_val->text(), photo);
        EXPECT_EQ(d.user_picture->pixmap().cacheKey(), shown);
        d.browse_pic_btn->click(); // cancelled: nothing changes
        EXPECT_EQ(d.image_path_val->text(), photo);
        d.clear_pic_btn->click();
        EXPECT_TRUE(d.image_path_val->text().isEmpty());
        EXPECT_TRUE(d.user_picture->pixmap().isNull());
        d.cancel_button->click();
    });
    EXPECT_EQ(files.requests.value(0).suffixes,
              (QStringList{"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"}));
}

TEST_F(ProfileDialog, ViewNeedsAPickedSeriesAndOpensTheViewerOnIt)
{
    writeSeries("people", "Guest 1\n");
    session(QStringLiteral("F"), [&](User_profile &d) {
        choose(d.website_ds_combo, 1);
        d.website_view_btn->click();
        EXPECT_EQ(messages.messages(), QStringList{msg("Please select the series.")});
        choose(d.website_ser_col_cb, 0);
        d.website_view_btn->click();
        d.cancel_button->click();
    });
    EXPECT_EQ(modalTitles, (QStringList{"Front Side User Profile Information", "View Series"}));
}

TEST_F(ProfileDialog, TheColumnImportFillsTheBindingTableThatTheListsOffer)
{
    User_profile::setWorkbookImport({});
    const QString book = tempPath("guests.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
        book, {{"Name", "Email"}, {"Ada", "ada@example.com"}, {"Bob", "bob@example.com"}}, true));
    files.answers = {book};
    session(QStringLiteral("F"), [&](User_profile &d) {
        modalScripts.push_front([](QDialog &dialog) {
            auto &columns = dynamic_cast<Import_Excel &>(dialog);
            EXPECT_EQ(columns.open_mode, QStringLiteral("E"));
            columns.Select_ALL_Pressed();
            columns.ok_button->click();
            return columns.result();
        });
        d.browse_excel_button->click();
        EXPECT_EQ(d.email_ds_combo->count(), 3);
        choose(d.email_ds_combo, 2);
        choose(d.email_ser_col_cb, 2);
        EXPECT_EQ(d.email_value->text(), QStringLiteral("ada@example.com"));
        d.ok_button->click();
    });
    EXPECT_EQ(window->Front_user_profile.email.xl_col_indx, 2);
    EXPECT_EQ(binding().rowCount(), 2);
    EXPECT_TRUE(binding().Excel_Binding_Use);
}

TEST_F(ProfileDialog, TheColumnImportNamesFormulasTheWorkbookNeverComputed)
{
    User_profile::setWorkbookImport({});
    files.answers = {QStringLiteral(TESSALY_TEST_DATA "/formulas/openpyxl.xlsx")};
    session(QStringLiteral("F"), [&](User_profile &d) {
        answerColumnImport();
        d.browse_excel_button->click();
        d.ok_button->click(); // Cancel would take the workbook back
    });
    EXPECT_EQ(
        messages.messages(),
        QStringList{msg("Total: C2-C41; Label: D2-D3 hold formulas that were never computed; open and save "
                        "the workbook in a spreadsheet program first.")});
    EXPECT_EQ(binding().rowCount(), 40);
    EXPECT_EQ(binding().uncomputedFormulas().cellCount(), 42);
}
