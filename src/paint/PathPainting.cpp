#include "paint/PathPainting.h"

#include "paint/ResourcePictures.h"
#include "platform/PictureDecodes.h"

#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

QList<qreal> PathPainting::dashPattern(const QString &code)
{
    if (code == u"DA")
        return {8, 2};
    if (code == u"DO")
        return {4, 6};
    if (code == u"DD")
        return {24, 10, 6, 10};
    if (code == u"DDD")
        return {24, 8, 8, 8, 8, 8};
    return {};
}

QPen PathPainting::borderPen(const QColor &color, double width, const QString &dashCode, Qt::PenCapStyle cap)
{
    const double w = (std::isfinite(width) && width > 0) ? width : 0.0;
    QPen pen(color, w);
    pen.setCapStyle(cap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(10.0);
    QList<qreal> dashes = dashPattern(dashCode);
    if (!dashes.isEmpty()) {
        if (cap != Qt::FlatCap && w > 0) {
            // A dash of no length would draw no cap at all; a sliver of one draws the cap alone.
            constexpr double CapOnly = 1e-3;
            for (qsizetype i = 0; i + 1 < dashes.size(); i += 2) {
                dashes[i] = std::max(dashes[i] - w, CapOnly);
                dashes[i + 1] += w;
            }
        }
        // Qt measures dashes in pen widths; a hairline counts as width 1.
        const double unit = w > 0 ? w : 1.0;
        for (qreal &d : dashes)
            d /= unit;
        pen.setDashPattern(dashes);
        pen.setDashOffset(0);
    }
    return pen;
}

void PathPainting::strokeBorder(QPainter &painter, const QPainterPath &path, const QColor &color,
                                double width, const QString &dashCode, Qt::PenCapStyle cap)
{
    QPen pen = borderPen(color, width, dashCode, cap);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    const QList<qreal> dashes = dashPattern(dashCode);
    if (pen.widthF() > 0 || dashes.isEmpty()) {
        painter.setPen(pen);
        painter.drawPath(path);
    } else {
        pen.setStyle(Qt::SolidLine);
        painter.setPen(pen);
        painter.drawPath(dashSegments(path, dashes));
    }
    painter.restore();
}

QPainterPath PathPainting::dashSegments(const QPainterPath &path, const QList<qreal> &dashes)
{
    qreal period = 0;
    for (qreal d : dashes)
        period += d;
    if (dashes.isEmpty() || !(period > 0))
        return path;
    QPainterPath out;
    // A huge path under short dashes would make millions of pieces: stop at a bound.
    int budget = 200000;
    for (const QPolygonF &poly : path.toSubpathPolygons()) {
        qsizetype index = 0;
        qreal left = dashes.first();
        bool on = true;
        for (qsizetype i = 1; i < poly.size(); ++i) {
            const QLineF edge(poly.at(i - 1), poly.at(i));
            const qreal length = edge.length();
            if (!std::isfinite(length))
                return out;
            qreal at = 0;
            while (length - at > left) {
                if (on) {
                    out.moveTo(edge.pointAt(at / length));
                    out.lineTo(edge.pointAt((at + left) / length));
                }
                at += left;
                index = (index + 1) % dashes.size();
                left = dashes.at(index);
                on = !on;
                if (--budget <= 0)
                    return out;
            }
            if (on && length > at) {
                out.moveTo(edge.pointAt(at / length));
                out.lineTo(edge.p2());
            }
            left -= length - at;
        }
    }
    return out;
}

QPainterPath PathPainting::winding(QPainterPath path)
{
    path.setFillRule(Qt::WindingFill);
    return path;
}

QLineF PathPainting::gradientLine(const QRectF &bounds, double angleDegrees)
{
    const double a = std::isfinite(angleDegrees) ? qDegreesToRadians(angleDegrees) : 0.0;
    const double dx = std::cos(a), dy = std::sin(a);
    const double half = (std::abs(bounds.width() * dx) + std::abs(bounds.height() * dy)) / 2.0;
    const QPointF c = bounds.center();
    return QLineF(c - QPointF(dx, dy) * half, c + QPointF(dx, dy) * half);
}

void PathPainting::fillGradient(QPainter &painter, const QPainterPath &path, const QColor &from,
                                const QColor &to, double angleDegrees)
{
    const QLineF axis = gradientLine(path.boundingRect(), angleDegrees);
    QLinearGradient g(axis.p1(), axis.p2());
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    g.setSpread(QGradient::PadSpread);
    painter.fillPath(winding(path), g);
}

void PathPainting::fillTiled(QPainter &painter, const QPainterPath &path, const Picture &tile, double opacity)
{
    const QSizeF size = tile.size();
    if (tile.isNull() || !(size.width() > 0) || !(size.height() > 0) || size.width() * size.height() > 16e6)
        return;
    // A tile of a large picture is decoded at the size it lands on the device.
    const QImage pixels =
        tile.isVector()
            ? tile.toImage()
            : PictureDecodes::shownPixels(tile.atPixels(Picture::devicePixels(painter, size)), painter);
    if (pixels.isNull())
        return;
    QBrush brush(pixels);
    // One tile is the picture's size in points, whatever its pixel count.
    brush.setTransform(QTransform::fromScale(size.width() / pixels.width(), size.height() / pixels.height()));
    painter.save();
    painter.setOpacity(painter.opacity() * clampedOpacity(opacity));
    painter.fillPath(winding(path), brush);
    painter.restore();
}

bool PathPainting::fillHatch(QPainter &painter, const QPainterPath &path, const QColor &background,
                             const QString &resourcePath, const QString &hatchName)
{
    painter.fillPath(winding(path), background);
    const std::optional<Picture> pattern = ResourcePictures::hatch(resourcePath, hatchName);
    if (!pattern)
        return false;
    fillTiled(painter, path, *pattern);
    return true;
}

void PathPainting::drawPicture(QPainter &painter, const Picture &picture, const QRectF &target,
                               double opacity)
{
    drawPicture(painter, picture, target, QRectF(QPointF(0, 0), picture.size()), opacity);
}

void PathPainting::drawPicture(QPainter &painter, const Picture &picture, const QRectF &target,
                               const QRectF &source, double opacity)
{
    const QSizeF size = picture.size();
    if (picture.isNull() || !(size.width() > 0) || !(size.height() > 0) || !(source.width() > 0) ||
        !(source.height() > 0) || target.isEmpty())
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * clampedOpacity(opacity));
    if (picture.isVector()) {
        // The whole picture placed so that source lands on target, cut to target.
        const double sx = target.width() / source.width(), sy = target.height() / source.height();
        painter.setClipRect(target, Qt::IntersectClip);
        picture.draw(painter, QRectF(target.x() - source.x() * sx, target.y() - source.y() * sy,
                                     size.width() * sx, size.height() * sy));
    } else {
        // A large picture is decoded no finer than the device shows it; a canvas may draw a level
        // it holds meanwhile, of other pixels: what follows goes by the pixels drawn.
        const QSizeF whole(size.width() * target.width() / source.width(),
                           size.height() * target.height() / source.height());
        const QImage img =
            PictureDecodes::shownPixels(picture.atPixels(Picture::devicePixels(painter, whole)), painter);
        const double kx = img.width() / size.width(), ky = img.height() / size.height();
        const QRectF px(source.x() * kx, source.y() * ky, source.width() * kx, source.height() * ky);
        // The part of the source outside the pixels draws nothing: cut both rectangles alike.
        const QRectF inside = px.intersected(QRectF(img.rect()));
        if (!inside.isEmpty()) {
            const double sx = target.width() / px.width(), sy = target.height() / px.height();
            const QRectF to(target.x() + (inside.x() - px.x()) * sx, target.y() + (inside.y() - px.y()) * sy,
                            inside.width() * sx, inside.height() * sy);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            const QPaintEngine *engine = painter.paintEngine();
            if (engine && engine->type() == QPaintEngine::Pdf && inside.toRect() != img.rect()) {
                // A PDF writer embeds a part of an image as an image of its own at every placement:
                // the whole image is placed, cut to the part.
                painter.setClipRect(to, Qt::IntersectClip);
                painter.drawImage(QRectF(to.x() - inside.x() * sx, to.y() - inside.y() * sy, img.width() * sx,
                                         img.height() * sy),
                                  img);
            } else {
                painter.drawImage(to, img, inside);
            }
        }
    }
    painter.restore();
}

double PathPainting::clampedOpacity(double value)
{
    if (std::isnan(value))
        return 1.0;
    return std::clamp(value, 0.0, 1.0);
}
