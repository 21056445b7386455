#include "panels/ui/ShapeLinePanel.h"
#include "foundation/CardCodes.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/StepperField.h"
#include "model/SKTLine.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorLayout.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/LineTab.h"
#include "panels/ui/ShapeTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>

ShapeLinePanel::ShapeLinePanel(InspectorHost &host)
    : ObjectPanel(host), m_shape(std::make_unique<ShapeTab>(
                             host.inspectorTabs().page(InspectorTabs::shape_tab), host.inspectorLayout())),
      m_line(std::make_unique<LineTab>(host.inspectorTabs().page(InspectorTabs::line_tab)))
{
    connectShape();
    connectLine();
}

ShapeLinePanel::~ShapeLinePanel() = default;

void ShapeLinePanel::connectShape()
{
    ShapeTab &t = *m_shape;
    const auto update = [this] { Update_Shape_Graphics(); };
    onEdit(t.Shape_border_chk, &QCheckBox::clicked, QStringLiteral("Border"),
           [this] { Shape_Border_ChkBox(); });
    onEdit(t.Shape_fill_chk, &QCheckBox::clicked, QStringLiteral("Fill"), [this] { Shape_Fill_Chk_Box(); });
    onEdit(t.Shape_solid_fill_rd, &QRadioButton::clicked, QStringLiteral("Solid Fill"),
           [this] { Shape_Solid_RD_Sel(); });
    onEdit(t.Shape_gradient_fill_rd, &QRadioButton::clicked, QStringLiteral("Gradient Fill"),
           [this] { Shape_Gradient_RD_Sel(); });
    onEdit(t.Shape_Style_fill_rd, &QRadioButton::clicked, QStringLiteral("Pattern Fill"),
           [this] { Shape_Hatch_RD_Sel(); });
    const std::pair<ColorWell *, const char *> wells[] = {{t.shape_bordr_clr, "Border Colour"},
                                                          {t.shape_fill_clr, "Fill Colour"},
                                                          {t.shape_fill_Grd_1_clr, "Gradient Colour"},
                                                          {t.shape_fill_Grd_2_clr, "Gradient Colour"},
                                                          {t.shape_hatch_bk_clr, "Pattern Background"}};
    for (const auto &[well, name] : wells)
        onEdit(well, &ColorWell::colorPicked, QString::fromLatin1(name), update);
    const std::pair<StepperField *, const char *> steppers[] = {
        {t.shape_bor_Stepper, "Border Width"}, {t.shape_grad_Stepper, "Gradient Angle"},
        {t.shape_alpha_Stepper, "Opacity"},    {t.shape_cor_radius_Stepper, "Corner Radius"},
        {t.double_star_Stepper, "Points"},     {t.polygon_Stepper, "Polygon Shape"}};
    for (const auto &[stepper, name] : steppers)
        onEdit(stepper, &StepperField::userChanged, QString::fromLatin1(name), update, Merge::WhilePressed);
    onEdit(t.shape_border_style, &QComboBox::activated, QStringLiteral("Border Style"), update);
    onEdit(t.shape_hatch_style, &QComboBox::activated, QStringLiteral("Pattern"), update);
}

void ShapeLinePanel::connectLine()
{
    LineTab &t = *m_line;
    const auto update = [this] { Update_Line_Graphics(); };
    onEdit(t.Line_clr, &ColorWell::colorPicked, QStringLiteral("Line Colour"), update);
    onEdit(t.Line_Wdt_Stepper, &StepperField::userChanged, QStringLiteral("Line Width"), update,
           Merge::WhilePressed);
    onEdit(t.Line_alpha_Stepper, &StepperField::userChanged, QStringLiteral("Opacity"), update,
           Merge::WhilePressed);
    onEdit(t.Line_border_style, &QComboBox::activated, QStringLiteral("Line Style"), update);
    onEdit(t.Line_cap_style, &QComboBox::activated, QStringLiteral("Line Cap"), update);
    onEdit(t.Line_ori_style, &QComboBox::activated, QStringLiteral("Orientation"),
           [this] { Line_Orientation_Changed(); });
}

// --- actions ---

void ShapeLinePanel::Shape_Border_ChkBox()
{
    SetObjEnabled(m_shape->Shape_Border_Box, ticked(m_shape->Shape_border_chk));
    Update_Shape_Graphics();
}

void ShapeLinePanel::Shape_Fill_Chk_Box()
{
    const bool on = ticked(m_shape->Shape_fill_chk);
    SetObjEnabled(m_shape->Shape_Fill_Box, on);
    // The box enables all it holds; the chosen kind of fill still decides its own controls.
    if (on)
        m_shape->enableFillControls(m_shape->Shape_gradient_fill_rd->isChecked() ? FillCode::Gradient
                                    : m_shape->Shape_Style_fill_rd->isChecked()  ? FillCode::Hatch
                                                                                 : FillCode::Solid);
    Update_Shape_Graphics();
}

void ShapeLinePanel::Shape_Solid_RD_Sel()
{
    m_shape->Shape_solid_fill_rd->setChecked(true);
    m_shape->enableFillControls(FillCode::Solid);
    Update_Shape_Graphics();
}

void ShapeLinePanel::Shape_Gradient_RD_Sel()
{
    m_shape->Shape_gradient_fill_rd->setChecked(true);
    m_shape->enableFillControls(FillCode::Gradient);
    Update_Shape_Graphics();
}

void ShapeLinePanel::Shape_Hatch_RD_Sel()
{
    m_shape->Shape_Style_fill_rd->setChecked(true);
    // A pattern fill draws its first pattern until the user picks another.
    if (m_shape->shape_hatch_style->currentIndex() < 0 && m_shape->shape_hatch_style->count() > 0)
        m_shape->shape_hatch_style->setCurrentIndex(0);
    m_shape->enableFillControls(FillCode::Hatch);
    Update_Shape_Graphics();
}

void ShapeLinePanel::Line_Orientation_Changed()
{
    // The chosen orientation turns the selected lines; the rest of the panel is written after.
    const int orientation = std::max(0, m_line->Line_ori_style->currentIndex());
    for (const GraphicPtr &g : editTargets())
        if (auto *line = dynamic_cast<SKTLine *>(g.get()))
            line->setOrientation(orientation);
    Update_Line_Graphics();
}

// --- write-back ---

void ShapeLinePanel::Update_Shape_Graphics()
{
    const GraphicList targets = editTargets();
    if (targets.isEmpty())
        return;
    const ShapeTab &t = *m_shape;
    const bool fill = ticked(t.Shape_fill_chk);
    // The kind of fill is kept while the fill is off, so ticking it again brings it back.
    QString fillType = FillCode::Solid;
    if (t.Shape_gradient_fill_rd->isChecked())
        fillType = FillCode::Gradient;
    else if (t.Shape_Style_fill_rd->isChecked())
        fillType = FillCode::Hatch;
    // No pattern chosen stores an empty name rather than whatever the combo last showed.
    const QString hatch =
        t.shape_hatch_style->currentIndex() >= 0 ? t.shape_hatch_style->currentText() : QString();
    for (const GraphicPtr &g : targets) {
        writeBorder(*g, ticked(t.Shape_border_chk), t.shape_bordr_clr->color(),
                    int(t.shape_bor_Stepper->value()), t.shape_border_style->currentIndex());
        writeFillOn(*g, fill);
        if (fill)
            writeFillColor(*g, t.shape_fill_clr->color());
        g->_fill_type = fillType;
        g->_fill_Grad_clr1 = t.shape_fill_Grd_1_clr->color();
        g->_fill_Grad_clr2 = t.shape_fill_Grd_2_clr->color();
        g->_fill_grad_angle = t.shape_grad_Stepper->value();
        g->_fill_htch_clr = t.shape_hatch_bk_clr->color();
        g->_fill_hatch_type = hatch;
        g->alpha_val = float(t.shape_alpha_Stepper->value() / 100.0);
        g->cor_rad_val_val = float(t.shape_cor_radius_Stepper->value());
        g->double_star_type = int(t.double_star_Stepper->value());
        g->polygon_type = int(t.polygon_Stepper->value());
        g->print_object = printObjectValue();
    }
    finishEdit(targets);
}

void ShapeLinePanel::Update_Line_Graphics()
{
    const GraphicList targets = editTargets();
    if (targets.isEmpty())
        return;
    const LineTab &t = *m_line;
    for (const GraphicPtr &g : targets) {
        writeBorder(*g, true, t.Line_clr->color(), int(t.Line_Wdt_Stepper->value()),
                    t.Line_border_style->currentIndex());
        g->print_object = printObjectValue();
        g->_line_cap_style = std::max(0, t.Line_cap_style->currentIndex());
        g->_line_ori = std::max(0, t.Line_ori_style->currentIndex());
        g->alpha_val_stroke = float(t.Line_alpha_Stepper->value() / 100.0);
    }
    finishEdit(targets);
}

// --- loading ---

void ShapeLinePanel::loadFrom(const SKTGraphic &graphic)
{
    if (graphic.kind() == SKTGraphic::Kind::Line)
        loadLine(graphic);
    else
        loadShape(graphic);
}

void ShapeLinePanel::loadShape(const SKTGraphic &g)
{
    ShapeTab &t = *m_shape;
    t.showControlsForShape(g.Get_shape_type(), g.ctrl_is_locked);
    t.Shape_border_chk->setChecked(g._isDrawingStroke);
    loadWidth(t.shape_bor_Stepper, g._strokeWidth);
    t.shape_bordr_clr->setColor(g._strokeColor.value_or(t.shape_bordr_clr->color()));
    loadBorderStyle(t.shape_border_style, g._stroke_border_type);
    t.Shape_fill_chk->setChecked(g._isDrawingFill);
    t.shape_fill_clr->setColor(g._fillColor.value_or(t.shape_fill_clr->color()));
    const QString fillCode = g.fill_type();
    const bool gradient = fillCode == FillCode::Gradient;
    const bool hatch = fillCode == FillCode::Hatch;
    (gradient ? t.Shape_gradient_fill_rd
     : hatch  ? t.Shape_Style_fill_rd
              : t.Shape_solid_fill_rd)
        ->setChecked(true);
    t.shape_fill_Grd_1_clr->setColor(g._fill_Grad_clr1.value_or(t.shape_fill_Grd_1_clr->color()));
    t.shape_fill_Grd_2_clr->setColor(g._fill_Grad_clr2.value_or(t.shape_fill_Grd_2_clr->color()));
    t.shape_hatch_bk_clr->setColor(g._fill_htch_clr.value_or(t.shape_hatch_bk_clr->color()));
    const QString hatchName = g.fill_hatch_type();
    t.shape_hatch_style->setCurrentIndex(hatchName.isEmpty() ? -1 : t.shape_hatch_style->findText(hatchName));
    t.shape_grad_Stepper->setValue(g._fill_grad_angle);
    loadPercent(t.shape_alpha_Stepper, g.alpha_val);
    t.shape_cor_radius_Stepper->setValue(g.cor_rad_val_val);
    t.double_star_Stepper->setValue(g.double_star_type);
    t.polygon_Stepper->setValue(g.polygon_type);
    SetObjEnabled(t.Shape_Border_Box, g._isDrawingStroke);
    SetObjEnabled(t.Shape_Fill_Box, g._isDrawingFill);
    // The fill kind decides its controls after the box, whatever the fill check box says.
    t.enableFillControls(fillCode);
}

void ShapeLinePanel::loadLine(const SKTGraphic &g)
{
    LineTab &t = *m_line;
    loadWidth(t.Line_Wdt_Stepper, g._strokeWidth);
    t.Line_clr->setColor(g._strokeColor.value_or(t.Line_clr->color()));
    loadBorderStyle(t.Line_border_style, g._stroke_border_type);
    t.Line_ori_style->setCurrentIndex(
        g._line_ori >= 0 && g._line_ori < t.Line_ori_style->count() ? g._line_ori : 0);
    t.Line_cap_style->setCurrentIndex(
        g._line_cap_style >= 0 && g._line_cap_style < t.Line_cap_style->count() ? g._line_cap_style : 0);
    loadPercent(t.Line_alpha_Stepper, g.alpha_val_stroke);
}
