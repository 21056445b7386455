// The signature page of the inspector: border and the signature or fingerprint picture file,
// under their outlet names.
#pragma once

class ColorWell;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class StepperField;

class SignTab
{
public:
    explicit SignTab(QWidget *page);

    QWidget *page;
    QCheckBox *Sign_border_chk;
    QGroupBox *Sign_Border_Box;
    ColorWell *Sign_bordr_clr;
    StepperField *Sign_bor_Stepper;
    QComboBox *Sign_border_style;
    QLineEdit *Sign_image_path;
    QPushButton *Sign_Browse_Btn;
};
