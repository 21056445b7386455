// Painting of Shape_Control. Painting reads the record and changes nothing, so it may run on any thread.
#include "model/Shape_Control.h"

#include "canvas/GraphicPainting.h"

#include <QPainter>

namespace
{

// Star and polygon counts a file may hold; above this the outline is left empty so that a hostile
// value cannot make drawing hang. The stored value is kept.
constexpr int MaxOutlinePoints = 1000;

bool outlineTooLarge(const Shape_Control &s)
{
    const QString code = s.Get_shape_type();
    if (code == u"DS")
        return s.double_star_type > MaxOutlinePoints;
    if (code == u"P")
        return s.polygon_type > MaxOutlinePoints;
    return false;
}

} // namespace

void Shape_Control::drawContentsInView(QPainter &painter, const GraphicDrawContext &context, bool) const
{
    std::optional<QPainterPath> path;
    if (!outlineTooLarge(*this))
        path = bezierPathForDrawing();
    GraphicPainting::paintPath(painter, *this, path, context);
}
