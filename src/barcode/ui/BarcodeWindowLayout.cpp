#include "barcode/ui/BarcodeWindowLayout.h"

#include "barcode/BarcodeSettings.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
QComboBox *comboWith(const QStringList &items, int selected)
{
    auto *box = new QComboBox;
    box->addItems(items);
    box->setCurrentIndex(selected);
    return box;
}

StepperField *whole(double minimum, double maximum, double value)
{
    auto *f = new StepperField(minimum, maximum);
    f->setValue(value);
    return f;
}

StepperField *margin()
{
    auto *f = new StepperField(0.0, 10.0, 0.05, 2);
    f->setValue(0.1);
    return f;
}

QToolButton *helpButton(const QString &name)
{
    auto *b = new QToolButton;
    b->setText(QStringLiteral("?"));
    b->setObjectName(name);
    b->setToolTip(QStringLiteral("What is this?"));
    return b;
}

// A field with its help button beside it.
QWidget *withHelp(QWidget *field, QToolButton *help)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(help);
    return row;
}
} // namespace

void BarcodeWindowLayout::buildLayout(QDialog *window)
{
    sett_tab = new QTabWidget;
    sett_tab->addTab(makeSymbolPage(), QStringLiteral("Barcode"));
    sett_tab->addTab(makeTextPage(), QStringLiteral("Texts"));
    sett_tab->addTab(makeMarginPage(), QStringLiteral("Margins"));
    sett_tab->addTab(makeResolutionPage(), QString::fromLatin1(dpiTabLabel()));

    auto *left = new QVBoxLayout;
    left->addLayout(makeValueForm());
    // The tabs take what height is left, so the value rows above them never move.
    left->addWidget(sett_tab, 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(makePreviewColumn(), 1);
    selection_label = new QLabel;
    selection_label->setObjectName(QStringLiteral("selection_label"));
    selection_label->setWordWrap(true);
    selection_label->hide();
    auto *main = new QVBoxLayout(window);
    main->addWidget(selection_label);
    main->addLayout(columns);
    main->addLayout(WindowLook::okCancelRow(window, ok_button, cancel_button));
    WindowLook::applyBackground(window);
}

QFormLayout *BarcodeWindowLayout::makeValueForm()
{
    barcodeTypePopup = new QComboBox;
    barcodeTypePopup->addItems(BarcodeSettings::linearTitles() + BarcodeSettings::twoDTitles());
    dataText = new QLineEdit(QStringLiteral("0123"));
    dataText_2D = new QPlainTextEdit(QStringLiteral("0123"));
    dataText_2D->setFixedHeight(60);
    dataText_2D->setTabChangesFocus(true); // a tab means nothing in a value: Tab moves on
    Data_source_type =
        comboWith({QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")}, 0);
    Batch_Series = new QComboBox;
    Batch_Series->setMinimumContentsLength(12);
    Batch_Series->setEnabled(false);
    view_series_btn = new QPushButton(QStringLiteral("Show Series"));
    view_series_btn->setEnabled(false);

    auto *valueForm = new QFormLayout;
    valueForm->addRow(QStringLiteral("Barcode type :"), barcodeTypePopup);
    // Both value fields share one place, the size of the larger: nothing around them moves when
    // the kind of symbol changes which of them shows.
    auto *valueBox = new QGridLayout;
    for (QWidget *field : {static_cast<QWidget *>(dataText), static_cast<QWidget *>(dataText_2D)}) {
        QSizePolicy policy = field->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        field->setSizePolicy(policy);
    }
    valueBox->addWidget(dataText, 0, 0, Qt::AlignTop);
    valueBox->addWidget(dataText_2D, 0, 0);
    valueForm->addRow(QStringLiteral("Value :"), valueBox);
    auto *source = new QHBoxLayout;
    source->addWidget(Data_source_type);
    source->addWidget(Batch_Series, 1);
    source->addWidget(view_series_btn);
    valueForm->addRow(QStringLiteral("Data source :"), source);
    return valueForm;
}

// Tab 0: the settings of the chosen kind of symbol.
QWidget *BarcodeWindowLayout::makeSymbolPage()
{
    bar_align_combo =
        comboWith({QStringLiteral("Center"), QStringLiteral("Top"), QStringLiteral("TopLeft"),
                   QStringLiteral("TopRight"), QStringLiteral("Left"), QStringLiteral("Bottom"),
                   QStringLiteral("BottomLeft"), QStringLiteral("BottomRight"), QStringLiteral("Right")},
                  0);
    auto *symbolPage = new QWidget;
    auto *symbolLayout = new QVBoxLayout(symbolPage);
    for (QGroupBox *box : {makeLinearBox(), makeQrBox(), makePdfBox(), makeDataMatrixBox()})
        symbolLayout->addWidget(box);
    auto *placement = new QFormLayout;
    placement->addRow(QStringLiteral("Preview placement :"), bar_align_combo);
    symbolLayout->addLayout(placement);
    symbolLayout->addStretch();
    return symbolPage;
}

QGroupBox *BarcodeWindowLayout::makeLinearBox()
{
    HeightText = new StepperField(0.1, 20.0, 0.1, 2);
    HeightText->setValue(0.6);
    widthText = new StepperField(1.0, 200.0, 1.0, 0);
    widthText->setValue(20.0);
    barHeightLabel = new QLabel;
    barWidthLabel = new QLabel;
    captionCheckbox = new QCheckBox(QStringLiteral("Hide value"));
    showinTopCheckbox = new QCheckBox(QStringLiteral("Value on top"));
    kerning_value_Checkbox = new QCheckBox(QStringLiteral("Spread value"));

    linear_sett_box = new QGroupBox(QStringLiteral("Linear"));
    auto *linearForm = new QFormLayout(linear_sett_box);
    linearForm->addRow(barHeightLabel, HeightText);
    linearForm->addRow(barWidthLabel, widthText);
    auto *checks = new QHBoxLayout;
    checks->addWidget(captionCheckbox);
    checks->addWidget(showinTopCheckbox);
    checks->addWidget(kerning_value_Checkbox);
    linearForm->addRow(checks);
    return linear_sett_box;
}

QGroupBox *BarcodeWindowLayout::makeQrBox()
{
    HeightText_2D = whole(21, 2000, 60);
    QStringList versions{QStringLiteral("Auto")};
    for (int v = 1; v <= 40; ++v)
        versions << QStringLiteral("V%1").arg(v);
    qr_version_ComboBox = comboWith(versions, 0);
    qr_ec_lvl_ComboBox =
        comboWith({QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("Q"), QStringLiteral("H")}, 0);
    qr_version_help = helpButton(QStringLiteral("qr_version_help"));
    qr_ec_help = helpButton(QStringLiteral("qr_ec_help"));

    two_d_sett_box = new QGroupBox(QStringLiteral("QR Code"));
    auto *qrForm = new QFormLayout(two_d_sett_box);
    qrForm->addRow(QStringLiteral("Size :"), HeightText_2D);
    qrForm->addRow(QStringLiteral("Version :"), withHelp(qr_version_ComboBox, qr_version_help));
    qrForm->addRow(QStringLiteral("Error correction :"), withHelp(qr_ec_lvl_ComboBox, qr_ec_help));
    return two_d_sett_box;
}

QGroupBox *BarcodeWindowLayout::makePdfBox()
{
    pdf_HeightText_2D = whole(1, 2000, 20);
    Pdf_widthText_2D = whole(1, 2000, 100);
    pdf_row_Text = whole(0, 90, 0);
    pdf_col_Text = whole(1, 30, 3);
    pdf_ec_lvl_Text = whole(0, 8, 2);
    pdf_row_help = helpButton(QStringLiteral("pdf_row_help"));
    pdf_col_help = helpButton(QStringLiteral("pdf_col_help"));
    pdf_ec_help = helpButton(QStringLiteral("pdf_ec_help"));

    pdf_2d_sett_box = new QGroupBox(QStringLiteral("PDF417"));
    auto *pdfForm = new QFormLayout(pdf_2d_sett_box);
    pdfForm->addRow(QStringLiteral("Height :"), pdf_HeightText_2D);
    pdfForm->addRow(QStringLiteral("Width :"), Pdf_widthText_2D);
    pdfForm->addRow(QStringLiteral("Rows :"), withHelp(pdf_row_Text, pdf_row_help));
    pdfForm->addRow(QStringLiteral("Columns :"), withHelp(pdf_col_Text, pdf_col_help));
    pdfForm->addRow(QStringLiteral("Error level :"), withHelp(pdf_ec_lvl_Text, pdf_ec_help));
    return pdf_2d_sett_box;
}

QGroupBox *BarcodeWindowLayout::makeDataMatrixBox()
{
    dm_moduleText_2D = whole(1, 50, 2);
    dm_widthText_2D = whole(1, 5000, 40);
    dm_HeightText_2D = whole(1, 5000, 40);
    dm_format_ComboBox = comboWith(BarcodeSettings::dataMatrixFormats(), 0);
    dm_encoding_ComboBox = comboWith(BarcodeSettings::dataMatrixEncodings(), 0);
    dm_format_help = helpButton(QStringLiteral("dm_format_help"));
    dm_encoding_help = helpButton(QStringLiteral("dm_encoding_help"));

    dm_2d_sett_box = new QGroupBox(QStringLiteral("DataMatrix"));
    auto *dmForm = new QFormLayout(dm_2d_sett_box);
    dmForm->addRow(QStringLiteral("Module :"), dm_moduleText_2D);
    dmForm->addRow(QStringLiteral("Width :"), dm_widthText_2D);
    dmForm->addRow(QStringLiteral("Height :"), dm_HeightText_2D);
    dmForm->addRow(QStringLiteral("Size :"), withHelp(dm_format_ComboBox, dm_format_help));
    dmForm->addRow(QStringLiteral("Encoding :"), withHelp(dm_encoding_ComboBox, dm_encoding_help));
    return dm_2d_sett_box;
}

// Tab 1: header, footer, fonts and colours.
QWidget *BarcodeWindowLayout::makeTextPage()
{
    HeaderText = new QLineEdit(QStringLiteral("HEADER"));
    FooterText = new QLineEdit(QStringLiteral("FOOTER"));
    hideHeaderCheckbox = new QCheckBox(QStringLiteral("Hide header"));
    hideFooterCheckbox = new QCheckBox(QStringLiteral("Hide footer"));
    align_hdr_combo = comboWith(BarcodeSettings::alignmentTitles(), 1);
    align_ftr_combo = comboWith(BarcodeSettings::alignmentTitles(), 1);
    makeFontControls();

    auto *textPage = new QWidget;
    auto *textGrid = new QGridLayout(textPage);
    int row = 0;
    // A text with its hide box, then its alignment and font.
    auto addText = [&](const QString &caption, QLineEdit *text, QCheckBox *hide, QComboBox *align,
                       QPushButton *font, QLabel *fontValue) {
        textGrid->addWidget(new QLabel(caption), row, 0);
        textGrid->addWidget(text, row, 1, 1, 2);
        textGrid->addWidget(hide, row++, 3);
        textGrid->addWidget(new QLabel(QStringLiteral("Alignment :")), row, 0);
        textGrid->addWidget(align, row, 1);
        textGrid->addWidget(font, row, 2);
        textGrid->addWidget(fontValue, row++, 3);
    };
    addText(QStringLiteral("Header :"), HeaderText, hideHeaderCheckbox, align_hdr_combo, hdr_font_btn,
            header_font_value);
    addText(QStringLiteral("Footer :"), FooterText, hideFooterCheckbox, align_ftr_combo, ftr_font_btn,
            footer_font_value);
    textGrid->addWidget(val_font_label, row, 0);
    textGrid->addWidget(val_font_btn, row, 2);
    textGrid->addWidget(value_font_value, row++, 3);
    textGrid->addWidget(makeColourBox(), row++, 0, 1, 4);
    textGrid->setRowStretch(row, 1);
    return textPage;
}

// Fonts: a button and a label "name ( size )" each.
void BarcodeWindowLayout::makeFontControls()
{
    val_font_btn = new QPushButton(QStringLiteral("Font..."));
    hdr_font_btn = new QPushButton(QStringLiteral("Font..."));
    ftr_font_btn = new QPushButton(QStringLiteral("Font..."));
    val_font_label = new QLabel(QStringLiteral("Value font :"));
    value_font_value = new QLabel;
    header_font_value = new QLabel;
    footer_font_value = new QLabel;
}

QGroupBox *BarcodeWindowLayout::makeColourBox()
{
    barcode_clr = new ColorWell(Qt::black);
    bar_back_clr = new ColorWell(Qt::white);
    bar_val_clr = new ColorWell(Qt::black);
    bar_hdr_clr = new ColorWell(Qt::black);
    bar_ftr_clr = new ColorWell(Qt::black);
    bar_clr_label = new QLabel(QStringLiteral("Bars :"));
    bar_bk_clr_label = new QLabel(QStringLiteral("Background :"));
    val_clr_label = new QLabel(QStringLiteral("Value :"));

    auto *colours = new QGroupBox(QStringLiteral("Colours"));
    auto *colourGrid = new QGridLayout(colours);
    colourGrid->addWidget(bar_clr_label, 0, 0);
    colourGrid->addWidget(barcode_clr, 0, 1);
    colourGrid->addWidget(bar_bk_clr_label, 0, 2);
    colourGrid->addWidget(bar_back_clr, 0, 3);
    colourGrid->addWidget(val_clr_label, 0, 4);
    colourGrid->addWidget(bar_val_clr, 0, 5);
    colourGrid->addWidget(new QLabel(QStringLiteral("Header :")), 1, 0);
    colourGrid->addWidget(bar_hdr_clr, 1, 1);
    colourGrid->addWidget(new QLabel(QStringLiteral("Footer :")), 1, 2);
    colourGrid->addWidget(bar_ftr_clr, 1, 3);
    return colours;
}

// Tab 2: margins.
QWidget *BarcodeWindowLayout::makeMarginPage()
{
    val_mar_Text = margin();
    hdr_mar_Text = margin();
    ftr_mar_Text = margin();
    TB_mar_Text = margin();
    LR_mar_Text = margin();
    val_mar_label = new QLabel(QStringLiteral("Value :"));

    auto *marginPage = new QWidget;
    auto *marginLayout = new QVBoxLayout(marginPage);
    margin_box = new QGroupBox;
    auto *marginForm = new QFormLayout(margin_box);
    marginForm->addRow(val_mar_label, val_mar_Text);
    marginForm->addRow(QStringLiteral("Header :"), hdr_mar_Text);
    marginForm->addRow(QStringLiteral("Footer :"), ftr_mar_Text);
    marginForm->addRow(QStringLiteral("Top and bottom :"), TB_mar_Text);
    marginForm->addRow(QStringLiteral("Left and right :"), LR_mar_Text);
    marginLayout->addWidget(margin_box);
    marginLayout->addStretch();
    return marginPage;
}

// Tab 3: resolution of 2D pictures, only while a 2D symbol is chosen.
QWidget *BarcodeWindowLayout::makeResolutionPage()
{
    DPI_ComboBox = comboWith(BarcodeSettings::dpiChoices(), 0);
    dpi_Text = whole(1, 4800, 600);
    dpi_custom_label = new QLabel(QStringLiteral("Custom (dpi) :"));
    dpi_help = helpButton(QStringLiteral("dpi_help"));

    dpi_tab_item = new QWidget;
    auto *dpiForm = new QFormLayout(dpi_tab_item);
    dpiForm->addRow(QStringLiteral("Resolution :"), withHelp(DPI_ComboBox, dpi_help));
    dpiForm->addRow(dpi_custom_label, dpi_Text);
    dpi_custom_label->hide();
    dpi_Text->hide();
    return dpi_tab_item;
}

// The preview, with the reason beneath it when there is no picture.
QVBoxLayout *BarcodeWindowLayout::makePreviewColumn()
{
    barcodeImage = new QLabel;
    barcodeImage->setAlignment(Qt::AlignCenter);
    barcodeImage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    barcodeImage->setAutoFillBackground(true);
    image_scroll = new QScrollArea;
    image_scroll->setWidget(barcodeImage);
    image_scroll->setWidgetResizable(true);
    image_scroll->setMinimumSize(340, 220);
    barcode_error_label = new QLabel(QStringLiteral("The value cannot be drawn in this barcode type"));
    barcode_error_label->setStyleSheet(QStringLiteral("color: #b00020"));
    barcode_error_label->setWordWrap(true);
    barcode_note_label = new QLabel;
    barcode_note_label->setObjectName(QStringLiteral("barcode_note_label"));
    barcode_note_label->setWordWrap(true);
    barcode_note_label->hide();

    auto *right = new QVBoxLayout;
    right->addWidget(image_scroll, 1);
    right->addWidget(barcode_error_label);
    right->addWidget(barcode_note_label);
    return right;
}
