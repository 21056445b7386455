#include "panels/ui/ShapeTab.h"

#include "foundation/CardCodes.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "model/Shape_Control.h"
#include "panels/InspectorTabPlan.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
QStringList doubleStarChoiceLabels()
{
    QStringList labels;
    for (int choice = 1; choice <= 5; ++choice)
        labels << QStringLiteral("%1 points").arg(Shape_Control::doubleStarPoints(choice));
    return labels;
}

// An even count traces a polygon of half as many sides twice; 8 is the four-pointed star.
QStringList polygonChoiceLabels()
{
    static const char *const names[] = {"",         "",        "",         "",       "4-point star",
                                        "Pentagon", "Hexagon", "Heptagon", "Octagon"};
    QStringList labels;
    for (int choice = 1; choice <= 5; ++choice)
        labels << QString::fromLatin1(names[Shape_Control::polygonPoints(choice) / 2]);
    return labels;
}
} // namespace

using PanelWidgets::named;

ShapeTab::ShapeTab(QWidget *p) : page(p)
{
    shape_border_style = PanelWidgets::combo(page, "shape_border_style", PanelWidgets::borderStyleNames());
    shape_hatch_style = PanelWidgets::combo(page, "shape_hatch_style");
    auto *layout = new QVBoxLayout(page);
    Shape_prop_title =
        named(PanelWidgets::title(page, QStringLiteral("Rectangle Properties")), "Shape_prop_title");
    layout->addWidget(Shape_prop_title);
    Shape_border_chk = named(new QCheckBox(QStringLiteral("Border"), page), "Shape_border_chk");
    layout->addWidget(Shape_border_chk);
    layout->addWidget(makeBorderBox());
    Shape_fill_chk = named(new QCheckBox(QStringLiteral("Fill"), page), "Shape_fill_chk");
    layout->addWidget(Shape_fill_chk);
    layout->addWidget(makeFillBox());
    layout->addLayout(makeShapeRows());
    layout->addStretch();

    // The combos were made first: Tab goes through the controls as they stand.
    PanelWidgets::tabOrder({Shape_border_chk, shape_bordr_clr, shape_bor_Stepper, shape_border_style,
                            Shape_fill_chk, Shape_solid_fill_rd, shape_fill_clr, Shape_gradient_fill_rd,
                            shape_fill_Grd_1_clr, shape_fill_Grd_2_clr, shape_grad_Stepper,
                            Shape_Style_fill_rd, shape_hatch_style, shape_hatch_bk_clr, shape_alpha_Stepper,
                            shape_cor_radius_Stepper, double_star_Stepper, polygon_Stepper});
}

QGroupBox *ShapeTab::makeBorderBox()
{
    Shape_Border_Box = named(new QGroupBox(page), "Shape_Border_Box");
    auto *border = new QFormLayout(Shape_Border_Box);
    shape_bordr_clr = named(new ColorWell(Qt::black, Shape_Border_Box), "shape_bordr_clr");
    shape_bor_Stepper = named(new StepperField(0, 50, 1, 0, Shape_Border_Box), "shape_bor_Stepper");
    border->addRow(QStringLiteral("Colour:"), shape_bordr_clr);
    border->addRow(QStringLiteral("Width:"), shape_bor_Stepper);
    border->addRow(QStringLiteral("Style:"), shape_border_style);
    return Shape_Border_Box;
}

QGroupBox *ShapeTab::makeFillBox()
{
    Shape_Fill_Box = named(new QGroupBox(page), "Shape_Fill_Box");
    auto *fill = new QFormLayout(Shape_Fill_Box);
    fillRadios = new QButtonGroup(Shape_Fill_Box);
    Shape_solid_fill_rd =
        named(new QRadioButton(QStringLiteral("Solid"), Shape_Fill_Box), "Shape_solid_fill_rd");
    Shape_gradient_fill_rd =
        named(new QRadioButton(QStringLiteral("Gradient"), Shape_Fill_Box), "Shape_gradient_fill_rd");
    Shape_Style_fill_rd =
        named(new QRadioButton(QStringLiteral("Pattern"), Shape_Fill_Box), "Shape_Style_fill_rd");
    fillRadios->addButton(Shape_solid_fill_rd, 0);
    fillRadios->addButton(Shape_gradient_fill_rd, 1);
    fillRadios->addButton(Shape_Style_fill_rd, 2);
    shape_fill_clr = named(new ColorWell(Qt::white, Shape_Fill_Box), "shape_fill_clr");
    shape_fill_Grd_1_clr = named(new ColorWell(Qt::white, Shape_Fill_Box), "shape_fill_Grd_1_clr");
    shape_fill_Grd_2_clr = named(new ColorWell(Qt::white, Shape_Fill_Box), "shape_fill_Grd_2_clr");
    shape_grad_Stepper = named(new StepperField(0, 360, 1, 0, Shape_Fill_Box), "shape_grad_Stepper");
    shape_hatch_bk_clr = named(new ColorWell(Qt::white, Shape_Fill_Box), "shape_hatch_bk_clr");
    fill->addRow(Shape_solid_fill_rd, shape_fill_clr);
    fill->addRow(Shape_gradient_fill_rd);
    fill->addRow(QStringLiteral("From:"), shape_fill_Grd_1_clr);
    fill->addRow(QStringLiteral("To:"), shape_fill_Grd_2_clr);
    fill->addRow(QStringLiteral("Angle:"), shape_grad_Stepper);
    fill->addRow(Shape_Style_fill_rd);
    fill->addRow(QStringLiteral("Pattern:"), shape_hatch_style);
    fill->addRow(QStringLiteral("Background:"), shape_hatch_bk_clr);
    return Shape_Fill_Box;
}

// Opacity, then the controls only some shapes show.
QFormLayout *ShapeTab::makeShapeRows()
{
    auto *rest = new QFormLayout;
    shape_alpha_Stepper = named(new StepperField(0, 100, 1, 0, page), "shape_alpha_Stepper");
    rest->addRow(QStringLiteral("Opacity (%):"), shape_alpha_Stepper);
    shape_cor_radius_Label =
        named(new QLabel(QStringLiteral("Corner radius:"), page), "shape_cor_radius_Label");
    shape_cor_radius_Stepper = named(new StepperField(0, 200, 1, 1, page), "shape_cor_radius_Stepper");
    rest->addRow(shape_cor_radius_Label, shape_cor_radius_Stepper);
    // The stored choices 1 to 5 pick an outline; the fields name the outline, not the choice.
    double_star_Label = named(new QLabel(QStringLiteral("Points:"), page), "double_star_Label");
    double_star_Stepper = named(new StepperField(1, 5, 1, 0, page), "double_star_Stepper");
    double_star_Stepper->setValueLabels(doubleStarChoiceLabels());
    rest->addRow(double_star_Label, double_star_Stepper);
    polygon_Label = named(new QLabel(QStringLiteral("Shape:"), page), "polygon_Label");
    polygon_Stepper = named(new StepperField(1, 5, 1, 0, page), "polygon_Stepper");
    polygon_Stepper->setValueLabels(polygonChoiceLabels());
    rest->addRow(polygon_Label, polygon_Stepper);
    return rest;
}

QString ShapeTab::shapeLabel(const QString &code)
{
    return InspectorTabPlan::shapeLabel(code);
}

QString ShapeTab::showControlsForShape(const QString &code, bool locked)
{
    const QList<QWidget *> radius{shape_cor_radius_Label, shape_cor_radius_Stepper};
    const QList<QWidget *> star{double_star_Label, double_star_Stepper};
    const QList<QWidget *> polygon{polygon_Label, polygon_Stepper};
    for (const QList<QWidget *> &group : {radius, star, polygon})
        for (QWidget *w : group)
            w->setVisible(false);
    const QString label = shapeLabel(code);
    if (locked || label.isEmpty())
        return label;
    Shape_prop_title->setText(label);
    const QList<QWidget *> *shown = code == ShapeCode::RoundedRectangle ? &radius
                                    : code == ShapeCode::DoubleStar     ? &star
                                    : code == ShapeCode::Polygon        ? &polygon
                                                                        : nullptr;
    if (shown)
        for (QWidget *w : *shown)
            w->setVisible(true);
    return label;
}

void ShapeTab::enableFillControls(const QString &fillCode)
{
    const bool gradient = fillCode == FillCode::Gradient;
    const bool hatch = fillCode == FillCode::Hatch;
    SetObjEnabled(shape_fill_clr, !gradient && !hatch);
    for (QWidget *w :
         {static_cast<QWidget *>(shape_fill_Grd_1_clr), static_cast<QWidget *>(shape_fill_Grd_2_clr),
          static_cast<QWidget *>(shape_grad_Stepper)})
        SetObjEnabled(w, gradient);
    SetObjEnabled(shape_hatch_style, hatch);
    SetObjEnabled(shape_hatch_bk_clr, hatch);
}
