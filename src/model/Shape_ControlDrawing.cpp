// Painting of Shape_Control. Painting reads the record and changes nothing, so it may run on any thread.
#include "model/Shape_Control.h"

#include "model/GraphicPainting.h"

#include <QPainter>

void Shape_Control::drawContentsInView(QPainter &painter, const GraphicDrawContext &context, bool) const
{
    GraphicPainting::paintPath(painter, *this, bezierPathForDrawing(), context);
}
