#include "model/SKTLine.h"

#include "foundation/CardCodes.h"
#include "platform/KeyedUnarchiver.h"

#include <cmath>

QPointF SKTLine::beginPoint() const
{
    const QRectF b = bounds();
    return QPointF(_pointsRight ? b.x() : b.x() + b.width(), _pointsDown ? b.y() : b.y() + b.height());
}

QPointF SKTLine::endPoint() const
{
    const QRectF b = bounds();
    return QPointF(_pointsRight ? b.x() + b.width() : b.x(), _pointsDown ? b.y() + b.height() : b.y());
}

QRectF SKTLine::boundsWithBeginPoint(const QPointF &begin, const QPointF &end, bool *pointsRight,
                                     bool *pointsDown)
{
    if (pointsRight)
        *pointsRight = end.x() > begin.x();
    if (pointsDown)
        *pointsDown = end.y() > begin.y();
    return QRectF(std::min(begin.x(), end.x()), std::min(begin.y(), end.y()), std::abs(end.x() - begin.x()),
                  std::abs(end.y() - begin.y()));
}

void SKTLine::setPoints(const QPointF &begin, const QPointF &end)
{
    // Flags and bounds change inside one notice, so observers see the old points before the change.
    changeValue(SKTGraphicBoundsKey,
                [&] { _bounds = boundsWithBeginPoint(begin, end, &_pointsRight, &_pointsDown); });
}

void SKTLine::setBeginPoint(const QPointF &p)
{
    setPoints(p, endPoint());
}

void SKTLine::setEndPoint(const QPointF &p)
{
    setPoints(beginPoint(), p);
}

void SKTLine::setOrientation(int orientation)
{
    // Undone with the turn it makes: a line back in place must not keep an orientation it lacks.
    changeValue(SKTLineOrientationKey, [&] { _line_ori = orientation; });
    const QPointF begin = beginPoint(), end = endPoint();
    const bool level = orientation == LineOrientation::Horizontal && begin.y() != end.y();
    const bool upright = orientation == LineOrientation::Vertical && begin.x() != end.x();
    if (!level && !upright)
        return;
    const QPointF middle = (begin + end) / 2.0;
    const double half = std::hypot(end.x() - begin.x(), end.y() - begin.y()) / 2.0;
    // The end keeps its side of the begin point: right (or down) unless it lay left (or up).
    const double sign = level ? (end.x() < begin.x() ? -1.0 : 1.0) : (end.y() < begin.y() ? -1.0 : 1.0);
    const QPointF offset = level ? QPointF(sign * half, 0) : QPointF(0, sign * half);
    setPoints(middle - offset, middle + offset);
}

int SKTLine::handleUnderPoint(const QPointF &point) const
{
    if (isHandleAtPoint(beginPoint(), point))
        return LineHandle::Begin;
    if (isHandleAtPoint(endPoint(), point))
        return LineHandle::End;
    return SKTGraphicNoHandle;
}

int SKTLine::resizeByMovingHandle(int handle, const QPointF &point)
{
    if (handle != LineHandle::Begin && handle != LineHandle::End)
        return handle;
    // A level or upright line stays so: the dragged end follows the pointer along its own axis.
    const QPointF other = handle == LineHandle::Begin ? endPoint() : beginPoint();
    QPointF p = point;
    if (_line_ori == LineOrientation::Horizontal)
        p.setY(other.y());
    else if (_line_ori == LineOrientation::Vertical)
        p.setX(other.x());
    if (handle == LineHandle::Begin)
        setBeginPoint(p);
    else
        setEndPoint(p);
    return handle;
}

bool SKTLine::isContentsUnderPoint(const QPointF &p) const
{
    if (!SKTGraphic::isContentsUnderPoint(p))
        return false;
    const double d = strokeWidth() / 2.0 + 2.0;
    const QPointF begin = beginPoint();
    const QPointF end = endPoint();
    const double dx = end.x() - begin.x();
    if (dx == 0.0 && std::abs(p.x() - begin.x()) <= d)
        return true;
    if (dx == 0.0)
        return false;
    const double slope = (end.y() - begin.y()) / dx;
    return std::abs((p.x() - begin.x()) * slope - (p.y() - begin.y())) <= d;
}

void SKTLine::setColor(const QColor &color)
{
    setValueForKey(SKTGraphicStrokeColorKey, color);
}

GraphicPtr SKTLine::copy() const
{
    GraphicPtr c = SKTGraphic::copy();
    auto &line = static_cast<SKTLine &>(*c);
    line._pointsRight = _pointsRight;
    line._pointsDown = _pointsDown;
    return c;
}

QVariant SKTLine::valueForKey(const QString &key) const
{
    if (key == SKTLineBeginPointKey)
        return beginPoint();
    if (key == SKTLineEndPointKey)
        return endPoint();
    if (key == SKTLineOrientationKey)
        return _line_ori;
    return SKTGraphic::valueForKey(key);
}

bool SKTLine::setValueForKey(const QString &key, const QVariant &value)
{
    if (key == SKTLineBeginPointKey) {
        setBeginPoint(value.toPointF());
        return true;
    }
    if (key == SKTLineEndPointKey) {
        setEndPoint(value.toPointF());
        return true;
    }
    if (key == SKTLineOrientationKey) {
        // The ends come back through their own keys: nothing is turned here.
        changeValue(key, [&] { _line_ori = value.toInt(); });
        return true;
    }
    return SKTGraphic::setValueForKey(key, value);
}

QSet<QString> SKTLine::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = SKTGraphic::keysForValuesToObserveForUndo();
    keys.remove(SKTGraphicBoundsKey);
    keys.insert(SKTLineBeginPointKey);
    keys.insert(SKTLineEndPointKey);
    keys.insert(SKTLineOrientationKey);
    return keys;
}

QStringList SKTLine::keyPathsForValuesAffectingValueForKey(const QString &key) const
{
    if (key == SKTLineBeginPointKey || key == SKTLineEndPointKey)
        return {SKTGraphicBoundsKey};
    return SKTGraphic::keyPathsForValuesAffectingValueForKey(key);
}

std::optional<QPainterPath> SKTLine::bezierPathForDrawing() const
{
    QPainterPath path;
    path.moveTo(beginPoint());
    path.lineTo(endPoint());
    return path;
}

void SKTLine::encodeWithCoder(KeyedArchiver &coder) const
{
    SKTGraphic::encodeWithCoder(coder);
    coder.encodeBool(QStringLiteral("_pointsRight"), _pointsRight);
    coder.encodeBool(QStringLiteral("_pointsDown"), _pointsDown);
}

void SKTLine::initWithCoder(KeyedUnarchiver &coder)
{
    SKTGraphic::initWithCoder(coder);
    _pointsRight = coder.decodeBool(QStringLiteral("_pointsRight"));
    _pointsDown = coder.decodeBool(QStringLiteral("_pointsDown"));
}
