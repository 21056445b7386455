// Painting of SKTLine: its path and its two end handles. Painting changes nothing in the record.
#include "model/SKTLine.h"

#include "model/GraphicPainting.h"

#include <QPainter>

void SKTLine::drawContentsInView(QPainter &painter, const GraphicDrawContext &context, bool) const
{
    // Line caps as stored: 0 butt, 1 round, 2 square; anything else butt.
    const int cap = Get_Line_Cap_Style();
    const Qt::PenCapStyle style = cap == 1 ? Qt::RoundCap : cap == 2 ? Qt::SquareCap : Qt::FlatCap;
    GraphicPainting::paintPath(painter, *this, bezierPathForDrawing(), context, style);
}

void SKTLine::drawHandlesInView(QPainter &painter, const GraphicDrawContext &context, bool lock_hai) const
{
    drawHandleInView(painter, context, beginPoint(), lock_hai);
    drawHandleInView(painter, context, endPoint(), lock_hai);
}
