// The text forms of points, sizes and rectangles that archives and design files hold: "{x, y}",
// "{w, h}" and "{{x, y}, {w, h}}", numbers in the shortest plain decimal that reads back exactly.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class GeometryText
{
public:
    // A decimal number as these texts hold it: sign, digits with an optional point, exponent.
    static QString numberPattern();

    static QString number(double v); // non-finite and -0 write as "0"
    static QString point(const QPointF &p);
    static QString size(const QSizeF &s);
    static QString rect(const QRectF &r);

    // Strict: the whole text has the shape (spaces allowed around the parts) and every number is
    // finite; nullopt otherwise.
    static std::optional<QPointF> parsePoint(const QString &text);
    static std::optional<QSizeF> parseSize(const QString &text);
    static std::optional<QRectF> parseRect(const QString &text);

    // Lenient: the first two numbers found anywhere in the text, 0 for missing ones. The caller
    // checks the values it cannot take (overflow reads as infinity).
    static QPointF pointIn(const QString &text);
    static QSizeF sizeIn(const QString &text);
};
