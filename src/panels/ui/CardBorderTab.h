// The card page's border tab: border on or off, its colour, width and dash style. It owns its
// controls; the card page panel connects and loads them.
#pragma once

class ColorWell;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QWidget;
class StepperField;

class CardBorderTab
{
public:
    explicit CardBorderTab(QWidget *page);

    QCheckBox *Card_border_chk = nullptr;
    QGroupBox *Card_Border_Box = nullptr;
    ColorWell *Card_bordr_clr = nullptr;
    StepperField *Card_bor_Stepper = nullptr;
    QComboBox *Card_border_style = nullptr;
};
