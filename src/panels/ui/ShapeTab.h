// The shape page of the inspector: border, fill (solid, gradient or pattern), opacity and the
// corner-radius, double-star and polygon controls, under their outlet names.
#pragma once

#include <QString>

class ColorWell;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;
class StepperField;

class ShapeTab
{
public:
    explicit ShapeTab(QWidget *page);

    // Hides the nine shape-specific controls, then shows the three of the code (unlocked only)
    // and puts the code's label in the title. Answers the label ("" for an unknown code).
    QString showControlsForShape(const QString &shapeCode, bool locked);
    static QString shapeLabel(const QString &shapeCode);
    // Which fill controls are enabled for a fill code ("G", "H", anything else solid).
    void enableFillControls(const QString &fillCode);

    QWidget *page;
    QLabel *Shape_prop_title;
    QCheckBox *Shape_border_chk;
    QGroupBox *Shape_Border_Box;
    ColorWell *shape_bordr_clr;
    StepperField *shape_bor_Stepper;
    QComboBox *shape_border_style;
    QCheckBox *Shape_fill_chk;
    QGroupBox *Shape_Fill_Box;
    QButtonGroup *fillRadios;
    QRadioButton *Shape_solid_fill_rd;
    QRadioButton *Shape_gradient_fill_rd;
    QRadioButton *Shape_Style_fill_rd;
    ColorWell *shape_fill_clr;
    ColorWell *shape_fill_Grd_1_clr;
    ColorWell *shape_fill_Grd_2_clr;
    StepperField *shape_grad_Stepper;
    ColorWell *shape_hatch_bk_clr;
    QComboBox *shape_hatch_style;
    StepperField *shape_alpha_Stepper;
    QLabel *shape_cor_radius_Label;
    StepperField *shape_cor_radius_Stepper;
    QLabel *double_star_Label;
    StepperField *double_star_Stepper;
    QLabel *polygon_Label;
    StepperField *polygon_Stepper;

private:
    // One maker per group of controls, in the order the user tabs through them.
    QGroupBox *makeBorderBox();
    QGroupBox *makeFillBox();
    QFormLayout *makeShapeRows();
};
