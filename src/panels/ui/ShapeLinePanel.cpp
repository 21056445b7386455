#include "panels/ui/ShapeLinePanel.h"
#include "foundation/CardCodes.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/StepperField.h"
#include "model/SKTLine.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/LineTab.h"
#include "panels/ui/ShapeTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>

ShapeLinePanel::ShapeLinePanel(InspectorHost &host)
    : ObjectPanel(host),
      m_shape(std::make_unique<ShapeTab>(host.inspectorTabs().page(InspectorTabs::shape_tab))),
      m_line(std::make_unique<LineTab>(host.inspectorTabs().page(InspectorTabs::line_tab)))
{
    connectShape();
    connectLine();
}

ShapeLinePanel::~ShapeLinePanel() = default;

void ShapeLinePanel::setPatternNames(const QStringList &names)
{
    QComboBox *combo = m_shape->shape_hatch_style;
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(names);
    if (!names.isEmpty())
        combo->setCurrentIndex(0);
}

void ShapeLinePanel::connectShape()
{
    using PanelEdits::ofKind;
    using K = SKTGraphic::Kind;
    ShapeTab &t = *m_shape;
    // The page's own enabling runs before the write each control makes.
    connect(t.Shape_border_chk, &QCheckBox::clicked, this, &ShapeLinePanel::Shape_Border_ChkBox);
    connect(t.Shape_fill_chk, &QCheckBox::clicked, this, &ShapeLinePanel::Shape_Fill_Chk_Box);
    connect(t.Shape_solid_fill_rd, &QRadioButton::clicked, this, &ShapeLinePanel::Shape_Solid_RD_Sel);
    connect(t.Shape_gradient_fill_rd, &QRadioButton::clicked, this, &ShapeLinePanel::Shape_Gradient_RD_Sel);
    connect(t.Shape_Style_fill_rd, &QRadioButton::clicked, this, &ShapeLinePanel::Shape_Hatch_RD_Sel);
    connectBorder(t.Shape_border_chk, t.shape_bordr_clr, t.shape_bor_Stepper, t.shape_border_style);
    connectFill({t.Shape_fill_chk, t.shape_fill_clr, t.shape_fill_Grd_1_clr, t.shape_fill_Grd_2_clr,
                 t.shape_grad_Stepper, t.shape_alpha_Stepper});
    onEdit(t.Shape_solid_fill_rd, &QRadioButton::clicked, QStringLiteral("Solid Fill"),
           fillKind(FillCode::Solid));
    onEdit(t.Shape_gradient_fill_rd, &QRadioButton::clicked, QStringLiteral("Gradient Fill"),
           fillKind(FillCode::Gradient));
    QComboBox *pattern = t.shape_hatch_style;
    // A pattern fill draws the pattern the page shows for a shape that has none yet.
    const auto patternName = [pattern] {
        return pattern->currentIndex() >= 0 ? pattern->currentText() : QString();
    };
    onEdit(t.Shape_Style_fill_rd, &QRadioButton::clicked, QStringLiteral("Pattern Fill"),
           {ofKind(K::Shape), [patternName](SKTGraphic &g) {
                g._fill_type = QString(FillCode::Hatch);
                if (g.fill_hatch_type().isEmpty())
                    g._fill_hatch_type = patternName();
            }});
    onEdit(pattern, &QComboBox::activated, QStringLiteral("Pattern"),
           {ofKind(K::Shape), [patternName](SKTGraphic &g) { g._fill_hatch_type = patternName(); }});
    onEdit(t.shape_hatch_bk_clr, &ColorWell::colorPicked, QStringLiteral("Pattern Background"),
           {ofKind(K::Shape),
            [well = t.shape_hatch_bk_clr](SKTGraphic &g) { g._fill_htch_clr = well->color(); }});
    // The controls of one shape go to the shapes of that shape alone.
    onEdit(t.shape_cor_radius_Stepper, &StepperField::userChanged, QStringLiteral("Corner Radius"),
           {ofKind(K::Shape, ShapeCode::RoundedRectangle),
            [s = t.shape_cor_radius_Stepper](SKTGraphic &g) { g.cor_rad_val_val = float(s->value()); }},
           Merge::WhilePressed);
    onEdit(t.double_star_Stepper, &StepperField::userChanged, QStringLiteral("Points"),
           {ofKind(K::Shape, ShapeCode::DoubleStar),
            [s = t.double_star_Stepper](SKTGraphic &g) { g.double_star_type = int(s->value()); }},
           Merge::WhilePressed);
    onEdit(t.polygon_Stepper, &StepperField::userChanged, QStringLiteral("Polygon Shape"),
           {ofKind(K::Shape, ShapeCode::Polygon),
            [s = t.polygon_Stepper](SKTGraphic &g) { g.polygon_type = int(s->value()); }},
           Merge::WhilePressed);
}

void ShapeLinePanel::connectLine()
{
    LineTab &t = *m_line;
    const auto line = PanelEdits::ofKind(SKTGraphic::Kind::Line);
    onEdit(t.Line_clr, &ColorWell::colorPicked, QStringLiteral("Line Colour"),
           {line, [well = t.Line_clr](SKTGraphic &g) {
                setKey(g, SKTGraphicStrokeColorKey, g._strokeColor.value_or(QColor()), well->color());
            }});
    onEdit(t.Line_Wdt_Stepper, &StepperField::userChanged, QStringLiteral("Line Width"),
           {line,
            [s = t.Line_Wdt_Stepper](SKTGraphic &g) {
                setKey(g, SKTGraphicStrokeWidthKey, g._strokeWidth, double(int(s->value())));
            }},
           Merge::WhilePressed);
    onEdit(
        t.Line_alpha_Stepper, &StepperField::userChanged, QStringLiteral("Opacity"),
        {line, [s = t.Line_alpha_Stepper](SKTGraphic &g) { g.alpha_val_stroke = float(s->value() / 100.0); }},
        Merge::WhilePressed);
    onEdit(t.Line_border_style, &QComboBox::activated, QStringLiteral("Line Style"),
           {line, [combo = t.Line_border_style](SKTGraphic &g) { writeBorderStyle(g, combo); }});
    onEdit(t.Line_cap_style, &QComboBox::activated, QStringLiteral("Line Cap"),
           {line, [combo = t.Line_cap_style](SKTGraphic &g) {
                g._line_cap_style = std::max(0, combo->currentIndex());
            }});
    // Horizontal or Vertical turns each selected line so.
    onEdit(t.Line_ori_style, &QComboBox::activated, QStringLiteral("Orientation"),
           {line, [combo = t.Line_ori_style](SKTGraphic &g) {
                const int orientation = std::max(0, combo->currentIndex());
                static_cast<SKTLine &>(g).setOrientation(orientation);
                g._line_ori = orientation;
            }});
}

// --- the page's own enabling ---

void ShapeLinePanel::Shape_Border_ChkBox()
{
    SetObjEnabled(m_shape->Shape_Border_Box, ticked(m_shape->Shape_border_chk));
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
}

void ShapeLinePanel::Shape_Solid_RD_Sel()
{
    m_shape->Shape_solid_fill_rd->setChecked(true);
    m_shape->enableFillControls(FillCode::Solid);
}

void ShapeLinePanel::Shape_Gradient_RD_Sel()
{
    m_shape->Shape_gradient_fill_rd->setChecked(true);
    m_shape->enableFillControls(FillCode::Gradient);
}

void ShapeLinePanel::Shape_Hatch_RD_Sel()
{
    m_shape->Shape_Style_fill_rd->setChecked(true);
    // A pattern fill draws its first pattern until the user picks another.
    if (m_shape->shape_hatch_style->currentIndex() < 0 && m_shape->shape_hatch_style->count() > 0)
        m_shape->shape_hatch_style->setCurrentIndex(0);
    m_shape->enableFillControls(FillCode::Hatch);
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
