// The text properties page of the inspector: font, colour, alignment, case, kerning, opacity,
// border and solid or gradient fill, under their outlet names.
#pragma once

#include <QString>

class ColorWell;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class StepperField;

class TextPropertiesTab
{
public:
    explicit TextPropertiesTab(QWidget *page);

    // Which fill controls are enabled for a fill code ("G" gradient, anything else solid).
    void enableFillControls(const QString &fillCode);
    // The opacity is the fill's: it can be set only while the fill is on.
    void enableFillOpacity(bool fillOn);

    static inline const QString FillOpacityTip = QStringLiteral("Opacity of the text box's fill");

    QWidget *page;
    QLabel *Text_font_value;
    QPushButton *Text_Font_btn;
    ColorWell *Text_clr;
    QComboBox *Text_align_combo;
    QComboBox *Text_case_combo;
    StepperField *Text_Kern_Stepper;
    StepperField *Text_alpha_Stepper;
    QLabel *Text_alpha_label = nullptr;
    QCheckBox *Text_border_chk;
    QGroupBox *Text_Border_Box;
    ColorWell *Text_bordr_clr;
    StepperField *Text_bor_Stepper;
    QComboBox *Text_border_style;
    QCheckBox *Text_fill_chk;
    QGroupBox *Text_Fill_Box;
    QRadioButton *Text_solid_fill_rd;
    QRadioButton *Text_gradient_fill_rd;
    ColorWell *Text_fill_clr;
    ColorWell *Text_fill_Grd_1_clr;
    ColorWell *Text_fill_Grd_2_clr;
    StepperField *Text_grad_Stepper;

private:
    // One maker per group of controls, in the order the user tabs through them.
    QFormLayout *makeLookForm();
    QGroupBox *makeBorderBox();
    QGroupBox *makeFillBox();
};
