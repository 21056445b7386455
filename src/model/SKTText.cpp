#include "model/SKTText.h"

#include <algorithm>
#include <cmath>

QRectF SKTText::drawingBounds() const
{
    return unionRect(SKTGraphic::drawingBounds(), bounds().adjusted(-1, -1, 1, 1));
}

void SKTText::makeNaturalSize(const QRectF &card)
{
    if (ctrl_is_locked)
        return;
    // The frame's own width would keep the lines it wraps now, which a change of case or letter
    // spacing may have made: the words go back on the lines they make up to the card's edge.
    const QRectF b = bounds();
    const double room = card.isEmpty() ? b.width() : std::max(b.width(), card.right() - b.left());
    setBounds(QRectF(b.topLeft(), naturalSizeAt(room)));
}

QSet<QString> SKTText::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = SKTGraphic::keysForValuesToObserveForUndo();
    if (_boundsBeingChangedToMatchContents)
        keys.remove(SKTGraphicBoundsKey);
    return keys;
}

void SKTText::setHeightToMatchContents()
{
    setHeightOutsideUndo(naturalSize().height());
}

namespace
{
// Where a frame edge starts once the frame grows from `length` to `grown` along one axis of a card
// running from `low` to `high`: it grows on past its far edge as far as the card's edge (or its own
// far edge, when that is already past the card's), and beyond that back inward, never over the
// card's near edge unless it already started before it.
double grownStart(double start, double length, double grown, double low, double high)
{
    if (!(grown > length) || !(high > low))
        return start;
    const double farEdge = std::max(start + length, high);
    return std::max(std::min(start, farEdge - grown), std::min(start, low));
}
} // namespace

void SKTText::growToFitText(const QRectF &card)
{
    // A frame of no width shows no text, however tall it were made.
    if (ctrl_is_locked || !(bounds().width() > 0))
        return;
    // A word wider than the frame would be broken inside it ("Saturda / y!"): the frame widens
    // to the widest word first. Whole points, so that no line is cut by a rounding.
    const QRectF b = bounds();
    const double width = widthToFitCard(std::max(b.width(), std::ceil(widestDrawnWord()) + 1), card);
    setBoundsOutsideUndo(
        QRectF(grownStart(b.x(), b.width(), width, card.left(), card.right()), b.y(), width, b.height()));
    const double needed = std::ceil(drawnTextHeight());
    const QRectF w = bounds();
    if (needed > w.height())
        setBoundsOutsideUndo(QRectF(w.x(), grownStart(w.y(), w.height(), needed, card.top(), card.bottom()),
                                    w.width(), needed));
}

double SKTText::widthToFitCard(double width, const QRectF &card) const
{
    if (card.isEmpty() || !(card.width() > width) || drawnTextHeightAt(width) <= card.height())
        return width;
    if (drawnTextHeightAt(card.width()) > card.height())
        return card.width();
    // Whole points, halving the range: a few layouts of a short text.
    double fits = card.width(), tooNarrow = width;
    while (fits - tooNarrow > 1) {
        const double middle = std::floor((fits + tooNarrow) / 2);
        (drawnTextHeightAt(middle) <= card.height() ? fits : tooNarrow) = middle;
    }
    return fits;
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
