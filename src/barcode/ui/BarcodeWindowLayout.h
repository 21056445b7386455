// The controls of the barcode properties window and where they sit: value, data source, the
// settings tabs, preview and buttons. Holds no behaviour; the window and its handlers wire it.
#pragma once

class ColorWell;
class QCheckBox;
class QComboBox;
class QDialog;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class QWidget;
class StepperField;

class BarcodeWindowLayout
{
public:
    // Makes every control with its start value and lays them out on the window.
    void buildLayout(QDialog *window);

    // Symbology, value and its source.
    QComboBox *barcodeTypePopup = nullptr;
    QLineEdit *dataText = nullptr;
    QPlainTextEdit *dataText_2D = nullptr;
    QComboBox *Data_source_type = nullptr;
    QComboBox *Batch_Series = nullptr;
    QPushButton *view_series_btn = nullptr;

    // Texts.
    QLineEdit *HeaderText = nullptr;
    QLineEdit *FooterText = nullptr;
    QCheckBox *captionCheckbox = nullptr;
    QCheckBox *hideHeaderCheckbox = nullptr;
    QCheckBox *hideFooterCheckbox = nullptr;
    QCheckBox *showinTopCheckbox = nullptr;
    QCheckBox *kerning_value_Checkbox = nullptr;
    QComboBox *align_hdr_combo = nullptr;
    QComboBox *align_ftr_combo = nullptr;
    QComboBox *bar_align_combo = nullptr;

    // Fonts: a button and a label "name ( size )" each.
    QPushButton *val_font_btn = nullptr;
    QPushButton *hdr_font_btn = nullptr;
    QPushButton *ftr_font_btn = nullptr;
    QLabel *val_font_label = nullptr;
    QLabel *value_font_value = nullptr;
    QLabel *header_font_value = nullptr;
    QLabel *footer_font_value = nullptr;

    // Colours of bars, background, value text, header and footer.
    ColorWell *barcode_clr = nullptr;
    ColorWell *bar_back_clr = nullptr;
    ColorWell *bar_val_clr = nullptr;
    ColorWell *bar_hdr_clr = nullptr;
    ColorWell *bar_ftr_clr = nullptr;
    QLabel *bar_clr_label = nullptr;
    QLabel *bar_bk_clr_label = nullptr;
    QLabel *val_clr_label = nullptr;

    // Linear sizes.
    StepperField *HeightText = nullptr;
    StepperField *widthText = nullptr;
    QLabel *barHeightLabel = nullptr;
    QLabel *barWidthLabel = nullptr;

    // QR Code.
    StepperField *HeightText_2D = nullptr;
    QComboBox *qr_version_ComboBox = nullptr;
    QComboBox *qr_ec_lvl_ComboBox = nullptr;

    // PDF417.
    StepperField *pdf_HeightText_2D = nullptr;
    StepperField *Pdf_widthText_2D = nullptr;
    StepperField *pdf_row_Text = nullptr;
    StepperField *pdf_col_Text = nullptr;
    StepperField *pdf_ec_lvl_Text = nullptr;

    // Data Matrix.
    StepperField *dm_moduleText_2D = nullptr;
    StepperField *dm_widthText_2D = nullptr;
    StepperField *dm_HeightText_2D = nullptr;
    QComboBox *dm_format_ComboBox = nullptr;
    QComboBox *dm_encoding_ComboBox = nullptr;

    // Margins in the unit.
    StepperField *val_mar_Text = nullptr;
    StepperField *hdr_mar_Text = nullptr;
    StepperField *ftr_mar_Text = nullptr;
    StepperField *TB_mar_Text = nullptr;
    StepperField *LR_mar_Text = nullptr;
    QLabel *val_mar_label = nullptr;

    // Resolution of 2D pictures.
    QComboBox *DPI_ComboBox = nullptr;
    StepperField *dpi_Text = nullptr;
    QLabel *dpi_custom_label = nullptr;

    // Help buttons, each naming its setting.
    QToolButton *qr_version_help = nullptr;
    QToolButton *qr_ec_help = nullptr;
    QToolButton *pdf_row_help = nullptr;
    QToolButton *pdf_col_help = nullptr;
    QToolButton *pdf_ec_help = nullptr;
    QToolButton *dm_format_help = nullptr;
    QToolButton *dm_encoding_help = nullptr;
    QToolButton *dpi_help = nullptr;

    // Groups shown by kind of symbology, the tabs and the preview.
    QGroupBox *margin_box = nullptr;
    QGroupBox *linear_sett_box = nullptr;
    QGroupBox *two_d_sett_box = nullptr;
    QGroupBox *pdf_2d_sett_box = nullptr;
    QGroupBox *dm_2d_sett_box = nullptr;
    QTabWidget *sett_tab = nullptr;
    QWidget *dpi_tab_item = nullptr;
    QScrollArea *image_scroll = nullptr;
    QLabel *barcodeImage = nullptr;
    QLabel *barcode_error_label = nullptr;
    // What the window did or must tell before OK: a value replaced, a symbol too large for the card.
    QLabel *barcode_note_label = nullptr;
    // Over several selected barcodes: how many, and that only changed settings go to them all.
    QLabel *selection_label = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

    static constexpr int kDpiTabIndex = 3;
    static const char *dpiTabLabel() { return "Resolution"; }

private:
    // Each group makes its controls and lays them out; buildLayout assembles the groups.
    QFormLayout *makeValueForm();
    QWidget *makeSymbolPage();
    QGroupBox *makeLinearBox();
    QGroupBox *makeQrBox();
    QGroupBox *makePdfBox();
    QGroupBox *makeDataMatrixBox();
    QWidget *makeTextPage();
    void makeFontControls();
    QGroupBox *makeColourBox();
    QWidget *makeMarginPage();
    QWidget *makeResolutionPage();
    QVBoxLayout *makePreviewColumn();
};
