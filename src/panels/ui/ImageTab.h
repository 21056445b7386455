// The picture page of the inspector: border, flips, colour effects and the nine adjustment
// sliders with their value labels, under their outlet names.
#pragma once

class ColorWell;
class FloatSlider;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QVBoxLayout;
class QWidget;
class StepperField;

class ImageTab
{
public:
    explicit ImageTab(QWidget *page);

    QWidget *page;
    QCheckBox *Image_border_chk;
    QGroupBox *Image_Border_Box;
    ColorWell *Image_bordr_clr;
    StepperField *Image_bor_Stepper;
    QComboBox *Image_border_style;
    QCheckBox *Image_FIH_chk;
    QCheckBox *Image_FIV_chk;
    QCheckBox *Image_Invert_chk;
    QCheckBox *Image_Gray_Scale_chk;
    QCheckBox *Image_Sepia_chk;
    FloatSlider *Rotate_slidr;
    FloatSlider *Trsp_slidr;
    FloatSlider *Hue_slidr;
    FloatSlider *Sat_slidr;
    FloatSlider *Brt_slidr;
    FloatSlider *Con_slidr;
    FloatSlider *shrp_slidr;
    FloatSlider *ev_slidr;
    FloatSlider *blr_slidr;
    QPushButton *Image_reset_Button;
    // Holds the picture-file controls while no data-source page offers its box for them.
    QVBoxLayout *manualSlot;

private:
    // One maker per group of controls, in the order the user tabs through them.
    QWidget *makeScrollingContent();
    void makeBorder(QWidget *content, QVBoxLayout *layout);
    QGridLayout *makeEffects(QWidget *content);
    QFormLayout *makeSliders(QWidget *content);
};
