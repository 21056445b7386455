#include "panels/ui/ObjectPanel.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/CardCodes.h"
#include "foundation/ui/StepperField.h"
#include "model/ModelGlobals.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorLayout.h"

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

// Writes through the key only when the value differs: observers hear of real changes only.
template <typename T> void setKey(SKTGraphic &g, const QString &key, const T &current, const T &wanted)
{
    if (current != wanted)
        g.setValueForKey(key, QVariant::fromValue(wanted));
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

GraphicList ObjectPanel::editTargets() const
{
    if (Not_Draw_Only_Prop_Change & 1)
        return {};
    SKTGraphicView *canvas = liveCanvas();
    return canvas ? canvas->selectedGraphics() : GraphicList();
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

void ObjectPanel::writeBorder(SKTGraphic &g, bool on, const QColor &color, double width, int styleIndex)
{
    setKey(g, SKTGraphicIsDrawingStrokeKey, g._isDrawingStroke, on);
    if (!on)
        return;
    setKey(g, SKTGraphicStrokeColorKey, g._strokeColor.value_or(QColor()), color);
    setKey(g, SKTGraphicStrokeWidthKey, g._strokeWidth, width);
    const QString code = borderStyleCode(styleIndex);
    if (!code.isEmpty())
        g._stroke_border_type = code;
}

void ObjectPanel::writeFillOn(SKTGraphic &g, bool on)
{
    setKey(g, SKTGraphicIsDrawingFillKey, g._isDrawingFill, on);
}

void ObjectPanel::writeFillColor(SKTGraphic &g, const QColor &color)
{
    if (!g._fillColor || *g._fillColor != color)
        g.setValueForKey(SKTGraphicFillColorKey, QVariant::fromValue(color));
}

int ObjectPanel::printObjectValue() const
{
    const QCheckBox *box = m_host.inspectorLayout().print_object_chk;
    return box && box->isChecked() ? 1 : 0;
}

bool ObjectPanel::ticked(const QAbstractButton *box)
{
    return box && box->isChecked();
}
