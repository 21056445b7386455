#include "panels/ui/ObjectPanel.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/CardCodes.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/StepperField.h"
#include "model/ModelGlobals.h"
#include "panels/ui/InspectorHost.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>

#include <cmath>

namespace
{
const QStringList &borderCodes()
{
    static const QStringList codes{BorderCode::Solid, BorderCode::Dash, BorderCode::Dot, BorderCode::DashDot,
                                   BorderCode::DashDotDot};
    return codes;
}
} // namespace

ObjectPanel::ObjectPanel(InspectorHost &host) : QObject(&host.inspectorWindow()), m_host(host) {}

QString ObjectPanel::borderStyleCode(int index)
{
    return index >= 0 && index < borderCodes().size() ? borderCodes().at(index) : QString();
}

void ObjectPanel::loadBorderStyle(QComboBox *combo, const std::optional<QString> &code)
{
    const int index = code ? int(borderCodes().indexOf(*code)) : -1;
    if (index >= 0)
        combo->setCurrentIndex(index);
}

void ObjectPanel::loadWidth(StepperField *stepper, double width)
{
    stepper->setValue(std::isfinite(width) ? std::trunc(width) : 0.0);
}

void ObjectPanel::loadPercent(StepperField *stepper, float fraction)
{
    stepper->setValue(std::isfinite(fraction) ? double(fraction) * 100.0 : 100.0);
}

SKTGraphicView *ObjectPanel::liveCanvas() const
{
    return m_host.liveCanvas();
}

void ObjectPanel::finishEdit(const GraphicList &written)
{
    SKTGraphicView *canvas = liveCanvas();
    if (written.isEmpty() || !canvas)
        return;
    for (const GraphicPtr &g : written)
        canvas->startEditingGraphic(g);
    m_host.Refresh_Canvas();
}

void ObjectPanel::writeField(const QString &name, const PanelEdits::Field &field, const QObject *mergeControl)
{
    finishEdit(PanelEdits::writeField(m_host, name, field, mergeControl));
}

void ObjectPanel::connectBorder(QCheckBox *box, ColorWell *color, StepperField *width, QComboBox *style)
{
    using PanelEdits::hasBorder;
    // A border or fill turned on draws in the object's own colour; one that has none (an older
    // design) takes the colour the page shows.
    onEdit(box, &QCheckBox::clicked, QStringLiteral("Border"), {hasBorder, [box, color](SKTGraphic &g) {
                                                                    if (ticked(box) && !g._strokeColor)
                                                                        g._strokeColor = color->color();
                                                                    setKey(g, SKTGraphicIsDrawingStrokeKey,
                                                                           g._isDrawingStroke, ticked(box));
                                                                }});
    onEdit(color, &ColorWell::colorPicked, QStringLiteral("Border Colour"),
           {hasBorder, [color](SKTGraphic &g) {
                setKey(g, SKTGraphicStrokeColorKey, g._strokeColor.value_or(QColor()), color->color());
            }});
    // Widths are whole points on the page.
    onEdit(width, &StepperField::userChanged, QStringLiteral("Border Width"),
           {hasBorder,
            [width](SKTGraphic &g) {
                setKey(g, SKTGraphicStrokeWidthKey, g._strokeWidth, double(int(width->value())));
            }},
           Merge::WhilePressed);
    onEdit(style, &QComboBox::activated, QStringLiteral("Border Style"),
           {hasBorder, [style](SKTGraphic &g) { writeBorderStyle(g, style); }});
}

void ObjectPanel::writeBorderStyle(SKTGraphic &g, const QComboBox *style)
{
    const QString code = borderStyleCode(style->currentIndex());
    if (!code.isEmpty())
        g._stroke_border_type = code;
}

void ObjectPanel::connectFill(const FillControls &f)
{
    using PanelEdits::hasFill;
    onEdit(f.box, &QCheckBox::clicked, QStringLiteral("Fill"),
           {hasFill, [box = f.box, well = f.color](SKTGraphic &g) {
                if (ticked(box) && !g._fillColor)
                    g._fillColor = well->color();
                setKey(g, SKTGraphicIsDrawingFillKey, g._isDrawingFill, ticked(box));
            }});
    onEdit(f.color, &ColorWell::colorPicked, QStringLiteral("Fill Colour"),
           {hasFill, [well = f.color](SKTGraphic &g) {
                if (g._fillColor != well->color())
                    g.setValueForKey(SKTGraphicFillColorKey, QVariant::fromValue(well->color()));
            }});
    onEdit(f.gradient1, &ColorWell::colorPicked, QStringLiteral("Gradient Colour"),
           {hasFill, [well = f.gradient1](SKTGraphic &g) { g._fill_Grad_clr1 = well->color(); }});
    onEdit(f.gradient2, &ColorWell::colorPicked, QStringLiteral("Gradient Colour"),
           {hasFill, [well = f.gradient2](SKTGraphic &g) { g._fill_Grad_clr2 = well->color(); }});
    onEdit(f.angle, &StepperField::userChanged, QStringLiteral("Gradient Angle"),
           {hasFill, [angle = f.angle](SKTGraphic &g) { g._fill_grad_angle = angle->value(); }},
           Merge::WhilePressed);
    // The opacity of the fill, a fraction on the object and percent on the page.
    onEdit(f.opacity, &StepperField::userChanged, QStringLiteral("Opacity"),
           {hasFill, [opacity = f.opacity](SKTGraphic &g) { g.alpha_val = float(opacity->value() / 100.0); }},
           Merge::WhilePressed);
}

PanelEdits::Field ObjectPanel::fillKind(const QString &fillCode)
{
    // Texts draw solid and gradient fills; only shapes draw patterns.
    const auto has = fillCode == FillCode::Hatch
                         ? PanelEdits::ofKind(SKTGraphic::Kind::Shape)
                         : std::function<bool(const SKTGraphic &)>(PanelEdits::hasFill);
    return {has, [fillCode](SKTGraphic &g) { g._fill_type = fillCode; }};
}

bool ObjectPanel::ticked(const QAbstractButton *box)
{
    return box && box->isChecked();
}
