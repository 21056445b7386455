#include "model/SKTText.h"

#include <cmath>

QRectF SKTText::drawingBounds() const
{
    return unionRect(SKTGraphic::drawingBounds(), bounds().adjusted(-1, -1, 1, 1));
}

void SKTText::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    setBounds(QRectF(bounds().topLeft(), naturalSize()));
}

QSet<QString> SKTText::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = SKTGraphic::keysForValuesToObserveForUndo();
    if (_contentsBeingChangedByScripting)
        keys.insert(QStringLiteral("undoContents"));
    if (_boundsBeingChangedToMatchContents)
        keys.remove(SKTGraphicBoundsKey);
    return keys;
}

void SKTText::setHeightToMatchContents()
{
    setHeightOutsideUndo(naturalSize().height());
}

void SKTText::growToFitText()
{
    // A frame of no width shows no text, however tall it were made.
    if (ctrl_is_locked || !(bounds().width() > 0))
        return;
    // Whole points, so that the last line is never cut by a rounding.
    const double needed = std::ceil(drawnTextHeight());
    if (needed > bounds().height())
        setHeightOutsideUndo(needed);
}

void SKTText::setHeightOutsideUndo(double height)
{
    changeValue(SKTGraphicKeysForValuesToObserveForUndoKey,
                [&] { _boundsBeingChangedToMatchContents = true; });
    const QRectF b = bounds();
    setBounds(QRectF(b.x(), b.y(), b.width(), height));
    changeValue(SKTGraphicKeysForValuesToObserveForUndoKey,
                [&] { _boundsBeingChangedToMatchContents = false; });
}
