// Painting of the base card object: nothing of its own, and the selection handles.
#include "model/SKTGraphic.h"

#include <QPainter>

#include <cmath>

void SKTGraphic::drawContentsInView(QPainter &, const GraphicDrawContext &, bool) const {}

std::optional<QPainterPath> SKTGraphic::bezierPathForDrawing() const
{
    return std::nullopt;
}

void SKTGraphic::drawHandlesInView(QPainter &painter, const GraphicDrawContext &context, bool lock_hai) const
{
    for (int h = 1; h <= 8; ++h)
        drawHandleInView(painter, context, handlePoint(bounds(), h), lock_hai);
}

void SKTGraphic::drawHandleInView(QPainter &painter, const GraphicDrawContext &context, const QPointF &point,
                                  bool lock_hai) const
{
    QRectF r(point.x() - SKTGraphicHandleHalfWidth, point.y() - SKTGraphicHandleHalfWidth,
             SKTGraphicHandleWidth, SKTGraphicHandleWidth);
    // Align to device pixels so handles look crisp at any zoom.
    const double s = context.deviceScale > 0 ? context.deviceScale : 1.0;
    r = QRectF(std::round(r.x() * s) / s, std::round(r.y() * s) / s, std::round(r.width() * s) / s,
               std::round(r.height() * s) / s);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillRect(r.translated(1.0, 1.0), QColor(0, 0, 0));
    painter.fillRect(r, lock_hai ? QColor(255, 0, 0) : QColor(128, 128, 128));
    painter.restore();
}
