// Painting steps the card object kinds share: the path painting of lines and shapes, bounds borders,
// and the redraw request that ends every paint. Header-only: the model's drawing files include it.
#pragma once

#include "foundation/CardCodes.h"
#include "model/ModelGlobals.h"
#include "model/ModelHost.h"
#include "model/SKTGraphic.h"
#include "paint/PaintingScope.h"
#include "paint/PathPainting.h"

#include <QPainter>

namespace GraphicPainting
{

// Every paint of a visible object ends with it; dropped while painting, posted from workers.
inline void requestCanvasRefresh()
{
    PaintingScope::requestRefresh([] { ModelGlobals::instance().host().Refresh_Canvas(); });
}

inline void strokePath(QPainter &painter, const SKTGraphic &g, const QPainterPath &path,
                       Qt::PenCapStyle cap = Qt::FlatCap)
{
    const std::optional<QColor> colour = g.strokeColor();
    if (!colour)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PathPainting::strokeBorder(painter, path, *colour, g.strokeWidth(), g.strokeBorderType(), cap);
    painter.restore();
}

// Fill by fill code: "G" gradient, "H" hatch over its background colour, anything else solid.
inline void fillPath(QPainter &painter, const SKTGraphic &g, const QPainterPath &path,
                     const QString &resourcePath, bool allowHatch = true)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath p = PathPainting::winding(path);
    const QString code = g.fill_type();
    if (code == FillCode::Gradient) {
        const auto c1 = g.fill_Grad_clr1(), c2 = g.fill_Grad_clr2();
        if (c1 && c2)
            PathPainting::fillGradient(painter, p, *c1, *c2, g.fill_grad_angle());
    } else if (code == FillCode::Hatch && allowHatch) {
        const auto bg = g.fill_hatch_bk_clr();
        PathPainting::fillHatch(painter, p, bg.value_or(QColor(Qt::transparent)), resourcePath,
                                g.fill_hatch_type());
    } else if (const auto c = g.fillColor()) {
        painter.fillPath(p, *c);
    }
    painter.restore();
}

// The shared painting of lines and shapes: fill by code, then the dashed stroke, then the refresh.
inline void paintPath(QPainter &painter, const SKTGraphic &g, const std::optional<QPainterPath> &path,
                      const GraphicDrawContext &context, Qt::PenCapStyle cap = Qt::FlatCap)
{
    if (!g.ctrl_is_visible)
        return;
    if (path && !path->isEmpty()) {
        if (g.isDrawingFill())
            fillPath(painter, g, *path, context.resourcePath);
        if (g.isDrawingStroke())
            strokePath(painter, g, *path, cap);
    }
    requestCanvasRefresh();
}

// The border rectangle that text, picture and signature objects draw on their bounds.
inline void strokeBounds(QPainter &painter, const SKTGraphic &g)
{
    QPainterPath path;
    path.addRect(g.bounds());
    strokePath(painter, g, path);
}

} // namespace GraphicPainting
