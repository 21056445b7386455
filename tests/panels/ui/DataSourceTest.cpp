// Binding a text or picture to a series or an Excel column through the data-source tab, the
// sides, viewer and help buttons, and the "Excel" entry that follows the binding table. The tab's
// own behaviour runs over a fake window; what involves the main window's lists runs in it.
#include "FakeHostFixture.h"
#include "InspectorFixture.h"

#include "data/ExcelBindingTable.h"
#include "foundation/FoundationState.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "model/ModelGlobals.h"
#include "panels/ui/ComboDispatcher.h"
#include "panels/ui/DataSourceTab.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

template <typename Window> class DataSourceFixture : public Window
{
protected:
    DataSourceTab &source() { return this->inspector().dataSource(); }
    void writeSeries(const QString &name, const QByteArray &lines)
    {
        QDir().mkpath(Data_Folder_Path);
        QFile file(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines);
    }
    QStringList items(QComboBox *combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
};

using DataSourceTest = DataSourceFixture<InspectorFixture>;
using DataSourcePanel = DataSourceFixture<FakeHostFixture>;

TEST_F(DataSourcePanel, SeriesNeedsASeriesFileFirst)
{
    GraphicPtr text = place(SKTGraphic::Kind::Text);
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    EXPECT_EQ(shown(), QStringList{ComboDispatcher::NoSeriesMessage});
    EXPECT_EQ(text->data_source_type, 0);
}

TEST_F(DataSourceTest, ChoosingASeriesPutsItsFirstValueIntoTheText)
{
    writeSeries(QStringLiteral("Cities"), "Oslo\nRome\n");
    writeSeries(QStringLiteral("Names"), "Ann\nBob\n");
    GraphicPtr text = place(SKTGraphic::Kind::Text);
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    EXPECT_EQ(text->data_source_type, 1);
    EXPECT_EQ(items(source().Batch_Series), (QStringList{QStringLiteral("Cities"), QStringLiteral("Names")}));
    EXPECT_TRUE(source().Batch_Series->isEnabled());
    EXPECT_TRUE(source().view_series_btn->isEnabled());

    choose(source().Batch_Series, QStringLiteral("Names"));
    EXPECT_EQ(text->Text_contents().text, QStringLiteral("Ann"));
    EXPECT_EQ(text->batch_list_name_val(), QStringLiteral("Names"));
    EXPECT_EQ(text->batch_list_index, 1);

    // Bound already: choosing "Series" again picks the object's own series by name.
    text->Text_contents().text = QStringLiteral("edited");
    source().Batch_Series->setCurrentIndex(0);
    choose(source().Data_source_type, DataSourceTab::ManualItem);
    EXPECT_EQ(text->data_source_type, 0);
    EXPECT_FALSE(source().Batch_Series->isEnabled());
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    EXPECT_EQ(source().Batch_Series->currentText(), QStringLiteral("Names"));
    EXPECT_EQ(text->data_source_type, 1);
    EXPECT_EQ(text->Text_contents().text, QStringLiteral("Ann"));
}

TEST_F(DataSourceTest, APictureTakesTheSeriesValueAsItsFile)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString path = tempPath(QStringLiteral("g.png"));
    ASSERT_TRUE(image.save(path));
    writeSeries(QStringLiteral("Photos"), path.toUtf8() + "\n");
    GraphicPtr picture = place(SKTGraphic::Kind::Image);
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    choose(source().Batch_Series, 0);
    EXPECT_EQ(picture->FilePath(), path);
    EXPECT_EQ(picture->data_source_type, 1);
}

TEST_F(DataSourceTest, ExcelColumnsFollowTheBindingTable)
{
    ExcelBindingTable &table = ExcelBindingTable::defaultInstance();
    table.setColumnTitles({QStringLiteral("First"), QStringLiteral("Last")});
    table.setListData({{{ExcelBindingTable::rowNumberKey(), QStringLiteral("1")},
                        {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Ada")},
                        {ExcelBindingTable::columnIdentifier(2), QStringLiteral("Lovelace")}}});
    window->Add_Excel_Col_Name_In_Combo();
    window->Add_Excel_Col_Name_In_Combo();
    EXPECT_EQ(items(source().Data_source_type),
              (QStringList{QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")}));

    GraphicPtr text = place(SKTGraphic::Kind::Text);
    text->excel_col_indx = 2;
    choose(source().Data_source_type, QStringLiteral("Excel"));
    EXPECT_EQ(text->data_source_type, 2);
    EXPECT_EQ(source().Batch_Series->currentIndex(), 2);
    choose(source().Batch_Series, 1);
    EXPECT_EQ(text->excel_col_indx, 1);
    EXPECT_EQ(text->Text_contents().text, QStringLiteral("Ada"));

    window->Remove_Excel_Col_Name_In_Combo();
    window->Remove_Excel_Col_Name_In_Combo();
    EXPECT_EQ(items(source().Data_source_type),
              (QStringList{QStringLiteral("Manual"), QStringLiteral("Series")}));
}

TEST_F(DataSourceTest, ViewAndHelpButtons)
{
    writeSeries(QStringLiteral("Names"), "Ann\n");
    QStringList viewed;
    window->registry().fill(WindowRegistry::Window::SeriesViewer, [&](const QString &name) {
        viewed << name;
        return 1;
    });
    window->registry().fill(WindowRegistry::Window::BindingTableViewer, [&](const QString &) {
        viewed << QStringLiteral("table");
        return 1;
    });
    place(SKTGraphic::Kind::Text);
    QTest::mouseClick(source().view_series_btn, Qt::LeftButton); // disabled while manual
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    source().Batch_Series->setCurrentIndex(-1);
    QTest::mouseClick(source().view_series_btn, Qt::LeftButton);
    EXPECT_EQ(shown(), QStringList{DataSourceTab::SelectSeriesMessage});
    source().Batch_Series->setCurrentIndex(0);
    QTest::mouseClick(source().view_series_btn, Qt::LeftButton);
    window->Add_Excel_Col_Name_In_Combo();
    choose(source().Data_source_type, QStringLiteral("Excel"));
    QTest::mouseClick(source().view_series_btn, Qt::LeftButton);
    EXPECT_EQ(viewed, (QStringList{QStringLiteral("Names"), QStringLiteral("table")}));

    QString title, text;
    modalScripts.push_back([&](QDialog &shown) {
        auto *dialog = qobject_cast<Long_SMS_Dlg *>(&shown);
        if (!dialog)
            return 0;
        title = dialog->_Msg_Title->text();
        text = dialog->_Msg_Val->toPlainText();
        dialog->OKPressed();
        return dialog->result();
    });
    QTest::mouseClick(source().help_btn, Qt::LeftButton);
    EXPECT_TRUE(modalScripts.empty());
    EXPECT_EQ(title, DataSourceTab::HelpTitle);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Select Data Source as 'Manual'")));
}

TEST_F(DataSourcePanel, NoSelectedObjectStillSwitchesTheControls)
{
    writeSeries(QStringLiteral("Names"), "Ann\n");
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    EXPECT_EQ(source().Batch_Series->count(), 1);
    choose(source().Batch_Series, 0);
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(DataSourcePanel, ABoundObjectShowsItsOwnChoiceAndCannotBeTypedInto)
{
    writeSeries(QStringLiteral("Cities"), "Oslo\n");
    writeSeries(QStringLiteral("Names"), "Ann\n");
    GraphicPtr bound = place(SKTGraphic::Kind::Text, 0, false);
    bound->data_source_type = 1;
    bound->Set_Batch_List_Name(QStringLiteral("Names"));
    bound->Set_Batch_List_Index(1);
    GraphicPtr manual = place(SKTGraphic::Kind::Text, 0, false);
    auto *typing = host->window().findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"));
    ASSERT_NE(typing, nullptr);

    inspect(bound);
    EXPECT_EQ(source().Batch_Series->currentText(), QStringLiteral("Names"));
    EXPECT_TRUE(source().Batch_Series->isEnabled());
    EXPECT_TRUE(typing->isReadOnly());

    inspect(manual);
    EXPECT_FALSE(typing->isReadOnly());
    EXPECT_FALSE(source().Batch_Series->isEnabled());
    EXPECT_EQ(source().Data_source_type->currentIndex(), 0);
}
