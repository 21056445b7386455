// The shared painting steps of card pages and card objects: border pens with dash codes, gradient,
// hatch and tiled-picture fills, and drawing pictures. Pure functions; safe on any thread.
#pragma once

#include "platform/Picture.h"

#include <QColor>
#include <QLineF>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>

class QPainter;

class PathPainting
{
public:
    // Dash lengths in points (on, off, ...) of a border code: "DA", "DO", "DD", "DDD"; empty (solid)
    // for "S" and any other code.
    static QList<qreal> dashPattern(const QString &code);
    // A border pen: flat caps unless given, miter joins, miter limit 10, dash lengths in points. A
    // negative or non-finite width draws as 0 (a hairline). Round and square caps reach half the
    // width past each end of a dash, so their dashes are drawn shorter and their gaps longer by the
    // width: the dashes and gaps show at their lengths (a dash shorter than the width shows as one
    // cap), and a thick capped line stays dashed instead of closing into a solid one.
    static QPen borderPen(const QColor &color, double width, const QString &dashCode,
                          Qt::PenCapStyle cap = Qt::FlatCap);
    // Strokes the path with a border pen. A hairline (width 0) is one device pixel wide, where Qt
    // would measure its dashes in device pixels too: its dashes are cut here in points instead.
    static void strokeBorder(QPainter &painter, const QPainterPath &path, const QColor &color, double width,
                             const QString &dashCode, Qt::PenCapStyle cap = Qt::FlatCap);
    // The "on" pieces of the path under the dash lengths (points, phase 0, restarting on every
    // subpath), as open segments.
    static QPainterPath dashSegments(const QPainterPath &path, const QList<qreal> &dashes);

    // Path with the winding fill rule, so stars and doubly traced polygons fill inside.
    static QPainterPath winding(QPainterPath path);

    // The axis of a linear gradient across bounds at angleDegrees: the angle turns from the +x axis
    // towards +y in the painter's coordinates (on the y-down card, 90 runs from top to bottom), and
    // the ends are placed so that the two colours reach the farthest corners.
    static QLineF gradientLine(const QRectF &bounds, double angleDegrees);
    static void fillGradient(QPainter &painter, const QPainterPath &path, const QColor &from,
                             const QColor &to, double angleDegrees);
    // Fills the path with the picture repeated from the painter's origin, at the given opacity.
    static void fillTiled(QPainter &painter, const QPainterPath &path, const Picture &tile,
                          double opacity = 1.0);
    // The hatch fill: background colour, then the named pattern over it. A missing pattern leaves the
    // background alone; returns whether the pattern was found.
    static bool fillHatch(QPainter &painter, const QPainterPath &path, const QColor &background,
                          const QString &resourcePath, const QString &hatchName);

    // Draws the part `source` (points of the picture) into target, at opacity. Vector pictures are
    // replayed from a private copy, so threads can share one picture.
    static void drawPicture(QPainter &painter, const Picture &picture, const QRectF &target,
                            const QRectF &source, double opacity = 1.0);
    static void drawPicture(QPainter &painter, const Picture &picture, const QRectF &target,
                            double opacity = 1.0);

    // Opacity fields hold 100 on a new object: clamp to [0, 1] (NaN paints opaque).
    static double clampedOpacity(double value);
};
