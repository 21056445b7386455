// The main window's own answers to the inspector, which the panel tests fake: the "Excel" entry of
// the data-source list that the window adds and removes, the Back button that follows the card's
// sides and switches the page edited, every canvas (the preview's too) taking the card's size, a
// background picture read into the page, and the placed personal details shown as the canvas selects them.
#include "MainWindowFixture.h"

#include "canvas/ui/CanvasDriver.h"
#include "editor/ui/SideViews.h"
#include "foundation/ui/ColorWell.h"
#include "model/EditStep.h"
#include "panels/CardSizeTables.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "profile/ProfileState.h"
#include "support/DesignSetup.h"
#include "support/IndicatorClick.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

class InspectorWiring : public MainWindowFixture
{
protected:
    DataSourceTab &source() { return window->inspector().dataSource(); }
    InspectorTabs &tabs() { return window->inspectorTabs(); }
    // A new object of a kind on the front side, selected there and shown by the inspector.
    GraphicPtr place(SKTGraphic::Kind kind)
    {
        GraphicPtr g = SKTGraphic::create(kind);
        g->setBounds(QRectF(20, 20, 80, 30));
        const int index = int(front().size());
        window->document().insertGraphicsIntoSide(0, {g}, {index});
        canvas(0)->changeSelectionIndexes({index});
        canvas(0)->setSelectedGraphic(g);
        window->Show_RHS_Properties(g);
        return g;
    }
    // What a user's pick in a closed combo does: the index changes, then "activated".
    static void choose(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void choose(QComboBox *combo, const QString &text) { choose(combo, combo->findText(text)); }
    static QStringList items(QComboBox *combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
    // Brings a tab to the front, as a user does before working its controls.
    void showTab(InspectorTabs::Item item)
    {
        // An empty side shows the card page once it has painted: let that happen first, or it
        // would take the tab away again. The show is posted from the paint, so it comes a turn later.
        for (int side = 0; side < 3; ++side) {
            SKTGraphicView *view = canvas(side);
            if (view->isVisible()) {
                EXPECT_TRUE(QTest::qWaitFor([view] { return view->paintCount() > 0; }));
            }
        }
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
        tabs().selectItem(item);
        QCoreApplication::processEvents();
    }
};

TEST_F(InspectorWiring, ExcelColumnsFollowTheBindingTable)
{
    writeBinding([&](ExcelBindingTable &table) {
        table.setColumnTitles({QStringLiteral("First"), QStringLiteral("Last")});
        table.setListData({{{ExcelBindingTable::rowNumberKey(), QStringLiteral("1")},
                            {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Ada")},
                            {ExcelBindingTable::columnIdentifier(2), QStringLiteral("Lovelace")}}});
    });
    window->inspector().dataSource().offerExcel(true);
    window->inspector().dataSource().offerExcel(true);
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

    window->inspector().dataSource().offerExcel(false);
    window->inspector().dataSource().offerExcel(false);
    EXPECT_EQ(items(source().Data_source_type),
              (QStringList{QStringLiteral("Manual"), QStringLiteral("Series")}));
}

// Details binding another workbook is one step over the workbook and the texts it fills: as it
// ends, the inspector shows the selected text as the canvas does, from the new workbook.
TEST_F(InspectorWiring, TheTextTabFollowsAWorkbookDetailsBinds)
{
    const auto rowOf = [](const QString &name) {
        return QList<ExcelBindingTable::Row>{{{ExcelBindingTable::rowNumberKey(), QStringLiteral("1")},
                                              {ExcelBindingTable::columnIdentifier(1), name}}};
    };
    writeBinding([&](ExcelBindingTable &table) {
        table.setColumnTitles({QStringLiteral("First")});
        table.setListData(rowOf(QStringLiteral("Ada")));
        table.Excel_Binding_Use = true;
    });
    GraphicPtr text = place(SKTGraphic::Kind::Text);
    choose(source().Data_source_type, QStringLiteral("Excel"));
    choose(source().Batch_Series, 1);
    auto *words = window->findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit"));
    ASSERT_NE(words, nullptr);
    ASSERT_EQ(words->toPlainText(), QStringLiteral("Ada"));

    // As Details does: the workbook chosen while it is open, then OK's step fills the text.
    const auto opened = DesignState::of(window->document());
    writeBinding([&](ExcelBindingTable &table) {
        table.setColumnTitles({QStringLiteral("Given"), QStringLiteral("First")});
        table.setListData(rowOf(QStringLiteral("Grace")));
    });
    {
        const EditStep step(window->document(), {QStringLiteral("Personal Details"), 0, {}},
                            {GraphicStates::of({text}), opened});
        text->Text_contents().text = QStringLiteral("Grace");
    }
    CanvasDriver::settle();
    EXPECT_EQ(words->toPlainText(), QStringLiteral("Grace"));
    EXPECT_TRUE(items(source().Batch_Series).contains(QStringLiteral("Given")));
}

// The preview draws the side last edited, with its page: a change of the page made there shows at
// once, and the caption names the side.
TEST_F(InspectorWiring, ThePreviewRedrawsAfterAChangeOfThePageAndNamesItsSide)
{
    const auto click = [](QAbstractButton *button) {
        QTest::mouseClick(button, Qt::LeftButton);
        CanvasDriver::settle();
    };
    click(window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn")));
    SKTGraphicView *preview = canvas(SKTDocument::Temp);
    EXPECT_EQ(window->sideViews().Front_back_label->text(), QStringLiteral("Preview of the Front"));
    window->inspector().showLiveSelection(true);
    window->inspectorTabs().selectItem(InspectorTabs::card_bkgd_tab);
    CanvasDriver::settle();
    int paints = preview->paintCount();
    testsupport::clickIndicator(window->findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    ASSERT_TRUE(window->Front_card_Prop().Card_fill_chk);
    CanvasDriver::settle();
    EXPECT_GT(preview->paintCount(), paints);
    // A change no control in sight shows, so that a window repainting for a control of its own
    // (an offscreen one repaints whole) cannot stand in for the Preview's redraw; and what it
    // draws is the page as it now stands, not a copy of it.
    QTabWidget *tabs = window->inspectorTabs().sett_tab();
    tabs->setCurrentIndex(tabs->currentIndex() == 0 ? 1 : 0);
    ASSERT_FALSE(window->findChild<ColorWell *>(QStringLiteral("Card_fill_clr"))->isVisible());
    CanvasDriver::settle();
    const QImage before = preview->grab().toImage();
    paints = preview->paintCount();
    Card_Property page = window->Front_card_Prop();
    page.Card_fill_clr = QColor(200, 30, 30);
    testsupport::setPage(window->document(), SKTDocument::Front, page);
    CanvasDriver::settle();
    EXPECT_GT(preview->paintCount(), paints);
    const QImage after = preview->grab().toImage();
    EXPECT_EQ(after.pixelColor(after.rect().center()), QColor(200, 30, 30));
    EXPECT_NE(before.pixelColor(before.rect().center()), QColor(200, 30, 30));
    // The back's preview says so.
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    click(window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn")));
    EXPECT_EQ(window->sideViews().Front_back_label->text(), QStringLiteral("Preview of the Back"));
}

TEST_F(InspectorWiring, TheCardPageReachesTheBackButtonEveryCanvasAndThePagesPicture)
{
    // One side: no Back button; two sides: it is back.
    choose(window->findChild<QComboBox *>(QStringLiteral("Sides_ComboBox")), 1);
    EXPECT_FALSE(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn"))->isEnabled());
    choose(window->findChild<QComboBox *>(QStringLiteral("Sides_ComboBox")), 0);
    EXPECT_TRUE(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn"))->isEnabled());

    // A size from the list reaches the three canvases, the preview's too.
    choose(window->findChild<QComboBox *>(QStringLiteral("Category_ComboBox")), 1);
    const QTableView *list = window->findChild<QTableView *>(QStringLiteral("ColList"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(2, 0)).center());
    const QSizeF mm = CardSizeTables::Get_My_card_Size(QStringLiteral("Paper Badge"), QStringLiteral("H"), 2);
    const float points = CardSizeTables::MM_to_Points_Convert(float(mm.width()));
    for (int side = 0; side < 3; ++side)
        EXPECT_NEAR(canvas(side)->bounds().width(), points, 0.01) << side;

    // The window reads a chosen background picture into the page of the side shown, and shows its path.
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString blue = tempPath(QStringLiteral("blue.png"));
    ASSERT_TRUE(image.save(blue));
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")), Qt::LeftButton);
    ASSERT_EQ(window->Card_Front_Or_Back(), 1);
    showTab(InspectorTabs::card_bkgd_tab);
    testsupport::clickIndicator(window->findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    testsupport::clickIndicator(window->findChild<QRadioButton *>(QStringLiteral("Card_Image_fill_rd")));
    files.answers.push_back(blue);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Card_Image_Browse_btn")),
                      Qt::LeftButton);
    EXPECT_TRUE(window->Back_card_Prop().Card_BG_Image.has_value());
    EXPECT_EQ(window->Back_card_Prop().Card_BG_Image_Path, blue);
    EXPECT_FALSE(window->Front_card_Prop().Card_BG_Image.has_value());
    EXPECT_EQ(window->findChild<QLineEdit *>(QStringLiteral("Card_Image_path"))->text(), blue);
    // The inspector stays on the page the picture was chosen from.
    EXPECT_EQ(window->inspectorTabs().currentItem(), InspectorTabs::card_bkgd_tab);
}

TEST_F(InspectorWiring, DetailsPlacedShowTheObjectTheCanvasSelected)
{
    // The details entry answers OK with a name and a web address, later a photo as well.
    QString photo;
    window->registry().fill(WindowRegistry::Window::UserProfile, [&](const QString &side) {
        EXPECT_EQ(side, QStringLiteral("F"));
        window->Front_user_profile.Name.value = QStringLiteral("Ada Example");
        window->Front_user_profile.website.value = QStringLiteral("www.example.com");
        window->Front_user_profile.image.value = photo;
        ProfileState::instance().Fill_User_Profile = 1;
        return 1;
    });
    clickTool(3);
    const GraphicPtr rectangle = window->inspector().shownGraphic();
    ASSERT_TRUE(rectangle && rectangle->kind() == SKTGraphic::Kind::Shape);

    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    QCoreApplication::processEvents();
    // The inspector shows what the canvas selected, of the text tool's kind, not the rectangle's page.
    const GraphicPtr placed = canvas(0)->selectedGraphic();
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->kind(), SKTGraphic::Kind::Text);
    EXPECT_EQ(window->inspector().shownGraphic(), placed);
    EXPECT_FALSE(tabs().isShown(InspectorTabs::shape_tab));
    EXPECT_TRUE(tabs().isShown(InspectorTabs::text_prop_tab));
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 2);
    EXPECT_EQ(canvas(0)->selectedGraphics(), GraphicList{placed});

    // With a photo the picture is placed last: the picture tool's kind and the picture's page.
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::green);
    photo = tempPath(QStringLiteral("photo.png"));
    ASSERT_TRUE(image.save(photo));
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")), Qt::LeftButton);
    QCoreApplication::processEvents();
    const GraphicPtr picture = window->inspector().shownGraphic();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->kind(), SKTGraphic::Kind::Image);
    EXPECT_TRUE(tabs().isShown(InspectorTabs::image_tab));
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 8);
}

TEST_F(InspectorWiring, ThePageInFrontStaysForAnotherObjectOfTheSameKind)
{
    using T = InspectorTabs;
    // Made with their tools, each moved to a place of its own.
    const auto make = [this](int tool, const QRectF &frame) {
        clickTool(tool);
        const GraphicPtr g = front().first();
        g->setBounds(frame);
        QCoreApplication::processEvents();
        return g;
    };
    const GraphicPtr text1 = make(2, QRectF(10, 10, 60, 30));
    const GraphicPtr text2 = make(2, QRectF(90, 10, 60, 30));
    const GraphicPtr rect = make(3, QRectF(10, 60, 40, 40));
    const GraphicPtr star = make(13, QRectF(90, 60, 40, 40));
    const GraphicPtr line = make(1, QRectF(160, 60, 40, 40));
    CanvasDriver canvasClicks(*canvas(0));
    QTabBar *bar = tabs().sett_tab()->tabBar();
    const auto clickTab = [&](T::Item item) {
        const int index = tabs().shownItems().indexOf(item);
        ASSERT_GE(index, 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    };
    const auto select = [&](const GraphicPtr &g) {
        canvasClicks.click(g->bounds().center());
        QCoreApplication::processEvents();
        EXPECT_EQ(window->inspector().shownGraphic(), g);
    };

    select(text1);
    clickTab(T::text_prop_tab);
    select(text2);
    EXPECT_EQ(tabs().currentItem(), T::text_prop_tab);
    select(rect);
    EXPECT_EQ(tabs().currentItem(), T::shape_tab);
    clickTab(T::aligmnt_tab);
    select(star);
    EXPECT_EQ(tabs().currentItem(), T::aligmnt_tab);
    EXPECT_EQ(tabs().label(T::shape_tab), QStringLiteral("Star Properties"));
    // Another kind opens on its first page.
    select(line);
    EXPECT_EQ(tabs().currentItem(), T::line_tab);
    select(text1);
    EXPECT_EQ(tabs().currentItem(), T::text_edtng_tab);
}
