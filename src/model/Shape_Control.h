// Every geometric shape (rectangle, ellipse, rounded rectangle, triangle, diamond, stars, polygons),
// chosen by the record's shape code; built from the bounds and hit anywhere inside its outline.
#pragma once

#include "model/SKTGraphic.h"

class Shape_Control : public SKTGraphicKind<Shape_Control, SKTGraphic::Kind::Shape>
{
public:
    Shape_Control() = default;
    explicit Shape_Control(ZeroFields z) : SKTGraphicKind(z) {}
    Shape_Control(const Shape_Control &) = default;

    // The outline for the current shape code; an empty path for an unknown code.
    std::optional<QPainterPath> bezierPathForDrawing() const override;
    bool isContentsUnderPoint(const QPointF &point) const override;
    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;

    // Largest star or polygon count drawn; larger stored counts draw an empty outline.
    static constexpr int MaxOutlinePoints = 1000;
    // Star outline: n points on the inscribed ellipse, each joined to the one two places on.
    static QPainterPath Polygon_With_Diffrent_Sides(const QRectF &bounds, int n);
    // The point count n of the star outline a stored choice draws: a double star's choices 1 to 5
    // give 7 to 15 points, a polygon's 8 to 16 (8 is the four-pointed star; an even n traces a
    // polygon of n / 2 sides twice). Any other value is n itself.
    static int doubleStarPoints(int double_star_type);
    static int polygonPoints(int polygon_type);
    // Four-pointed star whose tips are the corners of the bounds.
    static QPainterPath Custom_Polygon(const QRectF &bounds);
    static QPainterPath Triangle_path(const QRectF &bounds);
    static QPainterPath Diamond_path(const QRectF &bounds);
};
