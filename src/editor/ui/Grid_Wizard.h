// The grid dialog: the grid's colour, spacing and showing. The controls act as they are changed
// (the main window handles them); Cancel hands back 0 and the caller restores the grid.
#pragma once

#include <QDialog>

class ColorWell;
class FloatSlider;
class QCheckBox;
class QGroupBox;
class QPushButton;

class Grid_Wizard : public QDialog
{
    Q_OBJECT
public:
    explicit Grid_Wizard(QWidget *parent = nullptr);

    int Open_Wnd();
    void OK_Btn_Clicked() { done(1); }
    void Cancel_Btn_Clicked() { done(0); }

    QCheckBox *Show_hide_grid_chk = nullptr;
    QGroupBox *Grid_Opt_box = nullptr;
    ColorWell *Grid_clr = nullptr;
    FloatSlider *Grid_Space_slidr = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;
};
