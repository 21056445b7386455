// The barcode window's data source: a series or an Excel column chosen in the window is written
// into the object at once, its first value shown; the show-series button opens the viewers.
#include "BarcodeWindowDriver.h"

#include "data/ExcelBindingTable.h"
#include "data/SeriesFiles.h"
#include "foundation/CardCodes.h"
#include "foundation/FoundationState.h"
#include "foundation/WindowRegistry.h"
#include "model/SKTBarcode.h"

using namespace barcodedriver;

class BarcodeSource : public testsupport::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window = std::make_unique<Barcode_Gen>();
        window->registry = &registry;
        window->binding = &table;
        window->refreshCanvas = [this] { ++refreshes; };
        registry.fill(WindowRegistry::Window::SeriesViewer, [this](const QString &name) {
            opened << QStringLiteral("series:") + name;
            return 1;
        });
        registry.fill(WindowRegistry::Window::BindingTableViewer, [this](const QString &) {
            opened << QStringLiteral("table");
            return 1;
        });
        window->Set_Barcode_Prop_To_Control(object);
    }
    void TearDown() override
    {
        window.reset();
        WindowFixture::TearDown();
    }

    void writeSeries(const QString &name, const QStringList &values)
    {
        ASSERT_TRUE(SeriesFiles::writeSeries(Data_Folder_Path, name, values, true).ok());
    }

    SKTBarcode object;
    ExcelBindingTable table; // the design's binding table
    WindowRegistry registry;
    std::unique_ptr<Barcode_Gen> window;
    QStringList opened;
    int refreshes = 0;
};

TEST_F(BarcodeSource, SeriesWithoutAnySeriesFileAsksForOneAndKeepsTheSource)
{
    choose(window->Data_source_type, QStringLiteral("Series"));
    EXPECT_EQ(messages.messages(),
              QStringList{QStringLiteral("Please create batch processing series first.")});
    EXPECT_EQ(object.data_source_type, 0);
    EXPECT_EQ(window->Batch_Series->count(), 0);
    EXPECT_TRUE(window->Batch_Series->isEnabled());
    EXPECT_TRUE(window->dataText->isReadOnly());
}

TEST_F(BarcodeSource, ChoosingASeriesBindsTheObjectAndShowsItsFirstValue)
{
    writeSeries(QStringLiteral("Guests"), {QStringLiteral("G-001"), QStringLiteral("G-002")});
    writeSeries(QStringLiteral("Tables"), {QStringLiteral("T1")});
    writeSeries(QStringLiteral("Codes"), {QStringLiteral("C9")});
    chooseType(*window, QStringLiteral("Code 128"));
    choose(window->Data_source_type, QStringLiteral("Series"));
    EXPECT_EQ(object.data_source_type, 1);
    EXPECT_EQ(itemsOf(window->Batch_Series), SeriesFiles::Get_datasheet_File_Name_Array(Data_Folder_Path));
    EXPECT_EQ(window->Batch_Series->count(), 3);
    EXPECT_TRUE(window->view_series_btn->isEnabled());

    // Nothing chosen yet: the show button says so.
    window->Batch_Series->setCurrentIndex(-1);
    QTest::mouseClick(window->view_series_btn, Qt::LeftButton);
    EXPECT_EQ(messages.messages().last(), QStringLiteral("Please select the series."));

    choose(window->Batch_Series, QStringLiteral("Guests"));
    EXPECT_EQ(object.batch_list_name, QStringLiteral("Guests"));
    EXPECT_EQ(object.batch_list_index, window->Batch_Series->findText(QStringLiteral("Guests")));
    EXPECT_EQ(window->dataText->text(), QStringLiteral("G-001"));
    EXPECT_FALSE(window->previewPicture().isNull());
    EXPECT_GE(refreshes, 1);
    QTest::mouseClick(window->view_series_btn, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{QStringLiteral("series:Guests")});

    // Back to a typed value: the binding is kept for later, the value editable again.
    choose(window->Data_source_type, QStringLiteral("Manual"));
    EXPECT_EQ(object.data_source_type, 0);
    EXPECT_EQ(object.batch_list_name, QStringLiteral("Guests"));
    EXPECT_FALSE(window->Batch_Series->isEnabled());
    EXPECT_FALSE(window->view_series_btn->isEnabled());
    EXPECT_FALSE(window->dataText->isReadOnly());

    // Loading the object again selects its series.
    object.data_source_type = 1;
    Barcode_Gen again;
    again.Set_Barcode_Prop_To_Control(object);
    EXPECT_EQ(again.Data_source_type->currentText(), QStringLiteral("Series"));
    EXPECT_EQ(again.Batch_Series->currentText(), QStringLiteral("Guests"));
}

TEST_F(BarcodeSource, ExcelColumnsGiveTheFirstRowAndTheRowNumberAtPositionZero)
{
    table.setColumnTitles({QStringLiteral("Name"), QStringLiteral("Code")});
    ASSERT_TRUE(table.Create_List_By_Array({QStringLiteral("Ann"), QStringLiteral("A-17")}, 2));
    chooseType(*window, QStringLiteral("QR Code"));
    choose(window->Data_source_type, QStringLiteral("Excel"));
    EXPECT_EQ(object.data_source_type, 2);
    EXPECT_EQ(itemsOf(window->Batch_Series), table.columnTitles());

    window->Batch_Series->setCurrentIndex(2);
    emit window->Batch_Series->activated(2);
    EXPECT_EQ(object.excel_col_indx, 2);
    EXPECT_EQ(window->dataText_2D->toPlainText(), QStringLiteral("A-17"));
    EXPECT_FALSE(window->previewPicture().isNull());

    window->Batch_Series->setCurrentIndex(0);
    emit window->Batch_Series->activated(0);
    EXPECT_EQ(object.excel_col_indx, 0);
    EXPECT_EQ(window->dataText_2D->toPlainText(), QStringLiteral("1"));

    QTest::mouseClick(window->view_series_btn, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{QStringLiteral("table")});
}

TEST_F(BarcodeSource, CancelEscapeAndTheCloseButtonLeaveTheSourceAsItWas)
{
    writeSeries(QStringLiteral("Guests"), {QStringLiteral("G-001")});
    const struct {
        const char *what;
        int source; // the object's on opening
        const char *choice;
    } starts[] = {{"a typed barcode bound to a series", 0, "Series"},
                  {"a bound barcode made typed", 1, "Manual"}};
    const struct {
        const char *how;
        std::function<void(QDialog &)> close;
    } closes[] = {
        {"Cancel", [this](QDialog &) { window->cancel_button->click(); }},
        {"Escape",
         [](QDialog &d) {
             d.show();
             QTest::keyClick(&d, Qt::Key_Escape);
         }},
        {"the close button",
         [](QDialog &d) {
             d.show();
             d.close();
         }},
    };
    for (const auto &start : starts)
        for (const auto &close : closes) {
            SCOPED_TRACE(std::string(start.what) + ", " + close.how);
            object.data_source_type = start.source;
            object.batch_list_name = start.source == 1 ? QStringLiteral("Guests") : QString();
            object.linear_font_val = QStringLiteral("KEEP");
            const auto name = object.batch_list_name;
            modalScripts.push_back([&](QDialog &d) {
                choose(window->Data_source_type, QString::fromLatin1(start.choice));
                if (start.source == 0)
                    choose(window->Batch_Series, QStringLiteral("Guests"));
                close.close(d);
                return window->result();
            });
            EXPECT_FALSE(window->Open_Wnd(object).has_value());
            EXPECT_EQ(object.data_source_type, start.source);
            EXPECT_EQ(object.batch_list_name, name);
            EXPECT_EQ(object.linear_font_val, QStringLiteral("KEEP"));
        }
}

TEST_F(BarcodeSource, OkRefusesSeriesWithoutAChosenSeriesAndKeepsTheWindowOpen)
{
    // No series at all, then series but none chosen: OK says what is missing, the window stays
    // open and nothing is stored; choosing one (or going back to Manual) lets OK through.
    object.linear_font_val = QStringLiteral("KEEP");
    const QRectF frame = object.bounds();
    const auto pressOk = [&](const QString &expected) {
        messages.clear();
        QTest::mouseClick(window->ok_button, Qt::LeftButton);
        EXPECT_EQ(messages.messages(), QStringList{expected});
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->result(), 0);
    };
    modalScripts.push_back([&](QDialog &d) {
        d.show();
        choose(window->Data_source_type, QStringLiteral("Series"));
        pressOk(QStringLiteral("Please create batch processing series first."));
        writeSeries(QStringLiteral("Guests"), {QStringLiteral("G-001")});
        choose(window->Data_source_type, QStringLiteral("Series"));
        EXPECT_EQ(window->Data_source_type->currentText(), QStringLiteral("Series"));
        pressOk(QStringLiteral("Please select the series."));
        return 0;
    });
    EXPECT_FALSE(window->Open_Wnd(object).has_value());
    EXPECT_EQ(object.linear_font_val, QStringLiteral("KEEP"));
    EXPECT_EQ(object.batch_list_name_val(), QString());
    EXPECT_EQ(object.bounds(), frame);

    // A series whose file was deleted is not chosen either when the object is opened again.
    object.data_source_type = DataSourceCode::Series;
    object.Set_Batch_List_Name(QStringLiteral("Gone"));
    modalScripts.push_back([&](QDialog &d) {
        d.show();
        EXPECT_EQ(window->Data_source_type->currentText(), QStringLiteral("Series"));
        pressOk(QStringLiteral("Please select the series."));
        choose(window->Batch_Series, QStringLiteral("Guests"));
        messages.clear();
        QTest::mouseClick(window->ok_button, Qt::LeftButton);
        EXPECT_TRUE(messages.messages().isEmpty());
        return window->result();
    });
    EXPECT_TRUE(window->Open_Wnd(object).has_value());
    EXPECT_EQ(object.batch_list_name_val(), QStringLiteral("Guests"));
    EXPECT_EQ(object.linear_font_val, QStringLiteral("G-001"));

    // Manual needs no series.
    modalScripts.push_back([&](QDialog &) {
        choose(window->Data_source_type, QStringLiteral("Manual"));
        QTest::mouseClick(window->ok_button, Qt::LeftButton);
        return window->result();
    });
    messages.clear();
    EXPECT_TRUE(window->Open_Wnd(object).has_value());
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(object.data_source_type, 0);
}
