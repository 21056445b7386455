// The barcode properties window: symbology, value, texts and sizes of one barcode object with a
// live preview; OK stores the settings and the picture into the object, Cancel changes nothing.
#pragma once

#include "barcode/BarcodeSettings.h"
#include "platform/Picture.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QWidget;
class SKTBarcode;
class SKTGraphic;
class StepperField;

class Barcode_Gen : public QDialog
{
    Q_OBJECT
public:
    explicit Barcode_Gen(QWidget *parent = nullptr);

    // Loads the object's stored settings into the controls; makes no picture.
    void Set_Barcode_Prop_To_Control(const SKTGraphic &object);
    // Runs the window on the object. After OK the settings and the picture are stored into it and
    // the picture is returned; after Cancel the object is untouched and nothing is returned.
    std::optional<Picture> Open_Wnd(SKTBarcode &object);

    // The settings the controls stand for now.
    BarcodeSettings settings() const;
    // The value text of the current kind (the multi-line field for 2D symbols).
    QString currentValue() const;
    const Picture &previewPicture() const { return m_preview; }

    // Handlers, public so that the menu and tests reach the same paths as the controls.
    void barcodeTypeChanged();
    void goButtonActionPerformed();
    void Set_Blank_Image();
    void OK_Btn_Clicked();

    // Controls, named as the window's code refers to them.
    QComboBox *barcodeTypePopup = nullptr;
    QLineEdit *dataText = nullptr;
    QPlainTextEdit *dataText_2D = nullptr;
    QLineEdit *HeaderText = nullptr;
    QLineEdit *FooterText = nullptr;
    QCheckBox *captionCheckbox = nullptr;
    QCheckBox *hideHeaderCheckbox = nullptr;
    QCheckBox *hideFooterCheckbox = nullptr;
    QCheckBox *showinTopCheckbox = nullptr;
    QCheckBox *kerning_value_Checkbox = nullptr;
    QComboBox *align_hdr_combo = nullptr;
    QComboBox *align_ftr_combo = nullptr;
    StepperField *HeightText = nullptr;
    StepperField *widthText = nullptr;
    StepperField *HeightText_2D = nullptr;
    StepperField *pdf_HeightText_2D = nullptr;
    StepperField *Pdf_widthText_2D = nullptr;
    StepperField *pdf_ec_lvl_Text = nullptr;
    StepperField *dm_moduleText_2D = nullptr;
    StepperField *val_mar_Text = nullptr;
    StepperField *hdr_mar_Text = nullptr;
    StepperField *ftr_mar_Text = nullptr;
    StepperField *TB_mar_Text = nullptr;
    StepperField *LR_mar_Text = nullptr;
    QComboBox *qr_version_ComboBox = nullptr;
    QComboBox *qr_ec_lvl_ComboBox = nullptr;
    QComboBox *dm_format_ComboBox = nullptr;
    QComboBox *dm_encoding_ComboBox = nullptr;
    QComboBox *DPI_ComboBox = nullptr;
    QLineEdit *dpi_Text = nullptr;
    QLabel *barHeightLabel = nullptr;
    QLabel *barWidthLabel = nullptr;
    QGroupBox *margin_box = nullptr;
    QGroupBox *linear_sett_box = nullptr;
    QGroupBox *two_d_sett_box = nullptr;
    QGroupBox *pdf_2d_sett_box = nullptr;
    QGroupBox *dm_2d_sett_box = nullptr;
    QTabWidget *sett_tab = nullptr;
    QWidget *dpi_tab_item = nullptr;
    QLabel *barcodeImage = nullptr;
    QLabel *barcode_error_label = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    void buildControls();
    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();
    void _setLabels();
    void showPreview(const Picture &picture);
    void textChanged();

    int m_kind = 0;         // 0 linear, 1 2D
    bool m_loading = false; // set while controls are loaded in bulk: no previews
    Picture m_preview;
    // Fonts and colours are kept as loaded and stored back as they are.
    BarcodeSettings m_kept;
};
