// Binding a text or picture to a series or an Excel column through the data-source tab, and its
// viewer and help buttons, over a fake window. The window's own "Excel" entry, which follows the
// binding table, is checked among the main window's tests (InspectorWiring).
#include "FakeHostFixture.h"

#include "data/DataSourceChoices.h"
#include "data/ExcelBindingTable.h"
#include "foundation/CardCodes.h"
#include "foundation/FoundationState.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ComboItems.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "model/ModelGlobals.h"
#include "model/SKTImage.h"
#include "panels/ui/ComboDispatcher.h"
#include "panels/ui/DataSourceTab.h"
#include "platform/UndoManager.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

class DataSourcePanel : public FakeHostFixture
{
protected:
    DataSourceTab &source() { return inspector().dataSource(); }
    // The "Excel" entry, added as the window adds it once the binding table has rows.
    void offerExcel()
    {
        ComboItems::applyQuietly(source().Data_source_type, DataSourceChoices::addExcelItem);
    }
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

TEST_F(DataSourcePanel, SeriesNeedsASeriesFileFirstAndThePageKeepsShowingTheTextsSource)
{
    GraphicPtr text = place(SKTGraphic::Kind::Text);
    auto *typing = host->window().findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"));
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    EXPECT_EQ(shown(), QStringList{ComboDispatcher::NoSeriesMessage});
    EXPECT_EQ(text->data_source_type, 0);
    EXPECT_EQ(source().Data_source_type->currentText(), DataSourceTab::ManualItem);
    EXPECT_FALSE(source().Batch_Series->isEnabled());
    EXPECT_FALSE(typing->isReadOnly());

    // A series made while the page is open is listed when the user opens the list.
    writeSeries(QStringLiteral("Cities"), "Oslo\n");
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    choose(source().Batch_Series, QStringLiteral("Cities"));
    writeSeries(QStringLiteral("Names"), "Ann\n");
    QTest::mouseClick(source().Batch_Series, Qt::LeftButton);
    EXPECT_EQ(items(source().Batch_Series), (QStringList{QStringLiteral("Cities"), QStringLiteral("Names")}));
    EXPECT_EQ(source().Batch_Series->currentText(), QStringLiteral("Cities"));
    source().Batch_Series->hidePopup();
    EXPECT_EQ(text->batch_list_name_val(), QStringLiteral("Cities"));
}

TEST_F(DataSourcePanel, ChoosingASeriesPutsItsFirstValueIntoTheText)
{
    writeSeries(QStringLiteral("Cities"), "Oslo\nRome\n");
    writeSeries(QStringLiteral("Names"), "Ann\nBob\n");
    GraphicPtr text = place(SKTGraphic::Kind::Text);
    // "Series" alone binds nothing: the text keeps its words until a series is chosen.
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    EXPECT_EQ(text->data_source_type, 0);
    EXPECT_EQ(source().Batch_Series->currentIndex(), -1);
    EXPECT_EQ(source().Batch_Series->placeholderText(), DataSourceTab::ChooseSeriesPrompt);
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

TEST_F(DataSourcePanel, APictureTakesTheSeriesValueAsItsFileAndManualGivesItsOwnBack)
{
    const auto writePicture = [this](const char *name, Qt::GlobalColor colour) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = tempPath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path));
        return path;
    };
    const QString own = writePicture("own.png", Qt::red);
    const QString path = writePicture("g.png", Qt::green);
    writeSeries(QStringLiteral("Photos"), path.toUtf8() + "\n");
    GraphicPtr picture = place(SKTGraphic::Kind::Image, 0, false);
    static_cast<SKTImage &>(*picture).setFilePath(own);
    inspect(picture);
    const auto shownColour = [&] {
        const auto &contents = static_cast<const SKTImage &>(*picture)._contents;
        return contents ? contents->image().pixelColor(1, 1) : QColor();
    };
    auto *box = host->window().findChild<QLineEdit *>(QStringLiteral("Manual_image_path"));
    ASSERT_NE(box, nullptr);

    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    choose(source().Batch_Series, 0);
    EXPECT_EQ(picture->FilePath(), path);
    EXPECT_EQ(picture->data_source_type, 1);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
    // The own file is kept in the design while the series gives the picture its file.
    EXPECT_EQ(SKTGraphic::unarchive(picture->archivedData())->manual_file_path, own);

    choose(source().Data_source_type, DataSourceTab::ManualItem);
    EXPECT_EQ(picture->FilePath(), own);
    EXPECT_EQ(box->text(), own);
    EXPECT_EQ(shownColour(), QColor(Qt::red));

    // Bound in a design that kept no file of its own, a picture keeps the file it shows.
    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    choose(source().Batch_Series, 0);
    picture->manual_file_path.reset();
    choose(source().Data_source_type, DataSourceTab::ManualItem);
    EXPECT_EQ(picture->FilePath(), path);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
}

TEST_F(DataSourcePanel, ViewAndHelpButtons)
{
    writeSeries(QStringLiteral("Names"), "Ann\n");
    QStringList viewed;
    host->registry().fill(WindowRegistry::Window::SeriesViewer, [&](const QString &name) {
        viewed << name;
        return 1;
    });
    host->registry().fill(WindowRegistry::Window::BindingTableViewer, [&](const QString &) {
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
    offerExcel();
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
    GraphicPtr column = place(SKTGraphic::Kind::Text, 0, false);
    column->data_source_type = DataSourceCode::BindingColumn;
    column->Set_Excel_binding_Column(1, QStringLiteral("Name"));
    GraphicPtr manual = place(SKTGraphic::Kind::Text, 0, false);
    auto *typing = host->window().findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"));
    ASSERT_NE(typing, nullptr);
    // The buttons that write into the words are off with the box: a bound text's cards print its
    // source, whatever its words hold.
    const auto writersOn = [this] {
        QList<bool> on;
        for (const char *name : {"Text_Insert_Date_btn", "Text_Insert_Time_btn", "insert_template_btn"})
            on << host->window().findChild<QWidget *>(QString::fromLatin1(name))->isEnabled();
        return on;
    };
    for (const GraphicPtr &g : {bound, column}) {
        inspect(g);
        EXPECT_TRUE(typing->isReadOnly());
        EXPECT_EQ(writersOn(), QList<bool>(3, false));
    }

    inspect(bound);
    EXPECT_EQ(source().Batch_Series->currentText(), QStringLiteral("Names"));
    EXPECT_TRUE(source().Batch_Series->isEnabled());
    // The words box looks what it is: the window's colour behind it, out of the keyboard's way.
    EXPECT_TRUE(typing->isReadOnly());
    EXPECT_EQ(typing->focusPolicy(), Qt::NoFocus);
    const auto background = [typing] {
        return typing->grab().toImage().pixelColor(typing->width() / 2, typing->height() - 6);
    };
    EXPECT_GE(typing->palette().color(QPalette::Window).lightness() - background().lightness(), 20);
    EXPECT_EQ(typing->toolTip(), DataSourceTab::BoundWordsTip);
    saveArtifact(typing, QStringLiteral("text-words-bound-read-only.png"));

    inspect(manual);
    EXPECT_FALSE(typing->isReadOnly());
    EXPECT_EQ(writersOn(), QList<bool>(3, true));
    EXPECT_EQ(background(), typing->palette().color(QPalette::Base));
    EXPECT_NE(typing->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(source().Batch_Series->isEnabled());
    EXPECT_EQ(source().Data_source_type->currentIndex(), 0);
}

TEST_F(DataSourcePanel, ASeriesOrColumnKeepsTheTypedWordsForManualAndUndo)
{
    writeSeries(QStringLiteral("Names"), "Ann\nBob\n");
    ExcelBindingTable table = host->document().design().binding;
    table.setColumnTitles({QStringLiteral("First")});
    table.setListData({{{ExcelBindingTable::rowNumberKey(), QStringLiteral("1")},
                        {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Ada")}}});
    DesignSettings settings = host->document().design().settings();
    settings.binding = table;
    host->document().putSettingsUnrecorded(settings);
    offerExcel();
    auto *typing = host->window().findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"));
    ASSERT_NE(typing, nullptr);
    UndoManager &undo = host->document().undoManager();
    const struct {
        QString kind;
        QString source;
        QString firstValue;
    } sources[] = {{DataSourceTab::SeriesItem, QStringLiteral("Names"), QStringLiteral("Ann")},
                   {DataSourceChoices::ExcelItem, QStringLiteral("First"), QStringLiteral("Ada")}};
    for (const auto &s : sources) {
        SCOPED_TRACE(s.kind.toStdString());
        GraphicPtr text = place(SKTGraphic::Kind::Text);
        typing->setFocus();
        typing->selectAll();
        QTest::keyClicks(typing, QStringLiteral("Dear friend"));
        const int typed = undo.undoCount();
        choose(source().Data_source_type, s.kind);
        choose(source().Batch_Series, s.source);
        EXPECT_EQ(text->Text_contents().text, s.firstValue);

        // Manual gives the typed words back, in the object and in the box.
        choose(source().Data_source_type, DataSourceTab::ManualItem);
        EXPECT_EQ(text->Text_contents().text, QStringLiteral("Dear friend"));
        EXPECT_EQ(typing->toPlainText(), QStringLiteral("Dear friend"));
        EXPECT_EQ(text->data_source_type, 0);

        // The source chosen again binds what the text had and shows its value, page and text alike.
        choose(source().Data_source_type, s.kind);
        EXPECT_EQ(text->Text_contents().text, s.firstValue);
        EXPECT_EQ(typing->toPlainText(), s.firstValue);
        undo.undo();
        EXPECT_EQ(text->Text_contents().text, QStringLiteral("Dear friend"));

        // So does undo, a step at a time, back to the typed words.
        undo.undo();
        EXPECT_EQ(text->Text_contents().text, s.firstValue);
        while (undo.undoCount() > typed)
            undo.undo();
        EXPECT_EQ(text->Text_contents().text, QStringLiteral("Dear friend"));
        EXPECT_EQ(text->data_source_type, 0);
    }
    table.reset();
}

// "Excel" alone binds nothing: the card keeps showing, and its cards keep printing, the object's
// own words or picture until a column is chosen, "Row" included.
TEST_F(DataSourcePanel, ChoosingExcelBindsNothingUntilAColumnIsChosen)
{
    ExcelBindingTable table = host->document().design().binding;
    table.setColumnTitles({QStringLiteral("First")});
    table.setListData({{{ExcelBindingTable::rowNumberKey(), QStringLiteral("7")},
                        {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Ada")}}});
    DesignSettings settings = host->document().design().settings();
    settings.binding = table;
    host->document().putSettingsUnrecorded(settings);
    offerExcel();
    UndoManager &undo = host->document().undoManager();
    const struct {
        SKTGraphic::Kind kind;
        QString column;
        QString firstValue; // a text's words once bound
    } cases[] = {
        {SKTGraphic::Kind::Text, QStringLiteral("Row"), QStringLiteral("7")},
        {SKTGraphic::Kind::Text, QStringLiteral("First"), QStringLiteral("Ada")},
        {SKTGraphic::Kind::Image, QStringLiteral("First"), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.column.toStdString());
        GraphicPtr g = place(c.kind);
        g->Text_contents().text = QStringLiteral("Mira's 7th Birthday!");
        undo.closeAutomaticGroup();
        const int steps = undo.undoCount();
        choose(source().Data_source_type, DataSourceChoices::ExcelItem);
        EXPECT_EQ(g->data_source_type, DataSourceCode::Fixed);
        EXPECT_EQ(g->Text_contents().text, QStringLiteral("Mira's 7th Birthday!"));
        EXPECT_EQ(source().Batch_Series->currentIndex(), -1);
        EXPECT_EQ(source().Batch_Series->placeholderText(), DataSourceTab::ChooseColumnPrompt);
        EXPECT_EQ(undo.undoCount(), steps);

        choose(source().Batch_Series, c.column);
        EXPECT_EQ(g->data_source_type, DataSourceCode::BindingColumn);
        EXPECT_EQ(g->excel_col_title, c.column);
        if (c.kind == SKTGraphic::Kind::Text) {
            EXPECT_EQ(g->Text_contents().text, c.firstValue);
        }
    }
}

TEST_F(DataSourcePanel, TheSourceChoiceBindsEverySelectedTextAndManualGivesEachItsOwnWords)
{
    writeSeries(QStringLiteral("Names"), "Ann\nBob\n");
    GraphicPtr first = place(SKTGraphic::Kind::Text, 0, false);
    GraphicPtr second = place(SKTGraphic::Kind::Text, 0, false);
    GraphicPtr locked = place(SKTGraphic::Kind::Text, 0, false);
    first->Text_contents().text = QStringLiteral("one");
    second->Text_contents().text = QStringLiteral("two");
    locked->Text_contents().text = QStringLiteral("kept");
    locked->ctrl_is_locked = true;
    canvas(0)->changeSelectionIndexes({0, 1, 2});
    canvas(0)->setSelectedGraphic(first);
    inspect(first);
    auto *typing = host->window().findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"));
    ASSERT_NE(typing, nullptr);
    UndoManager &undo = host->document().undoManager();
    const int steps = undo.undoCount();

    choose(source().Data_source_type, DataSourceTab::SeriesItem);
    choose(source().Batch_Series, QStringLiteral("Names"));
    for (const GraphicPtr &g : {first, second}) {
        EXPECT_EQ(g->data_source_type, DataSourceCode::Series);
        EXPECT_EQ(g->batch_list_name_val(), QStringLiteral("Names"));
        EXPECT_EQ(g->Text_contents().text, QStringLiteral("Ann"));
    }
    EXPECT_EQ(locked->data_source_type, DataSourceCode::Fixed);
    EXPECT_EQ(locked->Text_contents().text, QStringLiteral("kept"));
    EXPECT_EQ(typing->toPlainText(), QString()); // the box shows no one text's words

    choose(source().Data_source_type, DataSourceTab::ManualItem);
    EXPECT_EQ(first->Text_contents().text, QStringLiteral("one"));
    EXPECT_EQ(second->Text_contents().text, QStringLiteral("two"));
    EXPECT_EQ(second->data_source_type, DataSourceCode::Fixed);
    EXPECT_TRUE(typing->isReadOnly());
    undo.undo();
    EXPECT_EQ(second->data_source_type, DataSourceCode::Series);
    EXPECT_EQ(second->Text_contents().text, QStringLiteral("Ann"));
    while (undo.undoCount() > steps)
        undo.undo();
    EXPECT_EQ(second->data_source_type, DataSourceCode::Fixed);
    EXPECT_EQ(second->Text_contents().text, QStringLiteral("two"));
}

// The tab follows the design's notice itself: "Excel" is a source while the design binds a
// workbook, however the binding changed (no window tells it here).
TEST_F(DataSourcePanel, ExcelIsOfferedWhileTheDesignBindsAWorkbook)
{
    SKTDocument &document = host->document();
    const auto bind = [&document](bool use) {
        DesignSettings settings = document.design().settings();
        settings.binding.Excel_Binding_Use = use;
        document.putSettingsUnrecorded(settings);
    };
    const auto offered = [this] {
        return items(source().Data_source_type).contains(QStringLiteral("Excel"));
    };
    EXPECT_FALSE(offered());
    bind(true);
    EXPECT_TRUE(offered());
    bind(false);
    EXPECT_FALSE(offered());
    document.changeSettingsRecorded(QStringLiteral("Binding"), 0,
                                    [](DesignSettings &s) { s.binding.Excel_Binding_Use = true; });
    EXPECT_TRUE(offered());
    document.undoManager().undo();
    EXPECT_FALSE(offered());
    document.undoManager().redo();
    EXPECT_TRUE(offered());
}
