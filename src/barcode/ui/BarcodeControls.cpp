#include "barcode/ui/BarcodeControls.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeRules.h"
#include "barcode/ui/Barcode_Gen.h"
#include "foundation/ui/ChooserPanels.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "foundation/ui/StepperField.h"
#include "platform/FontResolver.h"
#include "platform/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

#include <initializer_list>

namespace
{
const QStringList kNoKerning = {QStringLiteral("UPCE"), QStringLiteral("UPCA"), QStringLiteral("EAN-8"),
                                QStringLiteral("EAN-13")};

// The preview placements by their titles.
Qt::Alignment placementFor(const QString &title, bool *known)
{
    static const QList<QPair<QString, Qt::Alignment>> table = {
        {QStringLiteral("Center"), Qt::AlignCenter},
        {QStringLiteral("Top"), Qt::AlignTop | Qt::AlignHCenter},
        {QStringLiteral("TopLeft"), Qt::AlignTop | Qt::AlignLeft},
        {QStringLiteral("TopRight"), Qt::AlignTop | Qt::AlignRight},
        {QStringLiteral("Left"), Qt::AlignLeft | Qt::AlignVCenter},
        {QStringLiteral("Bottom"), Qt::AlignBottom | Qt::AlignHCenter},
        {QStringLiteral("BottomLeft"), Qt::AlignBottom | Qt::AlignLeft},
        {QStringLiteral("BottomRight"), Qt::AlignBottom | Qt::AlignRight},
        {QStringLiteral("Right"), Qt::AlignRight | Qt::AlignVCenter},
    };
    for (const auto &row : table) {
        if (row.first == title) {
            *known = true;
            return row.second;
        }
    }
    *known = false;
    return Qt::AlignCenter;
}
} // namespace

BarcodeControls::BarcodeControls(Barcode_Gen &window) : QObject(&window), w(window)
{
    connectControls();
}

QString BarcodeControls::fontLabel(const FontDescriptor &font)
{
    return QStringLiteral("%1 ( %2 )")
        .arg(FontResolver::faceFor(font.postScriptName).family)
        .arg(font.size, 0, 'f', 2);
}

void BarcodeControls::refreshFontLabels()
{
    w.value_font_value->setText(fontLabel(w.value_font));
    w.header_font_value->setText(fontLabel(w.header_font));
    w.footer_font_value->setText(fontLabel(w.footer_font));
}

// --- preview levels ---

void BarcodeControls::blank(const QString &reason)
{
    m_refusal = reason;
    w.setErrorText(reason);
    w.Set_Blank_Image();
}

void BarcodeControls::showResult(const BarcodeResult &result)
{
    if (result.ok())
        w.showPreview(result.picture);
    else
        blank(result.message);
}

void BarcodeControls::goButtonActionPerformed()
{
    if (w.loading())
        return;
    const QString value = w.currentValue();
    // An empty value blanks the preview and asks for one; the last linear object stays for the
    // handlers that redraw it. Any other text goes to the symbology, which says why it refuses.
    QString reason;
    if (!BarcodeRules::Check_And_Validat_Barcode(value, &reason)) {
        blank(reason);
        return;
    }
    const BarcodeSettings s = w.settings();
    const BarcodePreview p =
        BarcodeGenerator::Generate_Barcode_Variable(s, value, w.HeaderText->text(), w.FooterText->text());
    w.testBarcode = p.barcode;
    if (s.isTwoD() && p.grid2D)
        w.image_2d = Barcode_Gen::Image2D{p.grid2D, p.image2DSize, value};
    else
        w.image_2d.reset();
    showResult(p);
}

void BarcodeControls::linearRelayout()
{
    if (w.loading() || !w.testBarcode)
        return;
    const BarcodeResult r = BarcodeGenerator::Get_Image_From_Barcode(w.settings(), *w.testBarcode, true);
    showResult(r);
}

void BarcodeControls::linearRedraw()
{
    if (w.loading() || !w.testBarcode)
        return;
    const BarcodeResult r = BarcodeGenerator::Get_Image_From_Barcode(w.settings(), *w.testBarcode, false);
    showResult(r);
}

void BarcodeControls::reframe2D()
{
    if (w.loading())
        return;
    if (!w.image_2d) {
        w.Set_Blank_Image();
        return;
    }
    const Barcode_Gen::Image2D symbol = *w.image_2d;
    const BarcodePreview p = BarcodeGenerator::Get_Image_From_barcode_image(
        w.settings(), symbol.grid, symbol.size, symbol.value, w.HeaderText->text(), w.FooterText->text());
    showResult(p);
    if (p.ok())
        w.image_2d = symbol;
}

void BarcodeControls::relayoutOrReframe()
{
    if (w.liner_or_2D_font != 0)
        reframe2D();
    else
        linearRelayout();
}

// --- symbology and layout ---

void BarcodeControls::barcodeTypeChanged()
{
    // The value typed goes with the new type, whichever of the two value fields shows it; one a
    // stand-in replaced for an earlier type is tried again.
    const QString typed = w.takeValueAside().value_or(w.currentValue());
    w.setValueNote(QString());
    const QString title = w.typeTitle();
    if (BarcodeSettings::isTwoDTitle(title))
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    setValueQuietly(typed);
    const QString value = w.currentValue();
    if (w.liner_or_2D_font == 0) {
        for (QWidget *c : std::initializer_list<QWidget *>{
                 w.HeightText, w.widthText, w.captionCheckbox, w.hideHeaderCheckbox, w.hideFooterCheckbox,
                 w.FooterText, w.val_mar_Text, w.hdr_mar_Text, w.ftr_mar_Text, w.align_hdr_combo,
                 w.align_ftr_combo, w.showinTopCheckbox, w.kerning_value_Checkbox})
            c->setEnabled(true);
        Get_Print_State();
    }
    if (value.isEmpty()) {
        MessageService::deliverMessage(QStringLiteral("Please enter barcode value"));
        blank(QString());
        return;
    }
    offerSpreadForType();
    goButtonActionPerformed();
    if (w.previewPicture().isNull())
        replaceRefusedValue(value);
}

void BarcodeControls::offerSpreadForType()
{
    w.kerning_value_Checkbox->setEnabled(!kNoKerning.contains(w.barcodeTypePopup->currentText()));
}

void BarcodeControls::setValueQuietly(const QString &value)
{
    if (w.currentValue() == value)
        return;
    const QSignalBlocker blockLine(w.dataText);
    const QSignalBlocker blockText(w.dataText_2D);
    if (w.liner_or_2D_font != 0)
        w.dataText_2D->setPlainText(value);
    else
        w.dataText->setText(value);
}

void BarcodeControls::replaceRefusedValue(const QString &refused)
{
    // A value bound to a source is the source's: it is never replaced here.
    if (w.dataText->isReadOnly())
        return;
    const QString reason = m_refusal;
    const QString title = w.typeTitle();
    const QString sample = BarcodeGenerator::sampleValue(title);
    setValueQuietly(sample);
    goButtonActionPerformed();
    // When even the sample is refused, the settings are at fault, not the value: it stays.
    if (w.previewPicture().isNull()) {
        setValueQuietly(refused);
        goButtonActionPerformed();
        return;
    }
    // The stand-in is the window's, not the user's: the other barcodes keep their own values, and
    // the user's comes back with a type that holds it.
    w.setValueAside(refused, sample);
    w.markValueChosen(false);
    const QString shown = refused.size() > 40 ? refused.left(40) + QStringLiteral("...") : refused;
    // Why, said of the value refused and before the stand-in, so it cannot be read as the
    // stand-in's fault.
    const QString rule = BarcodeGenerator::contentRule(title);
    QString why = !rule.isEmpty() && reason.endsWith(rule) ? QStringLiteral(", which takes ") + rule
                                                           : QStringLiteral(": ") + reason;
    if (why.endsWith(QLatin1Char('.')))
        why.chop(1);
    w.setValueNote(QStringLiteral("\"%1\" cannot be drawn as %2%3.\nThe value was replaced by \"%4\".")
                       .arg(shown, title, why, sample));
}

void BarcodeControls::Liner_Barcode_Opt_Select()
{
    w.liner_or_2D_font = 0;
    w.dataText->setEnabled(true);
    w.dataText->show();
    w.dataText_2D->hide();
    for (QWidget *c : std::initializer_list<QWidget *>{
             w.showinTopCheckbox, w.captionCheckbox, w.val_mar_Text, w.val_mar_label, w.val_font_label,
             w.val_font_btn, w.value_font_value, w.barcode_clr, w.bar_back_clr, w.bar_val_clr,
             w.val_clr_label, w.bar_clr_label, w.bar_bk_clr_label, w.linear_sett_box})
        c->show();
    for (QGroupBox *box : {w.two_d_sett_box, w.pdf_2d_sett_box, w.dm_2d_sett_box})
        box->hide();
    w.bar_align_combo->setEnabled(true);
    if (w.sett_tab->count() == 4)
        w.sett_tab->removeTab(Barcode_Gen::kDpiTabIndex);
    w.sett_tab->setCurrentIndex(0);
    _setLabels();
}

void BarcodeControls::two_d_barcode_Opt_Select()
{
    w.liner_or_2D_font = 1;
    w.dataText->setEnabled(false);
    w.dataText->hide();
    w.dataText_2D->show();
    for (QWidget *c : std::initializer_list<QWidget *>{
             w.showinTopCheckbox, w.captionCheckbox, w.val_mar_Text, w.val_mar_label, w.val_font_label,
             w.val_font_btn, w.value_font_value, w.barcode_clr, w.bar_back_clr, w.bar_val_clr,
             w.val_clr_label, w.bar_clr_label, w.bar_bk_clr_label, w.linear_sett_box})
        c->hide();
    const QString title = w.typeTitle();
    if (BarcodeSettings::isTwoDTitle(title)) {
        w.two_d_sett_box->setVisible(title == QLatin1String("QR Code"));
        w.pdf_2d_sett_box->setVisible(title == QLatin1String("PDF417"));
        w.dm_2d_sett_box->setVisible(title == QLatin1String("DataMatrix"));
    }
    // Placement moves a linear preview only.
    w.bar_align_combo->setEnabled(false);
    if (w.sett_tab->count() == 3)
        w.sett_tab->insertTab(Barcode_Gen::kDpiTabIndex, w.dpi_tab_item,
                              QString::fromLatin1(Barcode_Gen::dpiTabLabel()));
    _setLabels();
}

void BarcodeControls::_setLabels()
{
    // Sizes are always shown in centimetres.
    if (w.liner_or_2D_font != 0) {
        w.barHeightLabel->setText(QStringLiteral("Bar Height :"));
        w.barWidthLabel->setText(QStringLiteral("Bar Width :"));
    } else {
        w.barHeightLabel->setText(QStringLiteral("Bar Height (cm):"));
        w.barWidthLabel->setText(QStringLiteral("Bar Width (Mils):"));
    }
    w.margin_box->setTitle(QStringLiteral("Margins (cm)"));
}

int BarcodeControls::Get_Print_State()
{
    if (!w.captionCheckbox->isEnabled())
        return 0;
    const bool hidden = w.captionCheckbox->isChecked();
    w.showinTopCheckbox->setEnabled(!hidden);
    return hidden ? 0 : 1;
}

void BarcodeControls::Check_And_Set_QR_size_Acc_Version(int versionPosition)
{
    const int floor = BarcodeRules::qrMinimumSize(versionPosition);
    if (w.HeightText_2D->value() < floor)
        w.HeightText_2D->setValue(floor);
    w.HeightText_2D->setMinimum(floor);
}

void BarcodeControls::data_matrix_barcode_size_acc_format()
{
    BarcodeSettings s;
    s.dm_format_index = w.dm_format_ComboBox->currentIndex();
    s.dm_module_val = int(w.dm_moduleText_2D->value());
    int width = int(w.dm_widthText_2D->value());
    int height = int(w.dm_HeightText_2D->value());
    BarcodeRules::data_matrix_barcode_size_acc_format(s, &width, &height);
    if (width > w.dm_widthText_2D->value())
        w.dm_widthText_2D->setValue(width);
    if (height > w.dm_HeightText_2D->value())
        w.dm_HeightText_2D->setValue(height);
}

void BarcodeControls::showCustomDpi(bool shown)
{
    w.dpi_Text->setVisible(shown);
    w.dpi_custom_label->setVisible(shown);
}

void BarcodeControls::DPI_ComboBox_Changed()
{
    const QString choice = w.DPI_ComboBox->currentText();
    const bool custom = choice == QLatin1String("Custom");
    showCustomDpi(custom);
    // The resolution counts from the next 2D picture on: no new preview now.
    if (custom)
        w.USED_DPI_VALUE = int(w.dpi_Text->value());
    else
        w.USED_DPI_VALUE = BarcodeSettings::dpiForChoice(w.DPI_ComboBox->currentIndex(), QString());
}

void BarcodeControls::bar_align_Changed()
{
    // Only the preview moves; the next linear drawing centres it again.
    if (w.liner_or_2D_font != 0 || !w.testBarcode)
        return;
    bool known = false;
    const Qt::Alignment a = placementFor(w.bar_align_combo->currentText(), &known);
    if (known)
        w.barcodeImage->setAlignment(a);
}

// --- check boxes ---

void BarcodeControls::captionChanged()
{
    if (w.liner_or_2D_font != 0) {
        reframe2D();
        return;
    }
    const int printed = Get_Print_State();
    if (w.testBarcode) {
        w.testBarcode->setPrintsCaption(printed == 1);
        linearRelayout();
    }
}

void BarcodeControls::showinTopChanged()
{
    if (w.liner_or_2D_font != 0 || !w.testBarcode)
        return;
    w.testBarcode->setPrintsCaption(!w.captionCheckbox->isChecked());
    linearRelayout();
}

void BarcodeControls::hideHeaderChanged()
{
    if (w.liner_or_2D_font != 0) {
        reframe2D();
    } else if (w.testBarcode) {
        w.testBarcode->setPrintsHeader(!w.hideHeaderCheckbox->isChecked());
        linearRelayout();
    }
}

void BarcodeControls::hideFooterChanged()
{
    if (w.liner_or_2D_font != 0) {
        reframe2D();
    } else if (w.testBarcode) {
        w.testBarcode->setPrintsFooter(!w.hideFooterCheckbox->isChecked());
        linearRelayout();
    }
}

// --- texts, sizes, fonts, colours ---

void BarcodeControls::headerOrFooterEdited()
{
    // A 2D symbol keeps its modules: only the frame follows the new texts.
    if (w.liner_or_2D_font != 0)
        reframe2D();
    else
        goButtonActionPerformed();
}

void BarcodeControls::barWidthStep()
{
    if (!w.testBarcode)
        return;
    BarcodeRules::applyBarWidth(w.settings(), *w.testBarcode);
    linearRedraw();
}

void BarcodeControls::LR_Margin_Changed()
{
    if (w.liner_or_2D_font != 0)
        reframe2D();
    else
        barWidthStep();
}

void BarcodeControls::widthChanged()
{
    if (w.liner_or_2D_font != 0)
        goButtonActionPerformed();
    else
        barWidthStep();
}

void BarcodeControls::chooseFont(FontDescriptor &font, QLabel *label)
{
    const std::optional<QFont> chosen = ChooserPanels::instance().font(&w, FontResolver::font(font));
    if (!chosen)
        return;
    const double size = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : font.size;
    font = FontDescriptor{FontResolver::postScriptNameFor(*chosen), size};
    label->setText(fontLabel(font));
    // A new font changes the texts' sizes: the picture is laid out or framed again.
    if (w.liner_or_2D_font != 0)
        reframe2D();
    else
        linearRelayout();
}

void BarcodeControls::Set_Font_Clr()
{
    if (w.liner_or_2D_font != 0)
        reframe2D();
    else
        linearRedraw();
}

void BarcodeControls::showHelp(const QString &title, const QString &message)
{
    Long_SMS_Dlg::defaultInstance()->showInformation(title, message);
}

// --- wiring: user signals only, so loading the controls runs no handler ---

void BarcodeControls::connectControls()
{
    connectValueAndTexts();
    connectSymbolChoices();
    connectSizesAndMargins();
    connectFontsAndColours();
    connectHelpButtons();
}

void BarcodeControls::connectValueAndTexts()
{
    connect(w.barcodeTypePopup, &QComboBox::activated, this, [this] { barcodeTypeChanged(); });
    connect(w.dataText, &QLineEdit::textEdited, this, [this] {
        if (w.liner_or_2D_font != 0)
            return;
        w.markValueChosen();
        w.setValueNote(QString());
        goButtonActionPerformed();
    });
    // Every keystroke in the 2D value encodes the symbol again.
    connect(w.dataText_2D, &QPlainTextEdit::textChanged, this, [this] {
        if (w.liner_or_2D_font == 0)
            return;
        w.markValueChosen();
        w.setValueNote(QString());
        goButtonActionPerformed();
    });
    connect(w.HeaderText, &QLineEdit::textEdited, this, [this] { headerOrFooterEdited(); });
    connect(w.FooterText, &QLineEdit::textEdited, this, [this] { headerOrFooterEdited(); });

    connect(w.captionCheckbox, &QCheckBox::clicked, this, [this] { captionChanged(); });
    connect(w.showinTopCheckbox, &QCheckBox::clicked, this, [this] { showinTopChanged(); });
    connect(w.hideHeaderCheckbox, &QCheckBox::clicked, this, [this] { hideHeaderChanged(); });
    connect(w.hideFooterCheckbox, &QCheckBox::clicked, this, [this] { hideFooterChanged(); });
    connect(w.kerning_value_Checkbox, &QCheckBox::clicked, this, [this] { linearRedraw(); });
}

// The pop-ups of resolution, symbol versions and formats, alignments and placement.
void BarcodeControls::connectSymbolChoices()
{
    connect(w.DPI_ComboBox, &QComboBox::activated, this, [this] { DPI_ComboBox_Changed(); });
    connect(w.dpi_Text, &StepperField::userChanged, this, [this](double v) { w.USED_DPI_VALUE = int(v); });
    connect(w.qr_version_ComboBox, &QComboBox::activated, this, [this](int index) {
        if (w.liner_or_2D_font == 0)
            return;
        Check_And_Set_QR_size_Acc_Version(index);
        goButtonActionPerformed();
    });
    for (QComboBox *box : {w.qr_ec_lvl_ComboBox, w.dm_encoding_ComboBox}) {
        connect(box, &QComboBox::activated, this, [this] {
            if (w.liner_or_2D_font != 0)
                goButtonActionPerformed();
        });
    }
    connect(w.dm_format_ComboBox, &QComboBox::activated, this, [this] {
        if (w.liner_or_2D_font == 0)
            return;
        data_matrix_barcode_size_acc_format();
        goButtonActionPerformed();
    });
    // Header and footer alignments show in a linear drawing at once, in a 2D frame at the next update.
    for (QComboBox *box : {w.align_hdr_combo, w.align_ftr_combo}) {
        connect(box, &QComboBox::activated, this, [this] {
            if (w.liner_or_2D_font == 0)
                linearRedraw();
        });
    }
    connect(w.bar_align_combo, &QComboBox::activated, this, [this] { bar_align_Changed(); });
}

void BarcodeControls::connectSizesAndMargins()
{
    connect(w.val_mar_Text, &StepperField::userChanged, this, [this] {
        if (w.liner_or_2D_font == 0)
            linearRelayout();
    });
    for (StepperField *f : {w.hdr_mar_Text, w.ftr_mar_Text, w.TB_mar_Text})
        connect(f, &StepperField::userChanged, this, [this] { relayoutOrReframe(); });
    connect(w.LR_mar_Text, &StepperField::userChanged, this, [this] { LR_Margin_Changed(); });
    connect(w.HeightText, &StepperField::userChanged, this, [this] { linearRelayout(); });
    connect(w.widthText, &StepperField::userChanged, this, [this] { barWidthStep(); });
    connect(w.HeightText_2D, &StepperField::userChanged, this, [this] { goButtonActionPerformed(); });
    connect(w.Pdf_widthText_2D, &StepperField::userChanged, this, [this] { widthChanged(); });
    connect(w.pdf_HeightText_2D, &StepperField::userChanged, this, [this] { goButtonActionPerformed(); });
    connect(w.pdf_row_Text, &StepperField::userChanged, this, [this](double v) {
        w.PDF_Row = int(v);
        goButtonActionPerformed();
    });
    connect(w.pdf_col_Text, &StepperField::userChanged, this, [this](double v) {
        w.PDF_Col = int(v);
        goButtonActionPerformed();
    });
    connect(w.pdf_ec_lvl_Text, &StepperField::userChanged, this, [this] { goButtonActionPerformed(); });
    for (StepperField *f : {w.dm_widthText_2D, w.dm_HeightText_2D})
        connect(f, &StepperField::userChanged, this, [this] { goButtonActionPerformed(); });
    connect(w.dm_moduleText_2D, &StepperField::userChanged, this, [this] {
        data_matrix_barcode_size_acc_format();
        goButtonActionPerformed();
    });
}

void BarcodeControls::connectFontsAndColours()
{
    connect(w.val_font_btn, &QPushButton::clicked, this,
            [this] { chooseFont(w.value_font, w.value_font_value); });
    connect(w.hdr_font_btn, &QPushButton::clicked, this,
            [this] { chooseFont(w.header_font, w.header_font_value); });
    connect(w.ftr_font_btn, &QPushButton::clicked, this,
            [this] { chooseFont(w.footer_font, w.footer_font_value); });
    for (ColorWell *well : {w.barcode_clr, w.bar_back_clr, w.bar_val_clr, w.bar_hdr_clr, w.bar_ftr_clr})
        connect(well, &ColorWell::colorPicked, this, [this] { Set_Font_Clr(); });
}

// Each help button shows its setting's explanation in the long-message dialog.
void BarcodeControls::connectHelpButtons()
{
    const struct {
        QToolButton *button;
        const char *title;
        const char *message;
    } help[] = {
        {w.qr_version_help,
         "Version :", "Version is configuration or number of modules (combination of black and white dots)."},
        {w.qr_ec_help, "Error correction (EC) level :",
         "An error-correction mechanism is built in each symbol so that the symbol can still be decoded "
         "even if it is damaged."},
        {w.pdf_row_help, "PDF Rows :", "Number of rows in the PDF barcode."},
        {w.pdf_col_help, "PDF Columns :", "Number of columns in the PDF barcode."},
        {w.pdf_ec_help, "PDF EC Level :",
         "An error-correction mechanism is built in each symbol so that the symbol can still be decoded "
         "even if it is damaged in PDF barcode."},
        {w.dm_format_help,
         "Preferred Format :", "Preferred Mode determines the smallest size of the symbol."},
        {w.dm_encoding_help,
         "Encoding Mode :", "Encoding Mode is mode of compaction to encode data in the symbol."},
        {w.dpi_help, "DPI (Dots Per Inch) :",
         "Dots per inch is a measure of the resolution of printers in terms of Print Quality.\n\n"
         "Bigger the DPI, Better the Print Quality. But File size of image also increases, as you choose "
         "bigger DPI."},
    };
    for (const auto &h : help) {
        const QString title = QString::fromLatin1(h.title);
        const QString message = QString::fromLatin1(h.message);
        connect(h.button, &QToolButton::clicked, this, [this, title, message] { showHelp(title, message); });
    }
}
