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
    // A word wider than the frame would be broken inside it ("Saturda / y!"): the frame widens
    // to the widest word first. Whole points, so that no line is cut by a rounding.
    const double width = std::max(bounds().width(), std::ceil(widestDrawnWord()) + 1);
    const QRectF b = bounds();
    setBoundsOutsideUndo(QRectF(b.x(), b.y(), width, b.height()));
    const double needed = std::ceil(drawnTextHeight());
    if (needed > bounds().height())
        setHeightOutsideUndo(needed);
}

void SKTText::setHeightOutsideUndo(double height)
{
    const QRectF b = bounds();
    setBoundsOutsideUndo(QRectF(b.x(), b.y(), b.width(), height));
}

void SKTText::setBoundsOutsideUndo(const QRectF &bounds)
{
    if (bounds == this->bounds())
        return;
    changeValue(SKTGraphicKeysForValuesToObserveForUndoKey,
                [&] { _boundsBeingChangedToMatchContents = true; });
    setBounds(bounds);
    changeValue(SKTGraphicKeysForValuesToObserveForUndoKey,
                [&] { _boundsBeingChangedToMatchContents = false; });
}
