#include "barcode/Barcode_Gen.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeRules.h"
#include "foundation/ModalRunner.h"
#include "foundation/StepperField.h"
#include "model/SKTBarcode.h"
#include "platform/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{
constexpr int kDpiTabIndex = 3;
constexpr double kPreviewDpi = 96.0;

QComboBox *comboWith(const QStringList &items, int selected)
{
    auto *box = new QComboBox;
    box->addItems(items);
    box->setCurrentIndex(selected);
    return box;
}

StepperField *margin()
{
    auto *f = new StepperField(0.0, 10.0, 0.05, 2);
    f->setValue(0.1);
    return f;
}
} // namespace

Barcode_Gen::Barcode_Gen(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Barcode Properties"));
    setObjectName(QStringLiteral("Barcode_Gen"));
    buildControls();
    // The resolution tab only belongs to 2D symbols; the window starts linear.
    dpi_tab_item = sett_tab->widget(kDpiTabIndex);
    sett_tab->removeTab(kDpiTabIndex);
    Liner_Barcode_Opt_Select();
    goButtonActionPerformed();
}

void Barcode_Gen::buildControls()
{
    barcodeTypePopup = new QComboBox;
    barcodeTypePopup->addItems(BarcodeSettings::linearTitles() + BarcodeSettings::twoDTitles());
    dataText = new QLineEdit(QStringLiteral("0123"));
    dataText_2D = new QPlainTextEdit(QStringLiteral("0123"));
    dataText_2D->setFixedHeight(60);
    HeaderText = new QLineEdit(QStringLiteral("HEADER"));
    FooterText = new QLineEdit(QStringLiteral("FOOTER"));
    captionCheckbox = new QCheckBox(QStringLiteral("Hide value"));
    hideHeaderCheckbox = new QCheckBox(QStringLiteral("Hide header"));
    hideFooterCheckbox = new QCheckBox(QStringLiteral("Hide footer"));
    showinTopCheckbox = new QCheckBox(QStringLiteral("Value on top"));
    kerning_value_Checkbox = new QCheckBox(QStringLiteral("Kerning"));
    align_hdr_combo = comboWith(BarcodeSettings::alignmentTitles(), 1);
    align_ftr_combo = comboWith(BarcodeSettings::alignmentTitles(), 1);

    HeightText = new StepperField(0.1, 20.0, 0.1, 2);
    HeightText->setValue(0.6);
    widthText = new StepperField(1.0, 200.0, 1.0, 0);
    widthText->setValue(20.0);
    HeightText_2D = new StepperField(21.0, 2000.0);
    HeightText_2D->setValue(60);
    pdf_HeightText_2D = new StepperField(1.0, 2000.0);
    pdf_HeightText_2D->setValue(20);
    Pdf_widthText_2D = new StepperField(1.0, 2000.0);
    Pdf_widthText_2D->setValue(100);
    pdf_ec_lvl_Text = new StepperField(0.0, 8.0);
    pdf_ec_lvl_Text->setValue(2);
    dm_moduleText_2D = new StepperField(1.0, 50.0);
    dm_moduleText_2D->setValue(2);
    val_mar_Text = margin();
    hdr_mar_Text = margin();
    ftr_mar_Text = margin();
    TB_mar_Text = margin();
    LR_mar_Text = margin();

    QStringList versions{QStringLiteral("Auto")};
    for (int v = 1; v <= 40; ++v)
        versions << QStringLiteral("V%1").arg(v);
    qr_version_ComboBox = comboWith(versions, 0);
    qr_ec_lvl_ComboBox =
        comboWith({QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("Q"), QStringLiteral("H")}, 0);
    dm_format_ComboBox = comboWith(BarcodeSettings::dataMatrixFormats(), 0);
    dm_encoding_ComboBox = comboWith(BarcodeSettings::dataMatrixEncodings(), 0);
    DPI_ComboBox = comboWith(BarcodeSettings::dpiChoices(), 0);
    dpi_Text = new QLineEdit(QStringLiteral("0"));

    barHeightLabel = new QLabel;
    barWidthLabel = new QLabel;

    // Tab 0: symbol settings by kind.
    linear_sett_box = new QGroupBox(QStringLiteral("Linear"));
    auto *linearForm = new QFormLayout(linear_sett_box);
    linearForm->addRow(barHeightLabel, HeightText);
    linearForm->addRow(barWidthLabel, widthText);
    auto *checks = new QHBoxLayout;
    checks->addWidget(captionCheckbox);
    checks->addWidget(showinTopCheckbox);
    checks->addWidget(kerning_value_Checkbox);
    linearForm->addRow(checks);

    two_d_sett_box = new QGroupBox(QStringLiteral("QR Code"));
    auto *qrForm = new QFormLayout(two_d_sett_box);
    qrForm->addRow(QStringLiteral("Size :"), HeightText_2D);
    qrForm->addRow(QStringLiteral("Version :"), qr_version_ComboBox);
    qrForm->addRow(QStringLiteral("Error correction :"), qr_ec_lvl_ComboBox);

    pdf_2d_sett_box = new QGroupBox(QStringLiteral("PDF417"));
    auto *pdfForm = new QFormLayout(pdf_2d_sett_box);
    pdfForm->addRow(QStringLiteral("Height :"), pdf_HeightText_2D);
    pdfForm->addRow(QStringLiteral("Width :"), Pdf_widthText_2D);
    pdfForm->addRow(QStringLiteral("Error level :"), pdf_ec_lvl_Text);

    dm_2d_sett_box = new QGroupBox(QStringLiteral("DataMatrix"));
    auto *dmForm = new QFormLayout(dm_2d_sett_box);
    dmForm->addRow(QStringLiteral("Module :"), dm_moduleText_2D);
    dmForm->addRow(QStringLiteral("Size :"), dm_format_ComboBox);
    dmForm->addRow(QStringLiteral("Encoding :"), dm_encoding_ComboBox);

    auto *symbolPage = new QWidget;
    auto *symbolLayout = new QVBoxLayout(symbolPage);
    for (QGroupBox *box : {linear_sett_box, two_d_sett_box, pdf_2d_sett_box, dm_2d_sett_box})
        symbolLayout->addWidget(box);
    symbolLayout->addStretch();

    // Tab 1: header and footer.
    auto *textPage = new QWidget;
    auto *textForm = new QFormLayout(textPage);
    textForm->addRow(QStringLiteral("Header :"), HeaderText);
    textForm->addRow(QStringLiteral("Header alignment :"), align_hdr_combo);
    textForm->addRow(hideHeaderCheckbox);
    textForm->addRow(QStringLiteral("Footer :"), FooterText);
    textForm->addRow(QStringLiteral("Footer alignment :"), align_ftr_combo);
    textForm->addRow(hideFooterCheckbox);

    // Tab 2: margins.
    auto *marginPage = new QWidget;
    auto *marginLayout = new QVBoxLayout(marginPage);
    margin_box = new QGroupBox;
    auto *marginForm = new QFormLayout(margin_box);
    marginForm->addRow(QStringLiteral("Value :"), val_mar_Text);
    marginForm->addRow(QStringLiteral("Header :"), hdr_mar_Text);
    marginForm->addRow(QStringLiteral("Footer :"), ftr_mar_Text);
    marginForm->addRow(QStringLiteral("Top and bottom :"), TB_mar_Text);
    marginForm->addRow(QStringLiteral("Left and right :"), LR_mar_Text);
    marginLayout->addWidget(margin_box);
    marginLayout->addStretch();

    // Tab 3: resolution of 2D pictures.
    auto *dpiPage = new QWidget;
    auto *dpiForm = new QFormLayout(dpiPage);
    dpiForm->addRow(QStringLiteral("Resolution :"), DPI_ComboBox);
    dpiForm->addRow(QStringLiteral("Custom (dpi) :"), dpi_Text);

    sett_tab = new QTabWidget;
    sett_tab->addTab(symbolPage, QStringLiteral("Barcode"));
    sett_tab->addTab(textPage, QStringLiteral("Texts"));
    sett_tab->addTab(marginPage, QStringLiteral("Margins"));
    sett_tab->addTab(dpiPage, QStringLiteral("Resolution"));

    barcodeImage = new QLabel;
    barcodeImage->setAlignment(Qt::AlignCenter);
    barcodeImage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *scroll = new QScrollArea;
    scroll->setWidget(barcodeImage);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(320, 200);
    barcode_error_label = new QLabel(QStringLiteral("The value cannot be drawn in this barcode type"));
    barcode_error_label->setStyleSheet(QStringLiteral("color: #b00020"));

    auto *buttons = new QDialogButtonBox;
    ok_button = buttons->addButton(QDialogButtonBox::Ok);
    cancel_button = buttons->addButton(QDialogButtonBox::Cancel);

    auto *valueForm = new QFormLayout;
    valueForm->addRow(QStringLiteral("Barcode type :"), barcodeTypePopup);
    auto *valueBox = new QVBoxLayout;
    valueBox->addWidget(dataText);
    valueBox->addWidget(dataText_2D);
    valueForm->addRow(QStringLiteral("Value :"), valueBox);

    auto *left = new QVBoxLayout;
    left->addLayout(valueForm);
    left->addWidget(sett_tab);
    auto *right = new QVBoxLayout;
    right->addWidget(scroll, 1);
    right->addWidget(barcode_error_label);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addWidget(buttons);

    connect(barcodeTypePopup, &QComboBox::activated, this, [this] { barcodeTypeChanged(); });
    connect(dataText, &QLineEdit::textEdited, this, [this] { textChanged(); });
    connect(dataText_2D, &QPlainTextEdit::textChanged, this, [this] { textChanged(); });
    connect(HeaderText, &QLineEdit::textEdited, this, [this] { textChanged(); });
    connect(FooterText, &QLineEdit::textEdited, this, [this] { textChanged(); });
    for (QCheckBox *box :
         {captionCheckbox, hideHeaderCheckbox, hideFooterCheckbox, showinTopCheckbox, kerning_value_Checkbox})
        connect(box, &QCheckBox::clicked, this, [this] { textChanged(); });
    for (QComboBox *box : {align_hdr_combo, align_ftr_combo, qr_version_ComboBox, qr_ec_lvl_ComboBox,
                           dm_format_ComboBox, dm_encoding_ComboBox, DPI_ComboBox})
        connect(box, &QComboBox::activated, this, [this] { textChanged(); });
    for (StepperField *f :
         {HeightText, widthText, HeightText_2D, pdf_HeightText_2D, Pdf_widthText_2D, pdf_ec_lvl_Text,
          dm_moduleText_2D, val_mar_Text, hdr_mar_Text, ftr_mar_Text, TB_mar_Text, LR_mar_Text})
        connect(f, &StepperField::userChanged, this, [this] { textChanged(); });
    connect(ok_button, &QPushButton::clicked, this, [this] { OK_Btn_Clicked(); });
    connect(cancel_button, &QPushButton::clicked, this, &QDialog::reject);
}

BarcodeSettings Barcode_Gen::settings() const
{
    BarcodeSettings s = m_kept;
    s.symbologyTitle = barcodeTypePopup->currentText();
    s.linear_or_2d = m_kind;
    s.show_hide_hdr = hideHeaderCheckbox->isChecked() ? 1 : 0;
    s.show_hide_ftr = hideFooterCheckbox->isChecked() ? 1 : 0;
    s.show_hide_val = captionCheckbox->isChecked() ? 1 : 0;
    s.show_val_on_top = showinTopCheckbox->isChecked() ? 1 : 0;
    s.kerning_value = kerning_value_Checkbox->isEnabled() && kerning_value_Checkbox->isChecked() ? 1 : 0;
    s.captionBoxEnabled = captionCheckbox->isEnabled();
    s.align_hdr_index = align_hdr_combo->currentIndex();
    s.align_ftr_index = align_ftr_combo->currentIndex();
    s.linear_height_val = HeightText->value();
    s.linear_width_val = widthText->value();
    s.unit = 1;
    s.hdr_margin_val = hdr_mar_Text->value();
    s.ftr_margin_val = ftr_mar_Text->value();
    s.val_margin_val = val_mar_Text->value();
    s.TB_marging_val = TB_mar_Text->value();
    s.LR_margin_val = LR_mar_Text->value();
    s.qr_size_val = int(HeightText_2D->value());
    s.qr_version_index = qr_version_ComboBox->currentIndex();
    s.qr_ec_index = qr_ec_lvl_ComboBox->currentIndex();
    s.pdf_hgt_val = int(pdf_HeightText_2D->value());
    s.pdf_wdt_val = int(Pdf_widthText_2D->value());
    s.pdf_ec_val = int(pdf_ec_lvl_Text->value());
    s.dm_module_val = int(dm_moduleText_2D->value());
    s.dm_format_index = dm_format_ComboBox->currentIndex();
    s.dm_encoding_index = dm_encoding_ComboBox->currentIndex();
    s.dpi_val_index = DPI_ComboBox->currentIndex();
    s.dpi_custom_val = dpi_Text->text();
    s.dpi = BarcodeSettings::dpiForChoice(s.dpi_val_index, s.dpi_custom_val);
    return s;
}

QString Barcode_Gen::currentValue() const
{
    return m_kind != 0 ? dataText_2D->toPlainText() : dataText->text();
}

void Barcode_Gen::textChanged()
{
    if (!m_loading)
        goButtonActionPerformed();
}

void Barcode_Gen::goButtonActionPerformed()
{
    const BarcodePreview p = BarcodeGenerator::Generate_Barcode_Variable(
        settings(), currentValue(), HeaderText->text(), FooterText->text());
    if (p.ok())
        showPreview(p.picture);
    else
        Set_Blank_Image();
}

void Barcode_Gen::showPreview(const Picture &picture)
{
    m_preview = picture;
    barcodeImage->setPixmap(QPixmap::fromImage(picture.toImage(kPreviewDpi, Qt::white)));
    barcode_error_label->hide();
}

void Barcode_Gen::Set_Blank_Image()
{
    m_preview = Picture();
    barcodeImage->setPixmap(QPixmap());
    barcode_error_label->show();
}

void Barcode_Gen::barcodeTypeChanged()
{
    const QString title = barcodeTypePopup->currentText();
    if (BarcodeSettings::isTwoDTitle(title))
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    const QString value = currentValue();
    if (m_kind == 0) {
        for (QWidget *w : std::initializer_list<QWidget *>{
                 HeightText, widthText, captionCheckbox, hideHeaderCheckbox, hideFooterCheckbox, FooterText,
                 val_mar_Text, hdr_mar_Text, ftr_mar_Text, align_hdr_combo, align_ftr_combo,
                 showinTopCheckbox, kerning_value_Checkbox})
            w->setEnabled(true);
    }
    if (value.isEmpty()) {
        MessageService::deliverMessage(QStringLiteral("Please enter barcode value"));
        Set_Blank_Image();
        return;
    }
    static const QStringList noKerning = {QStringLiteral("UPCE"), QStringLiteral("UPCA"),
                                          QStringLiteral("EAN-8"), QStringLiteral("EAN-13")};
    if (noKerning.contains(title))
        kerning_value_Checkbox->setEnabled(false);
    goButtonActionPerformed();
}

void Barcode_Gen::Liner_Barcode_Opt_Select()
{
    m_kind = 0;
    dataText->setEnabled(true);
    dataText->show();
    dataText_2D->hide();
    for (QWidget *w :
         std::initializer_list<QWidget *>{showinTopCheckbox, captionCheckbox, val_mar_Text, linear_sett_box})
        w->show();
    for (QGroupBox *box : {two_d_sett_box, pdf_2d_sett_box, dm_2d_sett_box})
        box->hide();
    if (sett_tab->count() == 4)
        sett_tab->removeTab(kDpiTabIndex);
    sett_tab->setCurrentIndex(0);
    _setLabels();
}

void Barcode_Gen::two_d_barcode_Opt_Select()
{
    m_kind = 1;
    dataText->setEnabled(false);
    dataText->hide();
    dataText_2D->show();
    for (QWidget *w :
         std::initializer_list<QWidget *>{showinTopCheckbox, captionCheckbox, val_mar_Text, linear_sett_box})
        w->hide();
    const QString title = barcodeTypePopup->currentText();
    if (BarcodeSettings::isTwoDTitle(title)) {
        two_d_sett_box->setVisible(title == QLatin1String("QR Code"));
        pdf_2d_sett_box->setVisible(title == QLatin1String("PDF417"));
        dm_2d_sett_box->setVisible(title == QLatin1String("DataMatrix"));
    }
    if (sett_tab->count() == 3)
        sett_tab->insertTab(kDpiTabIndex, dpi_tab_item, QStringLiteral("Resolution"));
    _setLabels();
}

void Barcode_Gen::_setLabels()
{
    // The window always works in centimetres.
    if (m_kind != 0) {
        barHeightLabel->setText(QStringLiteral("Bar Height :"));
        barWidthLabel->setText(QStringLiteral("Bar Width :"));
    } else {
        barHeightLabel->setText(QStringLiteral("Bar Height (cm):"));
        barWidthLabel->setText(QStringLiteral("Bar Width (Mils):"));
    }
    margin_box->setTitle(QStringLiteral("Margins (cm)"));
}

void Barcode_Gen::Set_Barcode_Prop_To_Control(const SKTGraphic &o)
{
    m_loading = true;
    m_kind = o.linear_or_2d != 0 ? 1 : 0;
    const int offset = m_kind != 0 ? int(BarcodeSettings::linearTitles().size()) : 0;
    const QString title = BarcodeSettings::titleForIndex(m_kind, o.barcode_font_index);
    barcodeTypePopup->setCurrentIndex(title.isEmpty() ? offset : offset + o.barcode_font_index);
    dataText->setText(o.linear_font_val.value_or(QString()));
    dataText_2D->setPlainText(o.two_d_font_val.value_or(QString()));
    HeaderText->setText(o.header_val.value_or(QString()));
    FooterText->setText(o.footer_val.value_or(QString()));
    hideHeaderCheckbox->setChecked(o.show_hide_hdr == 1);
    hideFooterCheckbox->setChecked(o.show_hide_ftr == 1);
    captionCheckbox->setChecked(o.show_hide_val == 1);
    showinTopCheckbox->setChecked(o.show_val_on_top == 1);
    align_hdr_combo->setCurrentIndex(o.align_hdr_index);
    align_ftr_combo->setCurrentIndex(o.align_ftr_index);
    HeightText->setValue(o.linear_height_val);
    widthText->setValue(o.linear_width_val);
    HeightText_2D->setValue(o.qr_size_val);
    qr_version_ComboBox->setCurrentIndex(o.qr_version_index);
    qr_ec_lvl_ComboBox->setCurrentIndex(o.qr_ec_index);
    pdf_HeightText_2D->setValue(o.pdf_hgt_val);
    Pdf_widthText_2D->setValue(o.pdf_wdt_val);
    pdf_ec_lvl_Text->setValue(o.pdf_ec_val);
    dm_moduleText_2D->setValue(o.dm_module_val);
    dm_format_ComboBox->setCurrentIndex(o.dm_format_index);
    dm_encoding_ComboBox->setCurrentIndex(o.dm_encoding_index);
    hdr_mar_Text->setValue(o.hdr_margin_val);
    ftr_mar_Text->setValue(o.ftr_margin_val);
    val_mar_Text->setValue(o.val_margin_val);
    TB_mar_Text->setValue(o.TB_marging_val);
    LR_mar_Text->setValue(o.LR_margin_val);
    const BarcodeSettings defaults;
    m_kept.value_font = o.value_font_val.value_or(defaults.value_font);
    m_kept.header_font = o.header_font_val.value_or(defaults.header_font);
    m_kept.footer_font = o.footer_font_val.value_or(defaults.footer_font);
    m_kept.barcode_hdr_clr = o.barcode_hdr_clr_val.value_or(defaults.barcode_hdr_clr);
    m_kept.barcode_ftr_clr = o.barcode_ftr_clr_val.value_or(defaults.barcode_ftr_clr);
    m_kept.barcode_val_clr = o.barcode_val_clr_val.value_or(defaults.barcode_val_clr);
    m_kept.barcode_back_clr = o.barcode_back_clr_val.value_or(defaults.barcode_back_clr);
    m_kept.barcode_clr = o.barcode_clr_val.value_or(defaults.barcode_clr);
    // The resolution in use follows the loaded choice, custom value included.
    DPI_ComboBox->setCurrentIndex(o.dpi_val_index);
    dpi_Text->setText(o.dpi_custom_val.value_or(QStringLiteral("0")));
    if (m_kind != 0)
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    m_loading = false;
}

void Barcode_Gen::OK_Btn_Clicked()
{
    if (!BarcodeRules::Check_And_Validat_Barcode(currentValue())) {
        Set_Blank_Image();
        return;
    }
    accept();
}

std::optional<Picture> Barcode_Gen::Open_Wnd(SKTBarcode &o)
{
    Set_Barcode_Prop_To_Control(o);
    goButtonActionPerformed();
    if (ModalRunner::exec(*this) != QDialog::Accepted || m_preview.isNull())
        return std::nullopt;

    const BarcodeSettings s = settings();
    const int offset = m_kind != 0 ? int(BarcodeSettings::linearTitles().size()) : 0;
    o.linear_or_2d = m_kind;
    o.barcode_font_index = barcodeTypePopup->currentIndex() - offset;
    o.linear_font_val = dataText->text();
    o.two_d_font_val = dataText_2D->toPlainText();
    o.header_val = HeaderText->text();
    o.footer_val = FooterText->text();
    o.show_hide_hdr = s.show_hide_hdr;
    o.show_hide_ftr = s.show_hide_ftr;
    o.show_hide_val = s.show_hide_val;
    o.show_val_on_top = s.show_val_on_top;
    o.align_hdr_index = s.align_hdr_index;
    o.align_ftr_index = s.align_ftr_index;
    o.linear_height_val = float(s.linear_height_val);
    o.linear_width_val = float(s.linear_width_val);
    o.qr_size_val = s.qr_size_val;
    o.qr_version_index = s.qr_version_index;
    o.qr_ec_index = s.qr_ec_index;
    o.pdf_hgt_val = s.pdf_hgt_val;
    o.pdf_wdt_val = s.pdf_wdt_val;
    o.pdf_ec_val = s.pdf_ec_val;
    o.dm_module_val = s.dm_module_val;
    o.dm_format_index = s.dm_format_index;
    o.dm_encoding_index = s.dm_encoding_index;
    o.hdr_margin_val = float(s.hdr_margin_val);
    o.ftr_margin_val = float(s.ftr_margin_val);
    o.val_margin_val = float(s.val_margin_val);
    o.TB_marging_val = float(s.TB_marging_val);
    o.LR_margin_val = float(s.LR_margin_val);
    o.value_font_val = s.value_font;
    o.header_font_val = s.header_font;
    o.footer_font_val = s.footer_font;
    o.barcode_hdr_clr_val = s.barcode_hdr_clr;
    o.barcode_ftr_clr_val = s.barcode_ftr_clr;
    o.barcode_val_clr_val = s.barcode_val_clr;
    o.barcode_back_clr_val = s.barcode_back_clr;
    o.barcode_clr_val = s.barcode_clr;
    o.dpi_val_index = s.dpi_val_index;
    o.dpi_custom_val = s.dpi_custom_val;
    o.Set_Barcode_image(m_preview);
    o.barcode_image_var_assign();
    return m_preview;
}
