// The card page's background tab: fill on or off, solid, gradient, pattern or picture, their
// colours, angle and picture, and the page opacity. It owns its controls; the card page panel
// connects and loads them.
#pragma once

class ColorWell;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class StepperField;

class CardBackgroundTab
{
public:
    explicit CardBackgroundTab(QWidget *page);

    QCheckBox *Card_fill_chk = nullptr;
    QGroupBox *Card_Fill_Box = nullptr;
    QRadioButton *Card_solid_fill_rd = nullptr;
    ColorWell *Card_fill_clr = nullptr;
    QRadioButton *Card_gradient_fill_rd = nullptr;
    ColorWell *Card_fill_Grd_1_clr = nullptr;
    ColorWell *Card_fill_Grd_2_clr = nullptr;
    StepperField *Card_grad_Stepper = nullptr;
    QRadioButton *Card_Style_fill_rd = nullptr;
    QComboBox *Card_hatch_style = nullptr;
    ColorWell *Card_hatch_bk_clr = nullptr;
    QRadioButton *Card_Image_fill_rd = nullptr;
    QGroupBox *Card_image_box = nullptr;
    QLineEdit *Card_Image_path = nullptr;
    QPushButton *Card_Image_Browse_btn = nullptr;
    QPushButton *Card_Image_Library_btn = nullptr;
    QComboBox *Card_image_layout = nullptr;
    StepperField *Card_alpha_Stepper = nullptr;

private:
    // One maker per group of rows of the fill box, in the order the user tabs through them.
    void makeSolidAndGradient(QFormLayout *form);
    void makePattern(QFormLayout *form);
    void makePicture(QFormLayout *form);
    ColorWell *well(ColorWell *&field, const char *name);
};
