// Key access of card objects: values by key, writes by key with change notices to the observers of
// every dependent key, and the keys that undo records.
#include "model/SKTGraphic.h"

namespace
{

QVariant colorValue(const std::optional<QColor> &c)
{
    return c ? QVariant::fromValue(*c) : QVariant();
}

std::optional<QColor> colorFrom(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    QColor c = v.value<QColor>();
    if (!c.isValid())
        return std::nullopt;
    return c;
}

} // namespace

QVariant SKTGraphic::valueForKey(const QString &key) const
{
    if (key == SKTGraphicBoundsKey)
        return bounds();
    if (key == SKTGraphicIsDrawingFillKey)
        return isDrawingFill();
    // The colours as stored: the object's opacity is a field of its own, so what undo records and
    // puts back by these keys must not carry it mixed in.
    if (key == SKTGraphicFillColorKey)
        return colorValue(_fillColor);
    if (key == SKTGraphicIsDrawingStrokeKey)
        return isDrawingStroke();
    if (key == SKTGraphicStrokeColorKey)
        return colorValue(_strokeColor);
    if (key == SKTGraphicStrokeWidthKey)
        return strokeWidth();
    if (key == SKTGraphicXPositionKey)
        return xPosition();
    if (key == SKTGraphicYPositionKey)
        return yPosition();
    if (key == SKTGraphicWidthKey)
        return width();
    if (key == SKTGraphicHeightKey)
        return height();
    if (key == SKTGraphicDrawingBoundsKey)
        return drawingBounds();
    if (key == SKTGraphicKeysForValuesToObserveForUndoKey)
        return QStringList(keysForValuesToObserveForUndo().values());
    if (key == SKTGraphicCanSetDrawingFillKey)
        return canSetDrawingFill();
    if (key == SKTGraphicCanSetDrawingStrokeKey)
        return canSetDrawingStroke();
    return QVariant();
}

bool SKTGraphic::setValueForKey(const QString &key, const QVariant &value)
{
    if (key == SKTGraphicBoundsKey) {
        setBounds(value.toRectF());
    } else if (key == SKTGraphicIsDrawingFillKey) {
        changeValue(key, [&] { _isDrawingFill = value.toBool(); });
    } else if (key == SKTGraphicFillColorKey) {
        changeValue(key, [&] { _fillColor = colorFrom(value); });
    } else if (key == SKTGraphicIsDrawingStrokeKey) {
        changeValue(key, [&] { _isDrawingStroke = value.toBool(); });
    } else if (key == SKTGraphicStrokeColorKey) {
        changeValue(key, [&] { _strokeColor = colorFrom(value); });
    } else if (key == SKTGraphicStrokeWidthKey) {
        changeValue(key, [&] { _strokeWidth = value.toDouble(); });
    } else if (key == SKTGraphicXPositionKey) {
        setXPosition(value.toDouble());
    } else if (key == SKTGraphicYPositionKey) {
        setYPosition(value.toDouble());
    } else if (key == SKTGraphicWidthKey) {
        setWidth(value.toDouble());
    } else if (key == SKTGraphicHeightKey) {
        setHeight(value.toDouble());
    } else {
        return false;
    }
    return true;
}

QStringList SKTGraphic::keyPathsForValuesAffectingValueForKey(const QString &key) const
{
    if (key == SKTGraphicXPositionKey || key == SKTGraphicYPositionKey || key == SKTGraphicWidthKey ||
        key == SKTGraphicHeightKey)
        return {SKTGraphicBoundsKey};
    if (key == SKTGraphicDrawingBoundsKey)
        return {SKTGraphicBoundsKey, SKTGraphicStrokeWidthKey};
    if (key == SKTGraphicDrawingContentsKey)
        return {SKTGraphicIsDrawingFillKey, SKTGraphicFillColorKey, SKTGraphicIsDrawingStrokeKey,
                SKTGraphicStrokeColorKey};
    return {};
}

QSet<QString> SKTGraphic::keysForValuesToObserveForUndo() const
{
    return {SKTGraphicIsDrawingFillKey, SKTGraphicFillColorKey,   SKTGraphicIsDrawingStrokeKey,
            SKTGraphicStrokeColorKey,   SKTGraphicStrokeWidthKey, SKTGraphicBoundsKey};
}

QString SKTGraphic::presentablePropertyNameForKey(Kind kind, const QString &key)
{
    // The readable names come from the undo strings; where a text has none, the key stands for itself.
    if (kind == Kind::Text && key == QLatin1String("undoContents"))
        return QStringLiteral("Text");
    if (kind == Kind::Image && key == QLatin1String("flippedHorizontally"))
        return QStringLiteral("Horizontal Flipping");
    if (kind == Kind::Image && key == QLatin1String("flippedVertically"))
        return QStringLiteral("Vertical Flipping");
    if (kind == Kind::Line && key == QLatin1String("beginPoint"))
        return QStringLiteral("Beginpoint");
    if (kind == Kind::Line && key == QLatin1String("endPoint"))
        return QStringLiteral("Endpoint");
    if (kind == Kind::Line && key == QLatin1String("lineOrientation"))
        return QStringLiteral("Orientation");
    return QString(QLatin1String(""));
}
