// The line page of the inspector: colour, width, dash style, orientation, cap and opacity, under
// their outlet names.
#pragma once

class ColorWell;
class QComboBox;
class QWidget;
class StepperField;

class LineTab
{
public:
    explicit LineTab(QWidget *page);

    QWidget *page;
    ColorWell *Line_clr;
    StepperField *Line_Wdt_Stepper;
    QComboBox *Line_border_style;
    QComboBox *Line_ori_style;
    QComboBox *Line_cap_style;
    StepperField *Line_alpha_Stepper;
};
