// The inspector's barcode page in the main window: its button runs the barcode window on the
// current object and gives the other selected barcodes the settings changed there; saved designs
// render barcodes that ZXingReader reads back.
#include "BarcodeWindowDriver.h"
#include "editor/ui/MainWindowFixture.h"

#include "barcode/BarcodeSettings.h"
#include "data/SeriesFiles.h"
#include "editor/ui/FileCommands.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ColorWell.h"
#include "model/EditStep.h"
#include "model/SKTBarcode.h"
#include "output/OutputCheck.h"
#include "output/RunPlan.h"
#include "panels/ui/BarcodePanel.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "platform/UndoManager.h"
#include "support/TestSupport.h"

#include <QImage>

using namespace barcodedriver;

class BarcodePanelTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        panel = &window->inspector().barcodePanel();
    }

    // A barcode made with the tool, placed near the card's corner.
    std::shared_ptr<SKTBarcode> addBarcode()
    {
        clickTool(10);
        auto b = std::dynamic_pointer_cast<SKTBarcode>(front().first()); // new objects go in front
        EXPECT_TRUE(b);
        if (b)
            b->setBounds(QRectF(8, 8, 120, 60));
        return b;
    }
    // The window the registry made, scripted for one run.
    void script(std::function<void(Barcode_Gen &)> steps, bool ok = true)
    {
        modalScripts.push_back([steps, ok](QDialog &dialog) {
            auto &gen = static_cast<Barcode_Gen &>(dialog);
            steps(gen);
            (ok ? gen.ok_button : gen.cancel_button)->click();
            return gen.result();
        });
    }

    BarcodePanel *panel = nullptr;
};

TEST_F(BarcodePanelTest, OkGivesEveryChangedSettingToTheOtherBarcodesAndLeavesATextAlone)
{
    clickTool(2);
    const GraphicPtr text = front().first();
    const GraphicPtr textBefore = text->clone();
    const auto other = addBarcode();
    const auto barcode = addBarcode();
    ASSERT_TRUE(barcode && other);
    canvas(0)->changeSelectionIndexes({0, 1, 2});
    canvas(0)->setSelectedGraphic(barcode);

    // Every setting the window keeps is moved away from its start value.
    script([this](Barcode_Gen &w) {
        chooseType(w, QStringLiteral("QR Code"));
        QTest::keyClick(w.HeightText_2D, Qt::Key_Up);
        choose(w.qr_version_ComboBox, QStringLiteral("V3"));
        choose(w.qr_ec_lvl_ComboBox, QStringLiteral("M"));
        choose(w.DPI_ComboBox, QStringLiteral("Custom"));
        typeNumber(w.dpi_Text, QStringLiteral("300"));
        chooseType(w, QStringLiteral("PDF417"));
        for (StepperField *f : {w.pdf_HeightText_2D, w.Pdf_widthText_2D, w.pdf_ec_lvl_Text})
            QTest::keyClick(f, Qt::Key_Up);
        chooseType(w, QStringLiteral("DataMatrix"));
        QTest::keyClick(w.dm_moduleText_2D, Qt::Key_Up);
        choose(w.dm_format_ComboBox, QStringLiteral("C12X12"));
        choose(w.dm_encoding_ComboBox, QStringLiteral("Ascii"));
        retype(w.dataText_2D, QStringLiteral("2D VALUE"));
        chooseType(w, QStringLiteral("Code 128"));
        retype(w.dataText, QStringLiteral("GUEST 7"));
        retype(w.HeaderText, QStringLiteral("Top"));
        retype(w.FooterText, QStringLiteral("Bottom"));
        for (QCheckBox *box :
             {w.showinTopCheckbox, w.hideHeaderCheckbox, w.hideFooterCheckbox, w.captionCheckbox})
            toggle(box);
        choose(w.align_hdr_combo, QStringLiteral("Left"));
        choose(w.align_ftr_combo, QStringLiteral("Right"));
        for (StepperField *f : {w.HeightText, w.widthText, w.val_mar_Text, w.hdr_mar_Text, w.ftr_mar_Text,
                                w.TB_mar_Text, w.LR_mar_Text})
            QTest::keyClick(f, Qt::Key_Up);
        choosers.nextFont = QFont(QStringLiteral("Liberation Sans"), 12);
        for (QPushButton *b : {w.val_font_btn, w.hdr_font_btn, w.ftr_font_btn})
            QTest::mouseClick(b, Qt::LeftButton);
        choosers.nextColor = QColor(20, 40, 60);
        for (ColorWell *c : {w.barcode_clr, w.bar_val_clr, w.bar_hdr_clr, w.bar_ftr_clr})
            QTest::mouseClick(c, Qt::LeftButton);
        choosers.nextColor = QColor(250, 250, 235);
        QTest::mouseClick(w.bar_back_clr, Qt::LeftButton);
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    ASSERT_EQ(modalTitles, QStringList{QStringLiteral("Barcode Properties")});

    EXPECT_EQ(decodeStoredPicture(*barcode, QStringLiteral("barcode-panel.png")), QStringLiteral("GUEST 7"));
    SKTBarcode fresh;
    int changed = 0;
#define SAME_FIELD(f)                                                                                        \
    do {                                                                                                     \
        EXPECT_EQ(other->f, barcode->f) << #f;                                                               \
        changed += barcode->f != fresh.f ? 1 : 0;                                                            \
    } while (false)
    SAME_FIELD(linear_or_2d);
    SAME_FIELD(barcode_font_index);
    SAME_FIELD(linear_font_val);
    // The 2-D value typed before Code 128 was chosen stays in the window's barcode: the other keeps
    // its own, which its type does not show.
    changed += barcode->two_d_font_val != fresh.two_d_font_val ? 1 : 0;
    EXPECT_EQ(other->two_d_font_val, fresh.two_d_font_val);
    SAME_FIELD(header_val);
    SAME_FIELD(footer_val);
    SAME_FIELD(show_hide_hdr);
    SAME_FIELD(show_hide_ftr);
    SAME_FIELD(show_hide_val);
    SAME_FIELD(show_val_on_top);
    SAME_FIELD(align_hdr_index);
    SAME_FIELD(align_ftr_index);
    SAME_FIELD(linear_height_val);
    SAME_FIELD(linear_width_val);
    SAME_FIELD(qr_size_val);
    SAME_FIELD(qr_version_index);
    SAME_FIELD(qr_ec_index);
    SAME_FIELD(pdf_hgt_val);
    SAME_FIELD(pdf_wdt_val);
    SAME_FIELD(pdf_ec_val);
    SAME_FIELD(dm_module_val);
    SAME_FIELD(dm_format_index);
    SAME_FIELD(dm_encoding_index);
    SAME_FIELD(hdr_margin_val);
    SAME_FIELD(ftr_margin_val);
    SAME_FIELD(val_margin_val);
    SAME_FIELD(TB_marging_val);
    SAME_FIELD(LR_margin_val);
    SAME_FIELD(value_font_val);
    SAME_FIELD(header_font_val);
    SAME_FIELD(footer_font_val);
    SAME_FIELD(barcode_hdr_clr_val);
    SAME_FIELD(barcode_ftr_clr_val);
    SAME_FIELD(barcode_val_clr_val);
    SAME_FIELD(barcode_back_clr_val);
    SAME_FIELD(barcode_clr_val);
    SAME_FIELD(dpi_val_index);
    SAME_FIELD(dpi_custom_val);
#undef SAME_FIELD
    EXPECT_EQ(changed, 37); // all but the linear kind, which Code 128 shares with the start
    EXPECT_EQ(barcode->align_hdr_index, 0);
    EXPECT_EQ(barcode->align_ftr_index, 2); // the footer's own choice, not the header's
    EXPECT_EQ(decodeStoredPicture(*other, QStringLiteral("barcode-panel-second.png")),
              QStringLiteral("GUEST 7"));
    EXPECT_TRUE(GraphicStates::sameState(*text, *textBefore));
}

TEST_F(BarcodePanelTest, OverSeveralBarcodesTheWindowSaysSoAndPassesOnlyWhatTheUserChanged)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    const auto locked = addBarcode();
    const auto second = addBarcode();
    const auto first = addBarcode();
    ASSERT_TRUE(locked && second && first);
    first->linear_font_val = QStringLiteral("GIFT-2026");
    second->linear_font_val = QStringLiteral("0123");
    second->linear_height_val = 0.8f;
    second->barcode_clr_val = QColor(0, 0, 120);
    locked->linear_font_val = QStringLiteral("LOCKED");
    locked->ctrl_is_locked = true;
    const GraphicPtr lockedBefore = locked->clone();
    canvas(0)->changeSelectionIndexes({0, 1, 2});
    canvas(0)->setSelectedGraphic(first);
    QCoreApplication::processEvents();
    const QByteArray saved = savedDesign();
    double height = 0;
    QString note;
    script([&](Barcode_Gen &w) {
        note = w.selection_label->isVisibleTo(&w) ? w.selection_label->text() : QString();
        QTest::keyClick(w.HeightText, Qt::Key_Up);
        height = w.HeightText->value();
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    QCoreApplication::processEvents();

    EXPECT_TRUE(note.startsWith(QStringLiteral("2 barcodes are selected"))) << note.toStdString();
    for (const auto &b : {first, second})
        EXPECT_FLOAT_EQ(b->linear_height_val, float(height));
    EXPECT_EQ(first->linear_font_val, QStringLiteral("GIFT-2026"));
    EXPECT_EQ(second->linear_font_val, QStringLiteral("0123"));
    EXPECT_EQ(second->barcode_clr_val, QColor(0, 0, 120));
    EXPECT_EQ(decodeStoredPicture(*second, QStringLiteral("barcode-panel-kept-value.png")),
              QStringLiteral("0123"));
    EXPECT_TRUE(GraphicStates::sameState(*locked, *lockedBefore));
    canvas(0)->undo();
    EXPECT_EQ(savedDesign(), saved);

    // One barcode alone: the window says nothing of others.
    canvas(0)->changeSelectionIndexes({0});
    canvas(0)->setSelectedGraphic(first);
    script([&](Barcode_Gen &w) {
        note = w.selection_label->isVisibleTo(&w) ? w.selection_label->text() : QString();
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    EXPECT_EQ(note, QString());
}

TEST_F(BarcodePanelTest, ATypeChosenOverDifferingBarcodesGivesEachThatTypeAndItsOwnValue)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    struct Start {
        const char *title;
        const char *value;
    };
    const Start starts[] = {{"QR Code", "AAA111"}, {"Code 128", "BBB222"}, {"PDF417", "CCC333"}};
    QList<std::shared_ptr<SKTBarcode>> barcodes;
    for (const Start &start : starts) {
        const auto b = addBarcode();
        ASSERT_TRUE(b);
        const QString title = QString::fromLatin1(start.title);
        const bool twoD = BarcodeSettings::isTwoDTitle(title);
        b->linear_or_2d = twoD ? 1 : 0;
        b->barcode_font_index =
            int((twoD ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles()).indexOf(title));
        (twoD ? b->two_d_font_val : b->linear_font_val) = QString::fromLatin1(start.value);
        barcodes.prepend(b); // new objects go in front
    }
    auto typeOf = [](const SKTGraphic &b) {
        return BarcodeSettings::titleForIndex(b.linear_or_2d, b.barcode_font_index);
    };
    canvas(0)->changeSelectionIndexes({0, 1, 2});
    // The window opened on one barcode, the type chosen there, OK: each barcode takes that type and
    // reads back its own value.
    const struct {
        int current;
        const char *type;
    } choices[] = {{2, "Code 39"}, {1, "QR Code"}, {0, "Code 128"}, {2, "DataMatrix"}};
    for (const auto &choice : choices) {
        const QString type = QString::fromLatin1(choice.type);
        SCOPED_TRACE(choice.type);
        canvas(0)->setSelectedGraphic(barcodes.at(choice.current));
        script([type](Barcode_Gen &w) { chooseType(w, type); });
        QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
        QCoreApplication::processEvents();
        for (int i = 0; i < 3; ++i) {
            const QString value = QString::fromLatin1(starts[2 - i].value);
            EXPECT_EQ(typeOf(*barcodes.at(i)), type) << i;
            EXPECT_EQ(decodeStoredPicture(*barcodes.at(i), QStringLiteral("barcode-type-%1.png").arg(i)),
                      value)
                << i;
        }
    }
}

TEST_F(BarcodePanelTest, ANewBarcodeIsDrawnFromItsOwnSettingsFromTheStart)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    clickTool(10);
    const auto barcode = std::dynamic_pointer_cast<SKTBarcode>(front().first());
    ASSERT_TRUE(barcode);
    ASSERT_TRUE(barcode->_barcode_image.has_value());
    EXPECT_EQ(barcode->bounds().size(), barcode->_barcode_image->size());
    const SKTBarcode fresh;
    EXPECT_EQ(BarcodeSettings::titleForIndex(barcode->linear_or_2d, barcode->barcode_font_index),
              QStringLiteral("Code 39"));
    EXPECT_EQ(decodeStoredPicture(*barcode, QStringLiteral("barcode-new.png")), *fresh.linear_font_val);
}

TEST_F(BarcodePanelTest, EverySelectedBarcodeGetsThePictureOfItsNewSettingsInTheOneStep)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    const auto other = addBarcode();
    ASSERT_TRUE(other);
    other->setBounds(QRectF(170, 100, 60, 30)); // a QR Code from here must move inward to stay on the card
    canvas(0)->changeSelectionIndexes({0});
    canvas(0)->setSelectedGraphic(other);
    script([](Barcode_Gen &w) { retype(w.dataText, QStringLiteral("OLD-2")); });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    const QRectF otherFrame = other->bounds();
    const auto edited = addBarcode();
    ASSERT_TRUE(edited);
    QCoreApplication::processEvents(); // earlier steps close
    UndoManager &undo = window->document().undoManager();
    const int steps = undo.undoCount();

    canvas(0)->changeSelectionIndexes({0, 1});
    canvas(0)->setSelectedGraphic(edited);
    script([](Barcode_Gen &w) {
        chooseType(w, QStringLiteral("QR Code"));
        retype(w.dataText_2D, QStringLiteral("https://example.com/both"));
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    QCoreApplication::processEvents();

    const QRectF card(QPointF(0, 0), canvas(0)->cardSize());
    for (const auto &b : {edited, other}) {
        ASSERT_TRUE(b->_barcode_image);
        EXPECT_EQ(b->bounds().size(), b->_barcode_image->size());
        EXPECT_TRUE(card.contains(b->bounds()));
    }
    EXPECT_EQ(decodeStoredPicture(*other, QStringLiteral("barcode-panel-other.png")),
              QStringLiteral("https://example.com/both"));
    EXPECT_EQ(undo.undoCount(), steps + 1);
    canvas(0)->undo();
    EXPECT_EQ(other->bounds(), otherFrame);
    EXPECT_EQ(decodeStoredPicture(*other, QStringLiteral("barcode-panel-other-undone.png")),
              QStringLiteral("OLD-2"));
}

TEST_F(BarcodePanelTest, CancelAndAMissingCurrentObjectChangeNothing)
{
    const auto barcode = addBarcode();
    ASSERT_TRUE(barcode);
    // A new barcode shows its page in the inspector, with the button on it.
    EXPECT_TRUE(window->inspectorTabs().isShown(InspectorTabs::barcode_tab));
    EXPECT_TRUE(
        window->inspectorTabs().page(InspectorTabs::barcode_tab)->isAncestorOf(panel->barcode_prop_btn));
    canvas(0)->changeSelectionIndexes({0});
    canvas(0)->setSelectedGraphic(barcode);
    const QString before = barcode->linear_font_val.value_or(QString());
    script([](Barcode_Gen &w) { retype(w.dataText, QStringLiteral("DROPPED")); }, false);
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    EXPECT_EQ(modalTitles.size(), 1);
    EXPECT_EQ(barcode->linear_font_val, before);

    canvas(0)->setSelectedGraphic(nullptr);
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    EXPECT_EQ(modalTitles.size(), 1); // no window without a current object
}

TEST_F(BarcodePanelTest, SavedBarcodesOfEveryKindRenderAndDecode)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    struct Case {
        const char *title;
        const char *value;
        const char *artifact;
    };
    const Case cases[] = {
        {"Code 128", "T-128", "barcode-card-code128.png"},
        {"EAN-13", "5901234123457", "barcode-card-ean13.png"},
        {"QR Code", "https://example.com/q/5", "barcode-card-qr.png"},
        {"PDF417", "Card 417", "barcode-card-pdf417.png"},
        {"DataMatrix", "DM-2026", "barcode-card-datamatrix.png"},
    };
    const auto barcode = addBarcode();
    ASSERT_TRUE(barcode);
    canvas(0)->changeSelectionIndexes({0});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        canvas(0)->setSelectedGraphic(barcode);
        const QString title = QString::fromLatin1(c.title), value = QString::fromLatin1(c.value);
        script([title, value](Barcode_Gen &w) {
            chooseType(w, title);
            retype(w.liner_or_2D_font != 0 ? static_cast<QWidget *>(w.dataText_2D) : w.dataText, value);
        });
        QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
        ASSERT_TRUE(barcode->_barcode_image.has_value());
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        if (title == QLatin1String("DataMatrix"))
            barcode->_barcode_image->toImage(600, Qt::white)
                .save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/barcode-datamatrix.png"));

        const QString design = tempPath(QStringLiteral("card-%1.dcard").arg(c.artifact));
        files.answers.push_back(design);
        ASSERT_TRUE(window->fileCommands().Save_project_file(true, false).ok());
        const QString png = QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + QString::fromLatin1(c.artifact);
        const auto rendered = testsupport::cardtool(
            {"render", design, "--side", "front", "--format", "png", "--dpi", "600", "--out", png});
        ASSERT_EQ(rendered.exitCode, 0) << rendered.errText().toStdString();
        // ZXingReader reads the card's corner where the barcode is drawn: its Data Matrix finder
        // misses a small symbol on a whole card at this resolution.
        const QImage card(png);
        const QRectF area =
            QRectF(barcode->bounds().topLeft(), barcode->_barcode_image->size()).adjusted(-8, -8, 8, 8);
        const double scale = 600.0 / 72.0;
        const QRect pixels = QRect(int(area.x() * scale), int(area.y() * scale), int(area.width() * scale),
                                   int(area.height() * scale))
                                 .intersected(card.rect());
        const QString corner = tempPath(QStringLiteral("corner-%1").arg(c.artifact));
        ASSERT_TRUE(card.copy(pixels).save(corner));
        EXPECT_EQ(zxingText(corner), value);
    }
}

namespace
{
// Gives a barcode a type and the value of that type's kind.
void makeBarcode(SKTBarcode &b, const QString &title, const QString &value, const QRectF &frame)
{
    const bool twoD = BarcodeSettings::isTwoDTitle(title);
    b.linear_or_2d = twoD ? 1 : 0;
    b.barcode_font_index =
        int((twoD ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles()).indexOf(title));
    (twoD ? b.two_d_font_val : b.linear_font_val) = value;
    b.setBounds(frame);
}

QString typeOf(const SKTGraphic &b)
{
    return BarcodeSettings::titleForIndex(b.linear_or_2d, b.barcode_font_index);
}

QString valueOf(const SKTGraphic &b)
{
    return (b.linear_or_2d != 0 ? b.two_d_font_val : b.linear_font_val).value_or(QString());
}
} // namespace

TEST_F(BarcodePanelTest, ATypeOverMixedBarcodesKeepsEachOwnValueAndLeavesOneItCannotHoldItsOwnType)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    const auto qr = addBarcode();
    const auto code128 = addBarcode();
    const auto code39 = addBarcode();
    ASSERT_TRUE(qr && code128 && code39);
    makeBarcode(*code39, QStringLiteral("Code 39"), QStringLiteral("ABC"), QRectF(8, 8, 60, 30));
    makeBarcode(*code128, QStringLiteral("Code 128"), QStringLiteral("5901234123457"), QRectF(8, 80, 60, 30));
    makeBarcode(*qr, QStringLiteral("QR Code"), QStringLiteral("Hello QR"), QRectF(150, 8, 60, 60));
    canvas(0)->changeSelectionIndexes({0, 1, 2});
    canvas(0)->setSelectedGraphic(code39);
    QString shownType, placeholder, note;
    script([&](Barcode_Gen &w) {
        shownType = w.barcodeTypePopup->currentText();
        placeholder = w.barcodeTypePopup->placeholderText();
        chooseType(w, QStringLiteral("EAN-13"));
        note = w.barcode_note_label->isHidden() ? QString() : w.barcode_note_label->text();
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    QCoreApplication::processEvents();

    // The list showed no one barcode's type as the selection's.
    EXPECT_EQ(shownType, QString());
    EXPECT_EQ(placeholder, QStringLiteral("Mixed types"));
    // The window named the stand-in it put in place of "ABC", and the barcode EAN-13 cannot hold.
    EXPECT_TRUE(note.contains(QStringLiteral("\"ABC\" cannot be drawn as EAN-13"))) << note.toStdString();
    EXPECT_TRUE(note.contains(QStringLiteral("QR Code \"Hello QR\". It keeps its own type and value")))
        << note.toStdString();
    EXPECT_FALSE(note.contains(QStringLiteral("5901234123457"))) << note.toStdString();
    for (const auto &b : {code39, code128})
        EXPECT_EQ(typeOf(*b), QStringLiteral("EAN-13"));
    EXPECT_EQ(valueOf(*code128), QStringLiteral("5901234123457"));
    EXPECT_EQ(decodeStoredPicture(*code128, QStringLiteral("barcode-mixed-ean.png")),
              QStringLiteral("5901234123457"));
    // The QR Code stays one, and its picture is the one its stored type and value make.
    EXPECT_EQ(typeOf(*qr), QStringLiteral("QR Code"));
    EXPECT_EQ(valueOf(*qr), QStringLiteral("Hello QR"));
    const QString qrPicture = QStringLiteral(TESSALY_ARTIFACTS_DIR "/barcode-mixed-qr.png");
    ASSERT_TRUE(qr->_barcode_image);
    ASSERT_TRUE(qr->_barcode_image->toImage(600, Qt::white).save(qrPicture));
    const auto read = testsupport::output(QStringLiteral("zbarimg"), {"--nodbus", "-q", qrPicture});
    EXPECT_EQ(read.trimmed(), QStringLiteral("QR-Code:Hello QR"));
    // The check finds it made as what it stores (it may name it as covered by the one grown over it).
    const OutputCheck::Report report = OutputCheck::check(*RunPlan::make(window->document().design()));
    for (const QString &line : report.text().split(QLatin1Char('\n')))
        EXPECT_FALSE(line.contains(QStringLiteral("Hello QR")) &&
                     line.contains(QStringLiteral("cannot be made")))
            << line.toStdString();

    // Mixed again, the edited barcode's own type chosen goes to the other one too.
    makeBarcode(*code128, QStringLiteral("Code 128"), QStringLiteral("4006381333931"), QRectF(8, 80, 60, 30));
    canvas(0)->changeSelectionIndexes({0, 1});
    canvas(0)->setSelectedGraphic(code39);
    script([&](Barcode_Gen &w) {
        shownType = w.barcodeTypePopup->currentText();
        chooseType(w, QStringLiteral("EAN-13"));
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    EXPECT_EQ(shownType, QString());
    EXPECT_EQ(typeOf(*code128), QStringLiteral("EAN-13"));
    EXPECT_EQ(valueOf(*code128), QStringLiteral("4006381333931"));

    // Mixed and left so, OK keeps every barcode's own type.
    makeBarcode(*code128, QStringLiteral("Code 128"), QStringLiteral("OWN-128"), QRectF(8, 80, 60, 30));
    script([&](Barcode_Gen &w) { typeNumber(w.HeightText, QStringLiteral("1.2")); });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    EXPECT_EQ(typeOf(*code39), QStringLiteral("EAN-13"));
    EXPECT_EQ(typeOf(*code128), QStringLiteral("Code 128"));
    EXPECT_FLOAT_EQ(code128->linear_height_val, 1.2f);
}

TEST_F(BarcodePanelTest, ASourceChosenOverSeveralBarcodesBindsEachOfThem)
{
    ASSERT_TRUE(SeriesFiles::writeSeries(Data_Folder_Path, QStringLiteral("Numbers"),
                                         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                                         true)
                    .ok());
    const auto second = addBarcode();
    const auto first = addBarcode();
    ASSERT_TRUE(second && first);
    makeBarcode(*first, QStringLiteral("Code 128"), QStringLiteral("FIRST"), QRectF(8, 8, 60, 30));
    makeBarcode(*second, QStringLiteral("QR Code"), QStringLiteral("SECOND"), QRectF(8, 80, 60, 60));
    canvas(0)->changeSelectionIndexes({0, 1});
    canvas(0)->setSelectedGraphic(first);
    script([](Barcode_Gen &w) {
        choose(w.Data_source_type, QStringLiteral("Series"));
        choose(w.Batch_Series, QStringLiteral("Numbers"));
    });
    QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
    for (const auto &b : {first, second}) {
        EXPECT_EQ(b->data_source_type, DataSourceCode::Series);
        EXPECT_EQ(b->batch_list_name_val(), QStringLiteral("Numbers"));
    }
    // Every card's barcodes read that card's number.
    RunPlan::Folders folders = RunPlan::Folders::current();
    const auto plan = RunPlan::make(window->document().design(), RunPlan::Choices{}, folders);
    ASSERT_EQ(plan->outputCount(), 3);
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(plan->valueOf(false, i, row), QString::number(row + 1)) << row << "," << i;
}

TEST_F(BarcodePanelTest, AGrowingFrameIsNeverMovedOntoAnotherObjectAndOneThatMustCoverIsNamed)
{
    const QRectF card(QPointF(0, 0), canvas(0)->cardSize());
    const struct {
        const char *what;
        QRectF other;      // a text's frame; empty for none
        bool onCard;       // the barcode ends whole on the card
        const char *named; // in the message after OK; "" for no message
    } cases[] = {
        {"room to move inward", QRectF(), true, ""},
        {"inward lies a text", QRectF(140, 95, 40, 20), false,
         "runs off the card: moved onto it, it would cover the text \"Beside\""},
        {"a text where it grows and where it would move", QRectF(205, 120, 20, 20), true,
         "now covers the text \"Beside\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QList<int> all;
        for (int i = 0; i < front().size(); ++i)
            all << i;
        window->document().removeGraphicsAtIndexes(all);
        GraphicPtr text;
        if (!c.other.isEmpty()) {
            clickTool(2);
            text = front().first();
            text->Text_contents().text = QStringLiteral("Beside");
            text->setBounds(c.other);
        }
        const auto barcode = addBarcode();
        ASSERT_TRUE(barcode);
        // Its frame alone, no picture drawn past it yet, stands clear of the text.
        barcode->Set_Barcode_image(std::nullopt);
        barcode->setBounds(QRectF(190, 90, 40, 30));
        canvas(0)->changeSelectionIndexes({0});
        canvas(0)->setSelectedGraphic(barcode);
        messages.clear();
        script([](Barcode_Gen &w) {
            chooseType(w, QStringLiteral("QR Code"));
            retype(w.dataText_2D, QStringLiteral("https://example.com/room"));
        });
        QTest::mouseClick(panel->barcode_prop_btn, Qt::LeftButton);
        ASSERT_TRUE(barcode->_barcode_image);
        EXPECT_EQ(barcode->bounds().size(), barcode->_barcode_image->size());
        EXPECT_EQ(card.contains(barcode->bounds()), c.onCard)
            << barcode->bounds().x() << "," << barcode->bounds().y();
        if (!c.onCard) {
            EXPECT_EQ(barcode->bounds().topLeft(), QPointF(190, 90));
        }
        const QString named = QString::fromUtf8(c.named);
        const QStringList said = shown();
        EXPECT_TRUE(named.isEmpty() ? said.isEmpty() : said.size() == 1 && said.first().contains(named))
            << said.join(QLatin1Char('|')).toStdString() << " at " << barcode->bounds().x() << ","
            << barcode->bounds().y();
    }
}
