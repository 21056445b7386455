#include "model/Shape_Control.h"

#include "foundation/CardCodes.h"

#include <cmath>

namespace
{

// The triangle, diamond and star points are computed in single precision.
double f32(double v)
{
    return double(float(v));
}

QRectF roundedBounds(const QRectF &b)
{
    return QRectF(f32(b.x()), f32(b.y()), f32(b.width()), f32(b.height()));
}

} // namespace

QPainterPath Shape_Control::Triangle_path(const QRectF &bounds)
{
    const QRectF b = roundedBounds(bounds);
    const double x = b.x(), y = b.y(), w = b.width(), h = b.height();
    QPainterPath p;
    p.moveTo(x, y + h);
    p.lineTo(x + w / 2, y);
    p.lineTo(x + w, y + h);
    p.closeSubpath();
    return p;
}

QPainterPath Shape_Control::Diamond_path(const QRectF &bounds)
{
    const QRectF b = roundedBounds(bounds);
    const double x = b.x(), y = b.y(), w = b.width(), h = b.height();
    QPainterPath p;
    p.moveTo(x, y + h / 2);
    p.lineTo(x + w / 2, y);
    p.lineTo(x + w, y + h / 2);
    p.lineTo(x + w / 2, y + h);
    p.closeSubpath();
    return p;
}

QPainterPath Shape_Control::Polygon_With_Diffrent_Sides(const QRectF &b, int n)
{
    QPainterPath p;
    // Counts come from files: above MaxOutlinePoints the outline stays empty (the stored value is
    // kept), so a hostile value cannot make drawing or hit testing hang.
    if (n <= 0 || n > MaxOutlinePoints)
        return p;
    const double cx = b.x() + b.width() / 2, cy = b.y() + b.height() / 2;
    const double rx = b.width() / 2, ry = b.height() / 2;
    double theta = -M_PI / 2;
    const double step = 4 * M_PI / n;
    for (int i = 0; i < n; ++i) {
        const QPointF pt(f32(cx + rx * std::cos(theta)), f32(cy + ry * std::sin(theta)));
        if (i == 0)
            p.moveTo(pt);
        else
            p.lineTo(pt);
        theta += step;
    }
    p.closeSubpath();
    return p;
}

int Shape_Control::doubleStarPoints(int double_star_type)
{
    return double_star_type >= 1 && double_star_type <= 5 ? 5 + 2 * double_star_type : double_star_type;
}

int Shape_Control::polygonPoints(int polygon_type)
{
    return polygon_type >= 1 && polygon_type <= 5 ? 6 + 2 * polygon_type : polygon_type;
}

QPainterPath Shape_Control::Custom_Polygon(const QRectF &b)
{
    const double x = b.x(), y = b.y(), w = b.width(), h = b.height();
    QPainterPath p;
    p.moveTo(x, y);
    p.lineTo(x + w / 2, y + h / 4);
    p.lineTo(x + w, y);
    p.lineTo(x + 3 * w / 4, y + h / 2);
    p.lineTo(x + w, y + h);
    p.lineTo(x + w / 2, y + 3 * h / 4);
    p.lineTo(x, y + h);
    p.lineTo(x + w / 4, y + h / 2);
    p.closeSubpath();
    return p;
}

std::optional<QPainterPath> Shape_Control::bezierPathForDrawing() const
{
    const QString code = Get_shape_type();
    const QRectF b = bounds();
    QPainterPath p;
    if (code == ShapeCode::Rectangle) {
        p.addRect(b);
    } else if (code == ShapeCode::Circle) {
        p.addEllipse(b);
    } else if (code == ShapeCode::RoundedRectangle) {
        const double r = cor_rad_val_val;
        p.addRoundedRect(b, r, r);
    } else if (code == ShapeCode::Triangle) {
        p = Triangle_path(b);
    } else if (code == ShapeCode::Diamond) {
        p = Diamond_path(b);
    } else if (code == ShapeCode::Star) {
        p = Polygon_With_Diffrent_Sides(b, 5);
    } else if (code == ShapeCode::DoubleStar) {
        p = Polygon_With_Diffrent_Sides(b, doubleStarPoints(double_star_type));
    } else if (code == ShapeCode::Polygon) {
        const int n = polygonPoints(polygon_type);
        p = n == 8 ? Custom_Polygon(b) : Polygon_With_Diffrent_Sides(b, n);
    }
    p.setFillRule(Qt::WindingFill);
    return p;
}

bool Shape_Control::isContentsUnderPoint(const QPointF &point) const
{
    const std::optional<QPainterPath> path = bezierPathForDrawing();
    return path && !path->isEmpty() && path->contains(point);
}
