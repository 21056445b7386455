// The barcode properties window driven as a user would: its defaults, the symbology change, the
// size floors, fonts, colours and placement, the preview levels, help texts, and OK and Cancel.
#include "BarcodeWindowDriver.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/SymbolDecoder.h"
#include "barcode/ui/BarcodeControls.h"
#include "foundation/FoundationState.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "model/SKTBarcode.h"

#include <QCoreApplication>
#include <QSet>
#include <QToolButton>

using namespace barcodedriver;

class BarcodeWindow : public testsupport::WindowFixture
{
protected:
    // Opens the window over object, takes the user's steps in it and presses OK: what OK gave.
    std::optional<Picture> acceptedAfter(Barcode_Gen &window, SKTBarcode &object,
                                         const std::function<void()> &steps)
    {
        modalScripts.push_back([&](QDialog &) {
            steps();
            window.ok_button->click();
            return window.result();
        });
        return window.Open_Wnd(object);
    }
};

TEST_F(BarcodeWindow, StartsWithTheDefaultSettingsInCentimetres)
{
    Barcode_Gen window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Barcode Properties"));
    // The titles the window's code compares, linear first.
    EXPECT_EQ(itemsOf(window.barcodeTypePopup), (QStringList{"Code 39",
                                                             "Extended Code 39",
                                                             "Interleaved 2 of 5",
                                                             "UPCA",
                                                             "PostNet",
                                                             "Modified Plessey",
                                                             "Modified Plessey (Hex)",
                                                             "Industrial 2 of 5",
                                                             "EAN-13",
                                                             "Code 128",
                                                             "Code 128 SET A",
                                                             "Code 128 SET B",
                                                             "Code 128 SET C",
                                                             "Codabar",
                                                             "UPCE",
                                                             "EAN-8",
                                                             "Royal Mail Barcode (RM4SCC / CBC)",
                                                             "Planet",
                                                             "Japan Post Barcode",
                                                             "QR Code",
                                                             "PDF417",
                                                             "DataMatrix"}));
    EXPECT_EQ(window.dataText->text(), QStringLiteral("0123"));
    EXPECT_EQ(window.dataText_2D->toPlainText(), QStringLiteral("0123"));
    EXPECT_EQ(window.HeaderText->text(), QStringLiteral("HEADER"));
    EXPECT_EQ(window.FooterText->text(), QStringLiteral("FOOTER"));
    EXPECT_EQ(window.HeightText_2D->value(), 60);
    for (StepperField *m : {window.val_mar_Text, window.hdr_mar_Text, window.ftr_mar_Text, window.TB_mar_Text,
                            window.LR_mar_Text})
        EXPECT_DOUBLE_EQ(m->value(), 0.1);
    EXPECT_EQ(window.align_hdr_combo->currentIndex(), 1);
    EXPECT_EQ(window.align_ftr_combo->currentIndex(), 1);
    for (const FontDescriptor &f : {window.value_font, window.header_font, window.footer_font}) {
        EXPECT_EQ(f.postScriptName, QStringLiteral("TimesNewRomanPSMT"));
        EXPECT_EQ(f.size, 10.0);
    }
    EXPECT_EQ(window.value_font_value->text(), QStringLiteral("Liberation Serif ( 10.00 )"));
    EXPECT_EQ(window.settings().dpi, 600); // "Auto"
    EXPECT_EQ(window.barHeightLabel->text(), QStringLiteral("Bar Height (cm):"));
    EXPECT_EQ(window.barWidthLabel->text(), QStringLiteral("Bar Width (Mils):"));
    EXPECT_EQ(window.margin_box->title(), QStringLiteral("Margins (cm)"));
    EXPECT_EQ(window.sett_tab->count(), 3); // no resolution tab for linear symbols
    EXPECT_FALSE(window.previewPicture().isNull());
}

TEST_F(BarcodeWindow, SymbologyChangesSwitchLayoutTabsAndKerning)
{
    Barcode_Gen window;
    window.dataText->clear();
    chooseType(window, QStringLiteral("QR Code"));
    EXPECT_EQ(messages.messages(), QStringList{QStringLiteral("Please enter barcode value")});
    EXPECT_TRUE(window.previewPicture().isNull());
    EXPECT_FALSE(window.barcode_error_label->isHidden());
    ASSERT_EQ(window.sett_tab->count(), 4);
    EXPECT_EQ(window.sett_tab->widget(3), window.dpi_tab_item);
    EXPECT_EQ(window.sett_tab->tabText(3), QStringLiteral("Resolution"));
    EXPECT_EQ(window.barHeightLabel->text(), QStringLiteral("Bar Height :"));
    EXPECT_EQ(window.barWidthLabel->text(), QStringLiteral("Bar Width :"));
    EXPECT_TRUE(window.linear_sett_box->isHidden());
    EXPECT_FALSE(window.two_d_sett_box->isHidden());
    EXPECT_TRUE(window.barcode_clr->isHidden()); // bar colours belong to linear symbols

    retype(window.dataText_2D, QStringLiteral("0123"));
    window.sett_tab->setCurrentIndex(3);
    chooseType(window, QStringLiteral("Code 128"));
    EXPECT_EQ(window.sett_tab->count(), 3);
    EXPECT_EQ(window.sett_tab->currentIndex(), 0);
    EXPECT_FALSE(window.previewPicture().isNull()); // the value "0123" is drawn as Code 128
    EXPECT_TRUE(window.barcode_error_label->isHidden());
    EXPECT_TRUE(window.kerning_value_Checkbox->isEnabled());

    retype(window.dataText, QStringLiteral("012345678905"));
    for (const char *title : {"EAN-13", "EAN-8", "UPCA", "UPCE"}) {
        chooseType(window, QStringLiteral("Code 39"));
        EXPECT_TRUE(window.kerning_value_Checkbox->isEnabled());
        chooseType(window, QString::fromLatin1(title));
        EXPECT_FALSE(window.kerning_value_Checkbox->isEnabled()) << title;
    }
    // With no value the box stays usable: the change ends at the message.
    window.dataText->clear();
    chooseType(window, QStringLiteral("EAN-13"));
    EXPECT_TRUE(window.kerning_value_Checkbox->isEnabled());
}

// One window serves every opening: the type chosen in one says nothing of the next barcode's Spread
// value, which is offered, and kept at OK, by the barcode's own type.
TEST_F(BarcodeWindow, SpreadValueFollowsTheTypeOfEachBarcodeOpened)
{
    Barcode_Gen window;
    const struct {
        const char *visited;
        const char *type;
        const char *value;
        bool spreads;
    } cases[] = {
        {"EAN-13", "Code 39", "HELLO", true},
        {"UPCE", "Code 128", "TESS-42", true},
        {"Code 39", "EAN-13", "590123412345", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        SKTBarcode before;
        ASSERT_TRUE(
            acceptedAfter(window, before, [&] { chooseType(window, QString::fromLatin1(c.visited)); }));
        SKTBarcode object;
        object.linear_or_2d = 0;
        object.barcode_font_index = int(BarcodeSettings::linearTitles().indexOf(QString::fromLatin1(c.type)));
        object.linear_font_val = QString::fromLatin1(c.value);
        object.kerning_value = 1;
        bool offered = !c.spreads;
        ASSERT_TRUE(
            acceptedAfter(window, object, [&] { offered = window.kerning_value_Checkbox->isEnabled(); }));
        EXPECT_EQ(offered, c.spreads);
        EXPECT_EQ(object.kerning_value, c.spreads ? 1 : 0);
    }
}

TEST_F(BarcodeWindow, ControlsKeepTheirPlacesWhateverTheSymbol)
{
    Barcode_Gen window;
    window.show();
    QWidget *const fixed[] = {window.barcodeTypePopup, window.Data_source_type, window.Batch_Series,
                              window.view_series_btn,  window.sett_tab,         window.ok_button,
                              window.cancel_button};
    const auto places = [&] {
        QCoreApplication::processEvents();
        QList<QRect> rects;
        for (QWidget *w : fixed)
            rects << QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
        return rects;
    };
    chooseType(window, QStringLiteral("Code 128"));
    const QList<QRect> linear = places();
    saveArtifact(&window, QStringLiteral("barcode-window-code128.png"));
    for (const char *title : {"QR Code", "PDF417", "DataMatrix", "Code 128"}) {
        chooseType(window, QString::fromLatin1(title));
        EXPECT_EQ(places(), linear) << title;
        if (qstrcmp(title, "QR Code") == 0)
            saveArtifact(&window, QStringLiteral("barcode-window-qrcode.png"));
    }
    // A click where the data source was lands on it still.
    chooseType(window, QStringLiteral("QR Code"));
    const QPoint source = linear.at(1).center();
    EXPECT_TRUE(window.childAt(source) == window.Data_source_type ||
                window.Data_source_type->isAncestorOf(window.childAt(source)));
}

TEST_F(BarcodeWindow, QrVersionAndDataMatrixFormatRaiseTheirSizeFloors)
{
    Barcode_Gen window;
    chooseType(window, QStringLiteral("QR Code"));
    typeNumber(window.HeightText_2D, QStringLiteral("30"));
    EXPECT_EQ(window.HeightText_2D->value(), 30);
    choose(window.qr_version_ComboBox, QStringLiteral("V5"));
    EXPECT_EQ(window.HeightText_2D->value(), 37);
    EXPECT_EQ(window.HeightText_2D->minimum(), 37);
    choose(window.qr_version_ComboBox, QStringLiteral("Auto"));
    EXPECT_EQ(window.HeightText_2D->minimum(), 21);
    EXPECT_EQ(window.HeightText_2D->value(), 37); // a size above the floor is left alone
    EXPECT_FALSE(window.previewPicture().isNull());

    chooseType(window, QStringLiteral("DataMatrix"));
    EXPECT_FALSE(window.dm_2d_sett_box->isHidden());
    EXPECT_TRUE(window.two_d_sett_box->isHidden());
    typeNumber(window.dm_widthText_2D, QStringLiteral("40"));
    typeNumber(window.dm_HeightText_2D, QStringLiteral("40"));
    choose(window.dm_format_ComboBox, QStringLiteral("C16X48"));
    EXPECT_EQ(window.dm_widthText_2D->value(), 96);
    EXPECT_EQ(window.dm_HeightText_2D->value(), 40); // 32 needed: sizes only grow
    choose(window.dm_format_ComboBox, QStringLiteral("Auto"));
    EXPECT_EQ(window.dm_widthText_2D->value(), 96);
}

TEST_F(BarcodeWindow, CustomResolutionCountsFromTheNextPictureOn)
{
    Barcode_Gen window;
    chooseType(window, QStringLiteral("QR Code"));
    window.sett_tab->setCurrentIndex(3);
    EXPECT_TRUE(window.dpi_Text->isHidden());
    const qint64 shown = window.barcodeImage->pixmap().cacheKey();
    choose(window.DPI_ComboBox, QStringLiteral("Custom"));
    EXPECT_FALSE(window.dpi_Text->isHidden());
    typeNumber(window.dpi_Text, QStringLiteral("300"));
    EXPECT_EQ(window.USED_DPI_VALUE, 300);
    EXPECT_EQ(window.settings().dpi, 300);
    EXPECT_EQ(window.barcodeImage->pixmap().cacheKey(), shown); // no new preview
    choose(window.DPI_ComboBox, QStringLiteral("150"));
    EXPECT_EQ(window.USED_DPI_VALUE, 150);
    EXPECT_TRUE(window.dpi_Text->isHidden());
    choose(window.DPI_ComboBox, QStringLiteral("Auto"));
    EXPECT_EQ(window.USED_DPI_VALUE, 600);
}

TEST_F(BarcodeWindow, TwoDSymbolsTakeTextBeyondAsciiAndLinearOnesSayWhyNot)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    for (const char *type : {"QR Code", "PDF417", "DataMatrix"}) {
        for (const QString &value : {QStringLiteral("Zo\u00eb"), QStringLiteral("Zo\u00eb Stra\u00dfe")}) {
            SCOPED_TRACE(std::string(type) + " " + value.toStdString());
            SKTBarcode object;
            Barcode_Gen window;
            const std::optional<Picture> accepted = acceptedAfter(window, object, [&] {
                chooseType(window, QString::fromLatin1(type));
                retype(window.dataText_2D, value);
                EXPECT_TRUE(window.barcode_error_label->isHidden());
            });
            ASSERT_TRUE(accepted);
            EXPECT_EQ(object.two_d_font_val, value);
            EXPECT_EQ(decodeStoredPicture(object, QStringLiteral("barcode-beyond-ascii.png")), value);
        }
    }
    // A linear symbology refuses it in its own words, under the preview and without a box.
    Barcode_Gen window;
    chooseType(window, QStringLiteral("Code 128"));
    retype(window.dataText, QStringLiteral("Caf\u00e9"));
    EXPECT_TRUE(window.previewPicture().isNull());
    EXPECT_FALSE(window.barcode_error_label->isHidden());
    EXPECT_EQ(window.barcode_error_label->text(),
              QStringLiteral("Invalid barcode value for Code 128: expected ASCII characters"));
    EXPECT_TRUE(messages.messages().isEmpty());
    retype(window.dataText, QString());
    EXPECT_EQ(window.barcode_error_label->text(), QStringLiteral("Please enter barcode value"));
}

TEST_F(BarcodeWindow, ATypeChangeKeepsTheTypedValueOrSaysWhatReplacedIt)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    SKTBarcode object;
    Barcode_Gen window;
    const std::optional<Picture> accepted = acceptedAfter(window, object, [&] {
        chooseType(window, QStringLiteral("Code 39"));
        retype(window.dataText, QStringLiteral("HELLO-1"));
        for (const char *type : {"QR Code", "PDF417", "Code 128", "DataMatrix", "QR Code"}) {
            chooseType(window, QString::fromLatin1(type));
            EXPECT_EQ(window.currentValue(), QStringLiteral("HELLO-1")) << type;
            EXPECT_FALSE(window.previewPicture().isNull()) << type;
            EXPECT_TRUE(window.barcode_note_label->isHidden()) << type;
        }
    });
    ASSERT_TRUE(accepted);
    EXPECT_EQ(decodeStoredPicture(object, QStringLiteral("barcode-type-kept.png")),
              QStringLiteral("HELLO-1"));

    // A type that cannot draw the value takes one it can, and the window says which and why.
    chooseType(window, QStringLiteral("EAN-13"));
    EXPECT_EQ(window.dataText->text(), QStringLiteral("012345678901"));
    EXPECT_FALSE(window.previewPicture().isNull());
    ASSERT_FALSE(window.barcode_note_label->isHidden());
    EXPECT_EQ(window.barcode_note_label->text(),
              QStringLiteral("\"HELLO-1\" cannot be drawn as EAN-13, which takes 12 digits, or 13 ending "
                             "with the right check digit.\nThe value was replaced by \"012345678901\"."));
    saveArtifact(&window, QStringLiteral("barcode-window-value-replaced.png"));
    // Another type refusing it names the typed value, and one that holds it takes it back.
    chooseType(window, QStringLiteral("UPCA"));
    EXPECT_TRUE(
        window.barcode_note_label->text().startsWith(QStringLiteral("\"HELLO-1\" cannot be drawn as UPCA")))
        << window.barcode_note_label->text().toStdString();
    chooseType(window, QStringLiteral("Code 39"));
    EXPECT_EQ(window.dataText->text(), QStringLiteral("HELLO-1"));
    EXPECT_TRUE(window.barcode_note_label->isHidden());
    EXPECT_TRUE(window.valueChosen());
    chooseType(window, QStringLiteral("EAN-13"));
    retype(window.dataText, QStringLiteral("590123412345"));
    EXPECT_TRUE(window.barcode_note_label->isHidden());

    // Every linear type replaces text it cannot draw by a value it draws.
    for (const QString &type : BarcodeSettings::linearTitles()) {
        chooseType(window, QStringLiteral("QR Code"));
        retype(window.dataText_2D, QStringLiteral("Zo\u00eb Stra\u00dfe"));
        chooseType(window, type);
        EXPECT_FALSE(window.previewPicture().isNull()) << type.toStdString();
        EXPECT_TRUE(window.barcode_note_label->text().contains(
            QStringLiteral("\"Zo\u00eb Stra\u00dfe\" cannot be drawn as %1, which takes %2.\nThe value was "
                           "replaced by \"%3\".")
                .arg(type, BarcodeGenerator::contentRule(type), window.dataText->text())))
            << window.barcode_note_label->text().toStdString();
    }
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(BarcodeWindow, TwoDHeaderEditsReframeWhileValueKeystrokesReencode)
{
    Barcode_Gen window;
    chooseType(window, QStringLiteral("QR Code"));
    ASSERT_TRUE(window.image_2d.has_value());
    const ModuleGrid *symbol = window.image_2d->grid.get();
    const QSizeF before = window.previewPicture().size();
    retype(window.HeaderText, QStringLiteral("A much longer header than the symbol"));
    ASSERT_TRUE(window.image_2d.has_value());
    EXPECT_EQ(window.image_2d->grid.get(), symbol); // same modules, new frame
    EXPECT_GT(window.previewPicture().size().width(), before.width());
    toggle(window.hideHeaderCheckbox);
    EXPECT_EQ(window.image_2d->grid.get(), symbol);
    EXPECT_LT(window.previewPicture().size().height(), before.height());

    window.dataText_2D->moveCursor(QTextCursor::End);
    QTest::keyClicks(window.dataText_2D, QStringLiteral("9"));
    ASSERT_TRUE(window.image_2d.has_value());
    EXPECT_NE(window.image_2d->grid.get(), symbol);
}

TEST_F(BarcodeWindow, LinearSizesCheckBoxesAndPlacementUpdateThePreview)
{
    Barcode_Gen window;
    chooseType(window, QStringLiteral("Code 128"));
    const QSizeF start = window.previewPicture().size();
    QTest::keyClick(window.widthText, Qt::Key_Up); // 21 mils: wider bars
    EXPECT_GT(window.previewPicture().size().width(), start.width());
    typeNumber(window.HeightText, QStringLiteral("1.6")); // one centimetre taller
    EXPECT_NEAR(window.previewPicture().size().height() - start.height(), 28.35, 0.05);

    const double tall = window.previewPicture().size().height();
    toggle(window.captionCheckbox);
    EXPECT_LT(window.previewPicture().size().height(), tall);
    EXPECT_FALSE(window.showinTopCheckbox->isEnabled());
    EXPECT_EQ(window.settings().show_hide_val, 1);
    toggle(window.captionCheckbox);
    EXPECT_NEAR(window.previewPicture().size().height(), tall, 0.01);
    EXPECT_TRUE(window.showinTopCheckbox->isEnabled());

    // The caption box disabled: nothing prints and value-on-top keeps its state.
    window.captionCheckbox->setEnabled(false);
    window.showinTopCheckbox->setEnabled(false);
    EXPECT_EQ(window.controls().Get_Print_State(), 0);
    EXPECT_FALSE(window.showinTopCheckbox->isEnabled());
    window.captionCheckbox->setEnabled(true);

    choose(window.bar_align_combo, QStringLiteral("BottomRight"));
    EXPECT_EQ(window.barcodeImage->alignment(), Qt::AlignBottom | Qt::AlignRight);
    QTest::keyClick(window.LR_mar_Text, Qt::Key_Up); // the next drawing centres it again
    EXPECT_EQ(window.barcodeImage->alignment(), Qt::Alignment(Qt::AlignCenter));
}

TEST_F(BarcodeWindow, FontsAndColoursReachThePictureAndTheStoredObject)
{
    SKTBarcode object;
    Barcode_Gen window;
    const std::optional<Picture> accepted = acceptedAfter(window, object, [&] {
        chooseType(window, QStringLiteral("Code 39"));
        const QSizeF before = window.previewPicture().size();
        choosers.nextFont = QFont(QStringLiteral("Liberation Sans"), 20);
        choosers.nextFont->setBold(true);
        QTest::mouseClick(window.hdr_font_btn, Qt::LeftButton);
        EXPECT_EQ(window.header_font_value->text(), QStringLiteral("Liberation Sans ( 20.00 )"));
        EXPECT_GT(window.previewPicture().size().height(), before.height());
        choosers.nextFont.reset(); // Cancel in the font dialog keeps the font
        QTest::mouseClick(window.ftr_font_btn, Qt::LeftButton);
        EXPECT_EQ(window.footer_font.size, 10.0);
        choosers.nextColor = QColor(0, 0, 200);
        QTest::mouseClick(window.barcode_clr, Qt::LeftButton);
        const QImage shown = window.previewPicture().toImage(72, Qt::white);
        bool blue = false;
        for (int x = 0; x < shown.width() && !blue; ++x)
            blue = shown.pixelColor(x, shown.height() / 2) == QColor(0, 0, 200);
        EXPECT_TRUE(blue);
        saveArtifact(&window, QStringLiteral("barcode-window-fonts.png"));
    });
    ASSERT_TRUE(accepted);
    ASSERT_TRUE(object.header_font_val.has_value());
    EXPECT_EQ(object.header_font_val->postScriptName, QStringLiteral("Arial-BoldMT"));
    EXPECT_EQ(object.header_font_val->size, 20.0);
    EXPECT_EQ(object.barcode_clr_val, QColor(0, 0, 200));
}

TEST_F(BarcodeWindow, HelpButtonsShowTheirTextsInTheLongMessageDialog)
{
    Barcode_Gen window;
    QStringList titles, texts;
    const QList<QToolButton *> buttons = {window.qr_version_help,  window.qr_ec_help,  window.pdf_row_help,
                                          window.pdf_col_help,     window.pdf_ec_help, window.dm_format_help,
                                          window.dm_encoding_help, window.dpi_help};
    for (QToolButton *b : buttons) {
        // Each help text is a run of the long-message dialog: read it and press OK.
        modalScripts.push_back([&](QDialog &shown) {
            auto *dialog = qobject_cast<Long_SMS_Dlg *>(&shown);
            if (!dialog)
                return 0;
            titles << dialog->_Msg_Title->text();
            texts << dialog->_Msg_Val->toPlainText();
            dialog->ok_button->click();
            return dialog->result();
        });
        QTest::mouseClick(b, Qt::LeftButton);
    }
    EXPECT_TRUE(modalScripts.empty());
    ASSERT_EQ(titles.size(), 8);
    EXPECT_EQ(titles, (QStringList{"Version :", "Error correction (EC) level :", "PDF Rows :",
                                   "PDF Columns :", "PDF EC Level :", "Preferred Format :", "Encoding Mode :",
                                   "DPI (Dots Per Inch) :"}));
    // Each button shows a text of its own.
    EXPECT_EQ(QSet<QString>(texts.begin(), texts.end()).size(), 8);
    EXPECT_FALSE(texts.contains(QString()));
}

TEST_F(BarcodeWindow, OkStoresALinearBarcodeThatDecodes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    SKTBarcode object;
    Barcode_Gen window;
    const std::optional<Picture> picture = acceptedAfter(window, object, [&] {
        chooseType(window, QStringLiteral("Code 128"));
        retype(window.dataText, QStringLiteral("TESS-42"));
        retype(window.HeaderText, QStringLiteral("Guest"));
        toggle(window.kerning_value_Checkbox);
        saveArtifact(&window, QStringLiteral("barcode-window-linear.png"));
    });
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(object.linear_or_2d, 0);
    EXPECT_EQ(BarcodeSettings::titleForIndex(0, object.barcode_font_index), QStringLiteral("Code 128"));
    EXPECT_EQ(object.linear_font_val, QStringLiteral("TESS-42"));
    EXPECT_EQ(object.header_val, QStringLiteral("Guest"));
    EXPECT_EQ(object.kerning_value, 1);
    ASSERT_TRUE(object._contents.has_value());
    EXPECT_EQ(decodeStoredPicture(object, QStringLiteral("barcode-linear.png")), QStringLiteral("TESS-42"));

    // Loaded again, the window shows what was stored, in centimetres.
    Barcode_Gen again;
    chooseType(again, QStringLiteral("QR Code"));
    again.Set_Barcode_Prop_To_Control(object);
    EXPECT_EQ(again.barcodeTypePopup->currentText(), QStringLiteral("Code 128"));
    EXPECT_EQ(again.dataText->text(), QStringLiteral("TESS-42"));
    EXPECT_TRUE(again.kerning_value_Checkbox->isChecked());
    EXPECT_EQ(again.sett_tab->count(), 3);
    EXPECT_EQ(again.barHeightLabel->text(), QStringLiteral("Bar Height (cm):"));
}

TEST_F(BarcodeWindow, OkStoresAQrCodeThatDecodes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    SKTBarcode object;
    Barcode_Gen window;
    const std::optional<Picture> accepted = acceptedAfter(window, object, [&] {
        chooseType(window, QStringLiteral("QR Code"));
        retype(window.dataText_2D, QStringLiteral("https://example.com/card/7"));
        window.resize(window.sizeHint());
        saveArtifact(&window, QStringLiteral("barcode-window-qr.png"));
        window.sett_tab->setCurrentIndex(1);
        saveArtifact(&window, QStringLiteral("barcode-window-texts.png"));
        window.sett_tab->setCurrentIndex(3);
        saveArtifact(&window, QStringLiteral("barcode-window-resolution.png"));
    });
    ASSERT_TRUE(accepted);
    EXPECT_EQ(object.linear_or_2d, 1);
    EXPECT_EQ(object.two_d_font_val, QStringLiteral("https://example.com/card/7"));
    EXPECT_EQ(decodeStoredPicture(object, QStringLiteral("barcode-qr.png")),
              QStringLiteral("https://example.com/card/7"));
}

TEST_F(BarcodeWindow, CancelStoresNothingAndLoadingRestoresTheResolution)
{
    SKTBarcode object;
    object.linear_font_val = QStringLiteral("KEEP");
    object.dpi_val_index = int(BarcodeSettings::dpiChoices().size()) - 1; // "Custom"
    object.dpi_custom_val = QStringLiteral("300");
    const bool hadPicture = object._barcode_image.has_value();
    Barcode_Gen window;
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(window.dpi_Text->value(), 300);
        EXPECT_FALSE(window.dpi_Text->isHidden());
        EXPECT_EQ(window.USED_DPI_VALUE, 300);
        retype(window.dataText, QStringLiteral("CHANGED"));
        window.cancel_button->click();
        return window.result();
    });
    EXPECT_FALSE(window.Open_Wnd(object).has_value());
    EXPECT_EQ(object.linear_font_val, QStringLiteral("KEEP"));
    EXPECT_EQ(object._barcode_image.has_value(), hadPicture);

    SKTBarcode automatic;
    window.Set_Barcode_Prop_To_Control(automatic);
    EXPECT_EQ(window.USED_DPI_VALUE, 600);
    EXPECT_TRUE(window.dpi_Text->isHidden());
}

TEST_F(BarcodeWindow, OkWithAnEmptyOrRefusedValueKeepsTheWindowOpen)
{
    SKTBarcode object;
    Barcode_Gen window;
    modalScripts.push_back([&](QDialog &) {
        retype(window.dataText, QString());
        window.ok_button->click();
        EXPECT_EQ(window.result(), QDialog::Rejected); // not accepted: still open
        EXPECT_TRUE(window.previewPicture().isNull());
        EXPECT_TRUE(messages.messages().isEmpty());
        chooseType(window, QStringLiteral("EAN-8"));
        retype(window.dataText, QStringLiteral("ABC"));
        window.ok_button->click();
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_FALSE(window.barcode_error_label->isHidden());
        window.cancel_button->click();
        return window.result();
    });
    EXPECT_FALSE(window.Open_Wnd(object).has_value());
    EXPECT_EQ(object.linear_font_val, QStringLiteral("0123"));
    EXPECT_EQ(object.barcode_font_index, 0);
}
