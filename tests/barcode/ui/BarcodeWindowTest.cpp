// The barcode properties window driven as a user would: its defaults, the symbology change, the
// live preview, and OK and Cancel on a barcode object whose picture is read back by ZXingReader.
#include "barcode/Barcode_Gen.h"
#include "barcode/SymbolDecoder.h"
#include "foundation/StepperField.h"
#include "model/SKTBarcode.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using testsupport::WindowFixture;

namespace
{
// Picks a symbology from the pop-up as a click on its item would.
void chooseType(Barcode_Gen &window, const QString &title)
{
    const int index = window.barcodeTypePopup->findText(title);
    ASSERT_GE(index, 0) << title.toStdString();
    window.barcodeTypePopup->setCurrentIndex(index);
    emit window.barcodeTypePopup->activated(index);
}

void retype(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// The object's stored picture at 600 dpi on white, saved for reviewers, read back by ZXingReader.
QString decodeStoredPicture(const SKTBarcode &object, const QString &artifact)
{
    if (!object._barcode_image)
        return QStringLiteral("<no picture>");
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    const QString path = QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + artifact;
    object._barcode_image->toImage(600, Qt::white).save(path);
    return SymbolDecoder::zxing({path}).value(path);
}
} // namespace

class BarcodeWindow : public WindowFixture
{
};

TEST_F(BarcodeWindow, StartsWithTheDefaultSettingsInCentimetres)
{
    Barcode_Gen window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Barcode Properties"));
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
    const BarcodeSettings s = window.settings();
    EXPECT_EQ(s.value_font.size, 10.0);
    EXPECT_EQ(s.dpi, 600); // "Auto"
    ASSERT_EQ(window.qr_version_ComboBox->count(), 41);
    EXPECT_EQ(window.qr_version_ComboBox->itemText(0), QStringLiteral("Auto"));
    EXPECT_EQ(window.qr_version_ComboBox->itemText(40), QStringLiteral("V40"));
    EXPECT_EQ(window.dm_format_ComboBox->count(), 31);
    EXPECT_EQ(window.dm_format_ComboBox->itemText(30), QStringLiteral("C16X48"));
    EXPECT_EQ(window.dm_encoding_ComboBox->count(), 5);
    EXPECT_EQ(window.barHeightLabel->text(), QStringLiteral("Bar Height (cm):"));
    EXPECT_EQ(window.barWidthLabel->text(), QStringLiteral("Bar Width (Mils):"));
    EXPECT_EQ(window.margin_box->title(), QStringLiteral("Margins (cm)"));
    EXPECT_EQ(window.sett_tab->count(), 3); // no resolution tab for linear symbols
    EXPECT_FALSE(window.previewPicture().isNull());
}

TEST_F(BarcodeWindow, QrCodeWithAnEmptyValueAsksForOneThenCode128DropsTheResolutionTab)
{
    Barcode_Gen window;
    window.show();
    window.dataText_2D->clear();
    chooseType(window, QStringLiteral("QR Code"));
    EXPECT_EQ(messages.messages(), QStringList{QStringLiteral("Please enter barcode value")});
    EXPECT_TRUE(window.previewPicture().isNull());
    EXPECT_TRUE(window.barcode_error_label->isVisible());
    ASSERT_EQ(window.sett_tab->count(), 4);
    EXPECT_EQ(window.sett_tab->widget(3), window.dpi_tab_item);
    EXPECT_EQ(window.barHeightLabel->text(), QStringLiteral("Bar Height :"));

    window.sett_tab->setCurrentIndex(3);
    chooseType(window, QStringLiteral("Code 128"));
    EXPECT_EQ(window.sett_tab->count(), 3);
    EXPECT_EQ(window.sett_tab->currentIndex(), 0);
    EXPECT_FALSE(window.previewPicture().isNull()); // the linear value "0123" is drawn
    EXPECT_FALSE(window.barcode_error_label->isVisible());

    chooseType(window, QStringLiteral("EAN-13"));
    EXPECT_FALSE(window.kerning_value_Checkbox->isEnabled());
}

TEST_F(BarcodeWindow, EveryKeystrokeInTheValueRedrawsThePreview)
{
    Barcode_Gen window;
    window.show();
    chooseType(window, QStringLiteral("Code 128"));
    window.dataText->setFocus();
    QTest::keyClick(window.dataText, Qt::Key_End);
    const qint64 before = window.previewPicture().size().width();
    QTest::keyClicks(window.dataText, QStringLiteral("4567"));
    EXPECT_GT(window.previewPicture().size().width(), before);
    QTest::keyClick(window.dataText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.dataText, Qt::Key_Delete);
    EXPECT_TRUE(window.previewPicture().isNull()); // an empty value: blank, no message
    EXPECT_TRUE(window.barcode_error_label->isVisible());
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(BarcodeWindow, OkStoresALinearBarcodeThatDecodes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    SKTBarcode object;
    Barcode_Gen window;
    modalScripts.push_back([&](QDialog &) {
        chooseType(window, QStringLiteral("Code 128"));
        retype(window.dataText, QStringLiteral("TESS-42"));
        retype(window.HeaderText, QStringLiteral("Guest"));
        saveArtifact(&window, QStringLiteral("barcode-window-linear.png"));
        window.ok_button->click();
        return window.result();
    });
    const std::optional<Picture> picture = window.Open_Wnd(object);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(object.linear_or_2d, 0);
    EXPECT_EQ(BarcodeSettings::titleForIndex(0, object.barcode_font_index), QStringLiteral("Code 128"));
    EXPECT_EQ(object.linear_font_val, QStringLiteral("TESS-42"));
    EXPECT_EQ(object.header_val, QStringLiteral("Guest"));
    ASSERT_TRUE(object._contents.has_value());
    EXPECT_EQ(decodeStoredPicture(object, QStringLiteral("barcode-linear.png")), QStringLiteral("TESS-42"));

    // Loaded again, the window shows what was stored.
    Barcode_Gen again;
    again.Set_Barcode_Prop_To_Control(object);
    EXPECT_EQ(again.barcodeTypePopup->currentText(), QStringLiteral("Code 128"));
    EXPECT_EQ(again.dataText->text(), QStringLiteral("TESS-42"));
}

TEST_F(BarcodeWindow, OkStoresAQrCodeThatDecodes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    SKTBarcode object;
    Barcode_Gen window;
    modalScripts.push_back([&](QDialog &) {
        chooseType(window, QStringLiteral("QR Code"));
        retype(window.dataText_2D, QStringLiteral("https://example.com/card/7"));
        saveArtifact(&window, QStringLiteral("barcode-window-qr.png"));
        window.ok_button->click();
        return window.result();
    });
    ASSERT_TRUE(window.Open_Wnd(object).has_value());
    EXPECT_EQ(object.linear_or_2d, 1);
    EXPECT_EQ(object.two_d_font_val, QStringLiteral("https://example.com/card/7"));
    EXPECT_EQ(decodeStoredPicture(object, QStringLiteral("barcode-qr.png")),
              QStringLiteral("https://example.com/card/7"));
}

TEST_F(BarcodeWindow, CancelLeavesTheObjectAndItsPictureAlone)
{
    SKTBarcode object;
    object.linear_font_val = QStringLiteral("KEEP");
    object.dpi_val_index = int(BarcodeSettings::dpiChoices().size()) - 1; // "Custom"
    object.dpi_custom_val = QStringLiteral("300");
    const bool hadPicture = object._barcode_image.has_value();
    Barcode_Gen window;
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(window.dpi_Text->text(), QStringLiteral("300"));
        EXPECT_EQ(window.settings().dpi, 300);
        retype(window.dataText, QStringLiteral("CHANGED"));
        window.cancel_button->click();
        return window.result();
    });
    EXPECT_FALSE(window.Open_Wnd(object).has_value());
    EXPECT_EQ(object.linear_font_val, QStringLiteral("KEEP"));
    EXPECT_EQ(object._barcode_image.has_value(), hadPicture);
}

TEST_F(BarcodeWindow, OkWithAnEmptyValueKeepsTheWindowOpen)
{
    SKTBarcode object;
    Barcode_Gen window;
    modalScripts.push_back([&](QDialog &) {
        retype(window.dataText, QString());
        window.ok_button->click();
        EXPECT_EQ(window.result(), QDialog::Rejected); // not accepted: still open
        EXPECT_TRUE(window.previewPicture().isNull());
        EXPECT_TRUE(messages.messages().isEmpty());
        window.cancel_button->click();
        return window.result();
    });
    EXPECT_FALSE(window.Open_Wnd(object).has_value());
    EXPECT_EQ(object.linear_font_val, QStringLiteral("0123"));
}
