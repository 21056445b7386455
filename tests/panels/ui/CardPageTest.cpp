// The card page as a user works it: fill and border boxes, background pictures, size list and
// outline, the content colour and font reaching the side's texts, and what reaches the page record.
#include "FakeHostFixture.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/RowListModel.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/StepperField.h"
#include "model/Card_Property.h"
#include "model/ModelGlobals.h"
#include "panels/CardSizeTables.h"
#include "panels/ui/CardPagePanel.h"
#include "platform/FontResolver.h"
#include "platform/UndoManager.h"
#include "support/DesignSetup.h"
#include "support/IndicatorClick.h"
#include "support/PageFieldValues.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

class CardPageTest : public FakeHostFixture
{
protected:
    // Both sides start as a new design's pages with its content font, shown on the card page, as
    // the window starts a new card.
    void SetUp() override
    {
        FakeHostFixture::SetUp();
        testsupport::arrangeSettings(host->document(), [](DesignSettings &s) { s.resetPages(); });
        inspect(nullptr);
    }
    const Card_Property &frontPage() { return host->cardProperty(0); }
    // Writes the front page as a design opened with it would hold it.
    template <typename Write> void writeFront(Write write)
    {
        testsupport::arrangeSettings(host->document(), [&write](DesignSettings &s) { write(s.frontPage); });
    }
    const Card_Property &backPage() { return host->cardProperty(1); }
    // The window's Back button: the back side is edited and its card page shown.
    void showBack()
    {
        host->showSide(1);
        inspect(nullptr);
    }
    // Brings a tab to the front, as a user does before working its controls.
    void showTab(InspectorTabs::Item item)
    {
        tabs().selectItem(item);
        QCoreApplication::processEvents();
    }
    // A click on a check box's indicator (its middle may lie past the label, outside the hit area).
    static void tick(QAbstractButton *box) { testsupport::clickIndicator(box); }
    QString picture(const QString &name, const QColor &color)
    {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(color);
        const QString path = tempPath(name);
        image.save(path);
        return path;
    }
    void clickRow(int row)
    {
        QTableView *list = host->window().findChild<QTableView *>(QStringLiteral("ColList"));
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

TEST_F(CardPageTest, FillOffKeepsColoursAndOnTheBackMeansSolid)
{
    showTab(InspectorTabs::card_bkgd_tab);
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    ASSERT_TRUE(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk"))->isChecked());
    tick(host->window().findChild<QRadioButton *>(QStringLiteral("Card_gradient_fill_rd")));
    EXPECT_FALSE(host->window().findChild<ColorWell *>(QStringLiteral("Card_fill_clr"))->isEnabled());
    EXPECT_TRUE(host->window().findChild<ColorWell *>(QStringLiteral("Card_fill_Grd_1_clr"))->isEnabled());
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    EXPECT_FALSE(frontPage().Card_fill_chk);
    EXPECT_EQ(frontPage().Card_fill_style, QStringLiteral("G"));

    showBack();
    showTab(InspectorTabs::card_bkgd_tab);
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    tick(host->window().findChild<QRadioButton *>(QStringLiteral("Card_gradient_fill_rd")));
    choosers.nextColor = QColor(10, 200, 30);
    QTest::mouseClick(host->window().findChild<ColorWell *>(QStringLiteral("Card_fill_Grd_2_clr")),
                      Qt::LeftButton);
    EXPECT_EQ(backPage().Card_fill_style, QStringLiteral("G"));
    EXPECT_EQ(backPage().Card_fill_Grd_2_clr.rgb(), QColor(10, 200, 30).rgb());
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    EXPECT_EQ(backPage().Card_fill_style, QStringLiteral("S"));
    EXPECT_EQ(backPage().Card_fill_Grd_2_clr.rgb(), QColor(10, 200, 30).rgb());
    // The front was not touched by the back's work.
    EXPECT_EQ(frontPage().Card_fill_style, QStringLiteral("G"));
}

TEST_F(CardPageTest, BorderOffKeepsColourAndWidthAndOpacityIsStoredAsAFraction)
{
    showTab(InspectorTabs::card_brdr_tab);
    ASSERT_TRUE(host->window()
                    .findChild<QCheckBox *>(QStringLiteral("Card_border_chk"))
                    ->isChecked()); // a new card has a border
    host->window().findChild<StepperField *>(QStringLiteral("Card_bor_Stepper"))->setFocus();
    host->window().findChild<StepperField *>(QStringLiteral("Card_bor_Stepper"))->stepBy(4);
    const int width = frontPage().Card_bor_Stepper;
    EXPECT_EQ(width,
              int(host->window().findChild<StepperField *>(QStringLiteral("Card_bor_Stepper"))->value()));
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_border_chk")));
    EXPECT_FALSE(frontPage().Card_border_chk);
    EXPECT_EQ(frontPage().Card_bor_Stepper, width);
    EXPECT_FALSE(host->window().findChild<StepperField *>(QStringLiteral("Card_bor_Stepper"))->isEnabled());

    showTab(InspectorTabs::card_bkgd_tab);
    host->window().findChild<StepperField *>(QStringLiteral("Card_alpha_Stepper"))->setValue(60);
    host->window().findChild<StepperField *>(QStringLiteral("Card_alpha_Stepper"))->stepBy(-10);
    EXPECT_FLOAT_EQ(frontPage().Card_alpha_Stepper, 0.5f);
    // Loaded back, a fraction shows as percent; a new page's 100 stays within the stepper.
    inspect(nullptr);
    EXPECT_EQ(host->window().findChild<StepperField *>(QStringLiteral("Card_alpha_Stepper"))->value(), 50);
    writeFront([](Card_Property &p) { p.Card_alpha_Stepper = 100.0f; });
    inspect(nullptr);
    EXPECT_EQ(host->window().findChild<StepperField *>(QStringLiteral("Card_alpha_Stepper"))->value(), 100);
}

TEST_F(CardPageTest, APageWithoutAPatternShowsNoneAndOtherControlsWriteNone)
{
    // The window lists the pattern pictures; the back names one, the front none, whatever its fill.
    host->window()
        .findChild<QComboBox *>(QStringLiteral("Card_hatch_style"))
        ->addItems({QStringLiteral("Cross"), QStringLiteral("Dots")});
    testsupport::arrangeSettings(host->document(), [](DesignSettings &s) {
        s.backPage.Card_fill_chk = true;
        s.backPage.Card_fill_style = FillCode::Hatch;
        s.backPage.Card_hatch_style = QStringLiteral("Cross");
    });
    for (const QString &fill : {QString(FillCode::Hatch), QString(FillCode::Solid)}) {
        writeFront([&fill](Card_Property &p) {
            p.Card_fill_style = fill;
            p.Card_hatch_style.clear();
        });
        showBack();
        ASSERT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Card_hatch_style"))->currentText(),
                  QStringLiteral("Cross"));
        host->showSide(0);
        inspect(nullptr);
        EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Card_hatch_style"))->currentIndex(),
                  -1)
            << fill.toStdString();
        // Ticking the fill, or a border edit, writes no pattern into this page.
        showTab(InspectorTabs::card_bkgd_tab);
        tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
        showTab(InspectorTabs::card_brdr_tab);
        tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_border_chk")));
        EXPECT_EQ(frontPage().Card_hatch_style, QString()) << fill.toStdString();
    }
}

// The first edit of a side writes that control's fields alone: the rest of the page stays as the
// design holds it, whatever the panel showed before.
TEST_F(CardPageTest, EachControlWritesOnlyItsOwnFields)
{
    const auto sizeOf = [](double w, double h) {
        return QSizeF(CardSizeTables::MM_to_Points_Convert(float(w)),
                      CardSizeTables::MM_to_Points_Convert(float(h)));
    };
    const struct {
        const char *control;
        std::function<void()> act;
        QStringList fields; // the page fields it may write
    } cases[] = {
        {"Rounded outline",
         [this] {
             QTest::mouseClick(
                 host->window().findChild<QAbstractButton *>(QStringLiteral("matrix_card_shape_1")),
                 Qt::LeftButton);
         },
         {}},
        {"Ellipse outline",
         [this] {
             QTest::mouseClick(
                 host->window().findChild<QAbstractButton *>(QStringLiteral("matrix_card_shape_2")),
                 Qt::LeftButton);
         },
         {}},
        {"border tick",
         [this] { tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_border_chk"))); },
         {"Card_border_chk"}},
        {"fill tick",
         [this] { tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk"))); },
         {"Card_fill_chk"}},
        {"gradient radio",
         [this] { tick(host->window().findChild<QRadioButton *>(QStringLiteral("Card_gradient_fill_rd"))); },
         {"Card_fill_style"}},
        {"card name",
         [this] {
             host->window().findChild<QLineEdit *>(QStringLiteral("card_name"))->setFocus();
             host->window().findChild<QLineEdit *>(QStringLiteral("card_name"))->selectAll();
             QTest::keyClicks(host->window().findChild<QLineEdit *>(QStringLiteral("card_name")),
                              QStringLiteral("Mine"));
             QTest::keyClick(host->window().findChild<QLineEdit *>(QStringLiteral("card_name")),
                             Qt::Key_Return);
         },
         {"Card_Name"}},
    };
    for (const auto &c : cases) {
        for (int side : {0, 1}) {
            // A page unlike the panel's defaults in every field, the size apart.
            testsupport::arrangeSettings(host->document(), [&](DesignSettings &s) {
                Card_Property page = testsupport::pageWithEveryFieldSet();
                page.Card_Side = QStringLiteral("2");
                page.Card_fill_style = FillCode::Solid;
                page.Card_hatch_style = QStringLiteral("Cross");
                page.Card_alpha_Stepper = 0.8f;
                s.setOutline(DesignSettings::Rectangle);
                s.setCardSize(sizeOf(85.6, 54));
                s.frontPage = page;
                s.backPage = page;
            });
            host->showSide(side);
            inspect(nullptr);
            const Card_Property before = host->cardProperty(side);
            c.act();
            QStringList changed = testsupport::differingPageFields(before, host->cardProperty(side));
            for (const QString &f : c.fields)
                changed.removeAll(f);
            EXPECT_EQ(changed, QStringList()) << c.control << " on side " << side;
        }
    }
}

TEST_F(CardPageTest, BrowseOnTheBackLeavesTheFrontPictureAlone)
{
    const QString red = picture(QStringLiteral("red.png"), Qt::red);
    const QString blue = picture(QStringLiteral("blue.png"), Qt::blue);
    files.answers.push_back(red);
    showTab(InspectorTabs::card_bkgd_tab);
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    tick(host->window().findChild<QRadioButton *>(QStringLiteral("Card_Image_fill_rd")));
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("Card_Image_Browse_btn")),
                      Qt::LeftButton);
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_TRUE(files.requests[0].suffixes.contains(QStringLiteral("jfif")));
    EXPECT_EQ(frontPage().Card_BG_Image_Path, red);
    EXPECT_EQ(frontPage().Card_fill_style, QStringLiteral("I"));
    EXPECT_TRUE(frontPage().Card_BG_Image.has_value());
    EXPECT_TRUE(host->window().findChild<QRadioButton *>(QStringLiteral("Card_Image_fill_rd"))->isChecked());
    showTab(InspectorTabs::card_bkgd_tab);
    saveArtifact(tabs().sett_tab(), QStringLiteral("inspector-card-background.png"));

    showBack();
    files.answers.push_back(blue);
    showTab(InspectorTabs::card_bkgd_tab);
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_fill_chk")));
    tick(host->window().findChild<QRadioButton *>(QStringLiteral("Card_Image_fill_rd")));
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("Card_Image_Browse_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(backPage().Card_BG_Image_Path, blue);
    EXPECT_EQ(frontPage().Card_BG_Image_Path, red);
    EXPECT_EQ(host->window().findChild<QLineEdit *>(QStringLiteral("Card_Image_path"))->text(), blue);

    // Cancel changes nothing; the library answers through its window.
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("Card_Image_Browse_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(backPage().Card_BG_Image_Path, blue);
    host->registry().fillPictureChooser([&](WindowRegistry::PictureShelf shelf) {
        EXPECT_EQ(shelf, WindowRegistry::PictureShelf::Backgrounds);
        return red;
    });
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("Card_Image_Library_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(backPage().Card_BG_Image_Path, red);
    // The window was asked for each chosen picture once, and never for the cancelled one.
    EXPECT_EQ(host->backgrounds, (QStringList{red, blue, red}));
}

TEST_F(CardPageTest, SizeListOutlineAndStepperResizeEveryCanvas)
{
    // The paper category lists the badge sizes; a click on a row resizes the card.
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Category_ComboBox")), 1);
    EXPECT_EQ(host->window().findChild<QTableView *>(QStringLiteral("ColList"))->model()->rowCount(),
              CardSizeTables::paper_card_arry().size());
    clickRow(2);
    const QSizeF mm = CardSizeTables::Get_My_card_Size(QStringLiteral("Paper Badge"), QStringLiteral("H"), 2);
    EXPECT_FLOAT_EQ(float(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->value()),
                    float(mm.width()));
    const float points = CardSizeTables::MM_to_Points_Convert(float(mm.width()));
    for (int side = 0; side < 2; ++side)
        EXPECT_NEAR(canvas(side)->bounds().width(), points, 0.01) << side;
    EXPECT_NEAR(host->document().design().cardSize().width(), points, 0.01);
    EXPECT_EQ(frontPage().Card_Sub_Category, CardSizeTables::paper_card_arry().at(2));
    EXPECT_EQ(frontPage().Card_Cat_index, 2);
    EXPECT_EQ(frontPage().Card_Category, QStringLiteral("Paper Badge"));

    // The outline changes the outline of both sides and leaves the size as it is.
    QTest::mouseClick(host->window().findChild<QAbstractButton *>(QStringLiteral("matrix_card_shape_2")),
                      Qt::LeftButton);
    EXPECT_EQ(host->document().design().outline(), CardDesign::Ellipse);
    EXPECT_NEAR(canvas(1)->bounds().width(), points, 0.01);
    // A width set in the stepper and not applied is what the turn below swaps (the page shows the
    // design again on each of its notices, so it is set after the outline's).
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->setValue(60);

    // The orientation rebuilds the list of the chosen category, and selects its first size.
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox")), 1);
    EXPECT_EQ(host->window().findChild<QTableView *>(QStringLiteral("ColList"))->model()->rowCount(),
              CardSizeTables::paper_card_arry().size());
    EXPECT_EQ(static_cast<CardPagePanel &>(inspector().cardPage()).selectedSizeRow(), 0);
}

TEST_F(CardPageTest, SizeListShowsTheEntryOfTheCardsSizeOrNone)
{
    const auto shownRow = [this] {
        return static_cast<CardPagePanel &>(inspector().cardPage()).selectedSizeRow();
    };
    // A typed value counts once committed, as a user's Enter does.
    const auto type = [](StepperField *field, const QString &text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    };
    const QString creditCard = CardSizeTables::pvc_card_arry().at(0);
    showTab(InspectorTabs::card_setting_tab);
    // A new card has the credit card size, in whole points: its entry is shown.
    EXPECT_EQ(shownRow(), 0);

    // A size of the user's own: no entry is shown, and the page names none.
    type(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")), QStringLiteral("120"));
    type(host->window().findChild<StepperField *>(QStringLiteral("height_Stepper")), QStringLiteral("120"));
    ASSERT_NEAR(canvas(0)->bounds().height(), CardSizeTables::MM_to_Points_Convert(120), 0.01);
    EXPECT_EQ(shownRow(), -1);
    EXPECT_EQ(frontPage().Card_Cat_index, -1);
    EXPECT_EQ(frontPage().Card_Sub_Category, QString());

    // A design opened with that size whose page still names the credit card shows no entry.
    writeFront([](Card_Property &p) { p.Card_Cat_index = 0; });
    writeFront([&](Card_Property &p) { p.Card_Sub_Category = creditCard; });
    inspect(nullptr);
    EXPECT_EQ(shownRow(), -1);
    EXPECT_EQ(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->value(), 120);

    // Back to a listed size: by a click on its entry in a category, or by typing its size.
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Category_ComboBox")),
           CardSizeTables::PvcCategory);
    clickRow(3);
    EXPECT_EQ(shownRow(), 3);
    EXPECT_EQ(frontPage().Card_Cat_index, 3);
    type(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")), QStringLiteral("120"));
    EXPECT_EQ(shownRow(), -1);
    type(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")), QStringLiteral("85.60"));
    type(host->window().findChild<StepperField *>(QStringLiteral("height_Stepper")), QStringLiteral("54.10"));
    EXPECT_EQ(shownRow(), 0);
    EXPECT_EQ(frontPage().Card_Sub_Category, creditCard);
    EXPECT_EQ(frontPage().Card_Cat_index, 0);

    // Upright, the same card is the same entry; a page naming a row of another size is corrected.
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox")),
           QStringLiteral("Vertical"));
    type(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")), QStringLiteral("54.10"));
    type(host->window().findChild<StepperField *>(QStringLiteral("height_Stepper")), QStringLiteral("85.60"));
    EXPECT_EQ(shownRow(), 0);
    writeFront([](Card_Property &p) { p.Card_Cat_index = 4; });
    inspect(nullptr);
    EXPECT_EQ(shownRow(), 0);
    // Of the two equal paper entries, the one the page names stays shown.
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox")),
           QStringLiteral("Horizontal"));
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Category_ComboBox")), 1);
    clickRow(2);
    inspect(nullptr);
    EXPECT_EQ(shownRow(), 2);
}

TEST_F(CardPageTest, ACardShowsTheOrientationAndCategoryOfItsSize)
{
    // A 127 x 178 mm card from the start wizard, whose page still names a level credit card.
    const QSizeF upright(CardSizeTables::MM_to_Points_Convert(127),
                         CardSizeTables::MM_to_Points_Convert(178));
    testsupport::setCardSize(host->document(), upright);
    inspect(nullptr);
    showTab(InspectorTabs::card_setting_tab);
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox"))->currentText(),
              QStringLiteral("Vertical"));
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Category_ComboBox"))->currentText(),
              CardSizeTables::CustomCategory);
    EXPECT_EQ(host->window().findChild<QTableView *>(QStringLiteral("ColList"))->model()->rowCount(), 0);
    saveArtifact(tabs().sett_tab(), QStringLiteral("card-page-portrait-own-size.png"));
    // Another control of the page writes its own field, not what the size controls show.
    showTab(InspectorTabs::card_brdr_tab);
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_border_chk")));
    EXPECT_EQ(frontPage().Card_Preset, QStringLiteral("Horizontal"));
    EXPECT_EQ(frontPage().Card_Category, QStringLiteral("PVC Card"));

    // Choosing the other orientation turns the card.
    showTab(InspectorTabs::card_setting_tab);
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox")),
           QStringLiteral("Horizontal"));
    EXPECT_NEAR(canvas(0)->bounds().width(), CardSizeTables::MM_to_Points_Convert(178), 0.01);
    EXPECT_NEAR(canvas(0)->bounds().height(), CardSizeTables::MM_to_Points_Convert(127), 0.01);
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox"))->currentText(),
              QStringLiteral("Horizontal"));

    // Resized to a listed size: its category, orientation and entry, whatever was shown before.
    const QSizeF badge = CardSizeTables::Get_My_card_Size(CardSizeTables::PaperCategory, "H", 7);
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->setValue(badge.width());
    host->window().findChild<StepperField *>(QStringLiteral("height_Stepper"))->setValue(badge.height());
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("Apply_Size_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Preset_ComboBox"))->currentText(),
              QStringLiteral("Horizontal"));
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Category_ComboBox"))->currentText(),
              CardSizeTables::PaperCategory);
    EXPECT_EQ(static_cast<CardPagePanel &>(inspector().cardPage()).selectedSizeRow(), 7);
    EXPECT_EQ(frontPage().Card_Sub_Category, CardSizeTables::paper_card_arry().at(7));
}

TEST_F(CardPageTest, NameAndSidesReachThePageAndComeBackFromIt)
{
    host->window().findChild<QLineEdit *>(QStringLiteral("card_name"))->setText(QStringLiteral("   "));
    emit host->window().findChild<QLineEdit *>(QStringLiteral("card_name"))->editingFinished();
    EXPECT_EQ(frontPage().Card_Name, QStringLiteral("Untitled"));
    QTest::keyClicks(host->window().findChild<QLineEdit *>(QStringLiteral("card_name")),
                     QStringLiteral(" Birthday "));
    emit host->window().findChild<QLineEdit *>(QStringLiteral("card_name"))->editingFinished();
    EXPECT_EQ(frontPage().Card_Name, QStringLiteral("Birthday"));

    choose(host->window().findChild<QComboBox *>(QStringLiteral("Sides_ComboBox")), 1);
    EXPECT_FALSE(host->backSideEnabled);
    EXPECT_EQ(frontPage().Card_Side, QStringLiteral("1"));
    EXPECT_EQ(backPage().Card_Side, QStringLiteral("1"));
    // A later write keeps a one-sided card one-sided once the page was loaded again.
    inspect(nullptr);
    showTab(InspectorTabs::card_brdr_tab);
    tick(host->window().findChild<QCheckBox *>(QStringLiteral("Card_border_chk")));
    EXPECT_EQ(frontPage().Card_Side, QStringLiteral("1"));
    choose(host->window().findChild<QComboBox *>(QStringLiteral("Sides_ComboBox")), 0);
    EXPECT_TRUE(host->backSideEnabled);
    EXPECT_EQ(frontPage().Card_Side, QStringLiteral("2"));
}

TEST_F(CardPageTest, ContentColourAndFontReachEveryTextOfTheLiveSide)
{
    GraphicPtr early = place(SKTGraphic::Kind::Text, 0, false);
    GraphicPtr shape = place(SKTGraphic::Kind::Shape, 0, false);
    GraphicPtr backText = place(SKTGraphic::Kind::Text, 1, false);
    inspect(nullptr);
    const std::optional<QColor> backColour = backText->txt_clr;

    choosers.nextColor = QColor(200, 0, 0);
    QTest::mouseClick(host->window().findChild<ColorWell *>(QStringLiteral("All_Text_clr")), Qt::LeftButton);
    EXPECT_EQ(early->txt_clr, QColor(200, 0, 0));
    EXPECT_EQ(backText->txt_clr, backColour);
    EXPECT_EQ(frontPage().Card_Content_clr, QColor(200, 0, 0));

    // A text given another colour afterwards keeps it through a change of the card's size.
    GraphicPtr later = place(SKTGraphic::Kind::Text, 0, false);
    later->txt_clr = QColor(0, 0, 255);
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->setValue(70);
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("Apply_Size_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(later->txt_clr, QColor(0, 0, 255));

    choosers.nextFont = QFont(QStringLiteral("Liberation Sans"), 20);
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("All_Text_font_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(host->window().findChild<QLabel *>(QStringLiteral("All_Text_font_value"))->text(),
              QStringLiteral("Liberation Sans ( 20.00 )"));
    ASSERT_TRUE(early->text_ctrl_font.has_value());
    EXPECT_EQ(early->text_ctrl_font->size, 20.0);
    EXPECT_EQ(frontPage().Card_Content_font.size, 20.0);
    EXPECT_FALSE(shape->text_ctrl_font.has_value() && shape->text_ctrl_font->size == 20.0);
}

TEST_F(CardPageTest, PickingTheSameContentFontAgainChangesNoText)
{
    GraphicPtr text = place(SKTGraphic::Kind::Text, 0, false);
    text->text_ctrl_font = FontDescriptor{QStringLiteral("CourierNewPSMT"), 9};
    inspect(nullptr);
    choosers.nextFont = FontResolver::font(frontPage().Card_Content_font);
    QTest::mouseClick(host->window().findChild<QPushButton *>(QStringLiteral("All_Text_font_btn")),
                      Qt::LeftButton);
    EXPECT_EQ(text->text_ctrl_font->postScriptName, QStringLiteral("CourierNewPSMT"));
    EXPECT_TRUE(host->window()
                    .findChild<QLabel *>(QStringLiteral("All_Text_font_value"))
                    ->text()
                    .endsWith(QStringLiteral(" ( 14.00 )")));
}

TEST_F(CardPageTest, ControlsLoadedInBulkWriteNothingBack)
{
    writeFront([](Card_Property &p) { p.Card_border_chk = true; });
    writeFront([](Card_Property &p) { p.Card_bor_Stepper = 7; });
    writeFront([](Card_Property &p) { p.Card_border_style = QStringLiteral("DO"); });
    writeFront([](Card_Property &p) { p.Card_Name = QStringLiteral("Saved"); });
    inspect(nullptr);
    EXPECT_EQ(host->window().findChild<StepperField *>(QStringLiteral("Card_bor_Stepper"))->value(), 7);
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Card_border_style"))->currentIndex(), 2);
    EXPECT_TRUE(host->window().findChild<StepperField *>(QStringLiteral("Card_bor_Stepper"))->isEnabled());
    EXPECT_EQ(host->window().findChild<QLineEdit *>(QStringLiteral("card_name"))->text(),
              QStringLiteral("Saved"));
    // Loading changed nothing: the record still holds what it held.
    EXPECT_EQ(frontPage().Card_Name, QStringLiteral("Saved"));
    // An unknown border code leaves the combo where it was.
    writeFront([](Card_Property &p) { p.Card_border_style = QStringLiteral("ZZ"); });
    inspect(nullptr);
    EXPECT_EQ(host->window().findChild<QComboBox *>(QStringLiteral("Card_border_style"))->currentIndex(), 2);
    showTab(InspectorTabs::card_brdr_tab);
    saveArtifact(tabs().sett_tab(), QStringLiteral("inspector-card-border.png"));
}

// A smaller card names what it leaves past its edge or off it, each object by its kind and words
// (what already passed an edge is the user's own placing); undo takes the size back.
TEST_F(CardPageTest, ASmallerCardNamesWhatItLeavesOffIt)
{
    const struct {
        QRectF frame;
        QString words;
        int alignment;
    } texts[] = {
        {QRectF(10, 10, 60, 20), QStringLiteral("Inside"), 0},
        {QRectF(120, 10, 80, 20), QStringLiteral("Across"), 0},
        {QRectF(180, 60, 50, 20), QStringLiteral("From: Anna & James"), 0},
        {QRectF(100, 90, 140, 20), QStringLiteral("Right"),
         1}, // its frame reaches the card, its words do not
        {QRectF(200, 120, 80, 20), QStringLiteral("Already past"), 0},
    };
    for (const auto &t : texts) {
        GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Text);
        g->setBounds(t.frame);
        g->text_alignmnet = t.alignment;
        g->Text_contents().text = t.words;
        host->document().insertGraphicsIntoSide(0, {g}, {int(host->document().graphics().size())});
    }
    // Objects of every other kind, and a text with no words, wholly off the smaller card.
    const struct {
        SKTGraphic::Kind kind;
        QString file;
    } others[] = {
        {SKTGraphic::Kind::Line, {}},  {SKTGraphic::Kind::Barcode, {}},
        {SKTGraphic::Kind::Shape, {}}, {SKTGraphic::Kind::Signature, {}},
        {SKTGraphic::Kind::Text, {}},  {SKTGraphic::Kind::Image, QStringLiteral("/pictures/rose.png")},
        {SKTGraphic::Kind::Image, {}},
    };
    for (const auto &o : others) {
        GraphicPtr g = SKTGraphic::create(o.kind);
        g->setBounds(QRectF(190, 10, 30, 30));
        if (!o.file.isEmpty())
            g->_file_path = o.file;
        host->document().insertGraphicsIntoSide(0, {g}, {int(host->document().graphics().size())});
    }
    inspect(nullptr);
    showTab(InspectorTabs::card_setting_tab);
    const QSizeF before = host->document().design().cardSize();
    const int steps = host->document().undoManager().undoCount();
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->setFocus();
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->selectAll();
    QTest::keyClicks(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")),
                     QStringLiteral("60")); // 170 points
    QTest::keyClick(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")),
                    Qt::Key_Return);
    ASSERT_NEAR(host->document().design().cardSize().width(), CardSizeTables::MM_to_Points_Convert(60), 0.01);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !shown().isEmpty(); }));
    EXPECT_EQ(host->document().undoManager().undoCount(),
              steps + 1); // the step was complete when it was said
    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(
        shown().constFirst(),
        QStringLiteral("At this card size, the text \"Across\" now reaches past the card's edge, and "
                       "the text \"From: Anna & James\", the text \"Right\", a line, a barcode, "
                       "a shape and 4 other objects now lie wholly off the card. Edit > Undo takes the size "
                       "back."));
    host->document().undoManager().undo();
    EXPECT_EQ(host->document().design().cardSize(), before);
    // A larger card leaves nothing off.
    inspect(nullptr);
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->setFocus();
    host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->selectAll();
    QTest::keyClicks(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")),
                     QStringLiteral("100"));
    QTest::keyClick(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")),
                    Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown().size(), 1);
}

// Each object a smaller card leaves off is named as the user knows it.
TEST_F(CardPageTest, AnObjectLeftOffIsNamedByItsKindAndWords)
{
    const struct {
        SKTGraphic::Kind kind;
        QString words; // a text's words, a picture's file
        QString named;
    } cases[] = {
        {SKTGraphic::Kind::Text, QStringLiteral("Happy  Birthday\nMira"),
         QStringLiteral("the text \"Happy Birthday Mira\"")},
        {SKTGraphic::Kind::Text, QStringLiteral("A greeting far longer than a message should quote"),
         QStringLiteral("the text \"A greeting far longer than a \u2026\"")},
        {SKTGraphic::Kind::Text, QString(), QStringLiteral("an empty text")},
        {SKTGraphic::Kind::Image, QStringLiteral("/pictures/rose.png"),
         QStringLiteral("the picture \"rose.png\"")},
        {SKTGraphic::Kind::Image, QString(), QStringLiteral("a picture")},
        {SKTGraphic::Kind::Line, QString(), QStringLiteral("a line")},
        {SKTGraphic::Kind::Shape, QString(), QStringLiteral("a shape")},
        {SKTGraphic::Kind::Signature, QString(), QStringLiteral("a signature")},
        {SKTGraphic::Kind::Barcode, QString(), QStringLiteral("a barcode")},
    };
    for (const auto &c : cases) {
        GraphicPtr g = SKTGraphic::create(c.kind);
        g->setBounds(QRectF(190, 10, 30, 30));
        if (c.kind == SKTGraphic::Kind::Text)
            g->Text_contents().text = c.words;
        else if (!c.words.isEmpty())
            g->_file_path = c.words;
        host->document().insertGraphicsIntoSide(0, {g}, {0});
        const qsizetype said = shown().size();
        inspect(nullptr);
        showTab(InspectorTabs::card_setting_tab);
        host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->setFocus();
        host->window().findChild<StepperField *>(QStringLiteral("width_Stepper"))->selectAll();
        QTest::keyClicks(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")),
                         QStringLiteral("60"));
        QTest::keyClick(host->window().findChild<StepperField *>(QStringLiteral("width_Stepper")),
                        Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown().size() > said; })) << c.named.toStdString();
        EXPECT_EQ(shown().constLast(),
                  QStringLiteral("At this card size, %1 now lies wholly off the card. Edit > Undo takes the "
                                 "size back.")
                      .arg(c.named));
        host->document().undoManager().undo();
        host->document().removeGraphicsFromSide(0, {0});
    }
}
