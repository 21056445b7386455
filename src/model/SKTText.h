// A text on the card: the characters of its text storage drawn in the record's font, colour,
// alignment, kerning and letter case, over an optional fill and border.
#pragma once

#include "model/SKTGraphic.h"

#include <QSizeF>

class SKTText : public SKTGraphicKind<SKTText, SKTGraphic::Kind::Text>
{
public:
    SKTText() = default;
    explicit SKTText(ZeroFields z) : SKTGraphicKind(z) {}
    SKTText(const SKTText &) = default;

    bool canSetDrawingStroke() const override { return false; }
    QRectF drawingBounds() const override;
    void makeNaturalSize() override { makeNaturalSize(QRectF()); }
    // Natural Size on `card`: the frame keeps its origin and takes the size of the text on its own
    // lines, wrapped only where a line would pass the card's right edge (or the frame's, when that
    // lies further right, or without a card); a locked text keeps its frame.
    void makeNaturalSize(const QRectF &card);
    QSet<QString> keysForValuesToObserveForUndo() const override;

    // Size the text needs as drawn at the current width: its lines as drawing wraps them, each as
    // wide as its characters in their case, font and letter spacing; the widest sets the width.
    QSizeF naturalSize() const { return naturalSizeAt(bounds().width()); }
    // The same laid out `width` points wide.
    QSizeF naturalSizeAt(double width) const;
    // The height the text takes when drawn in `font` wrapped at `width` points, every line laid out.
    static double heightAsDrawn(const QString &text, const FontDescriptor &font, double width);
    // Where drawing text as this object draws its own cuts it: nowhere, at the box (ink of a glyph
    // past the area the drawing clips to, or text past the lines it lays out), or at the card's
    // edge (card: the card's rectangle in the bounds' points; empty: none). A text far longer
    // than any box shows is judged by its start.
    enum class Cut { None, ByBox, ByCard };
    Cut cutOf(const QString &text, const QRectF &card = QRectF()) const;
    // The characters drawing `stored` as this object puts on the card (trimmed, in its letter
    // case), and the font it draws them in: what a check of the glyphs must look at.
    QString drawnCharacters(const QString &stored) const;
    FontDescriptor drawnFont() const;
    // Fits the height to the text without recording the change for undo.
    void setHeightToMatchContents();
    // Height the drawn text takes at the current width: trimmed, in its case, in the record's font
    // and kerning, as the drawing lays it out; 0 when nothing is drawn.
    double drawnTextHeight() const;
    // The same were the frame `width` points wide.
    double drawnTextHeightAt(double width) const;
    // Width of the widest word of the drawn text, in the record's font; 0 without text.
    double widestDrawnWord() const;
    // Makes the frame tall enough to show the whole drawn text (never shorter), without recording
    // the change for undo; a locked text keeps its frame. Growing past the card's right or bottom
    // edge, it grows inward instead, as far as the opposite edge (an empty card: never inward). A
    // text taller than the card at the frame's width widens the frame, up to the card's width,
    // until its lines fit the card's height.
    void growToFitText(const QRectF &card = QRectF());

    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;

    bool _boundsBeingChangedToMatchContents = false;

private:
    // The narrowest width from `width` up to the card's at which the drawn text fits the card's
    // height (the card's width when none does).
    double widthToFitCard(double width, const QRectF &card) const;
    void setHeightOutsideUndo(double height);
    void setBoundsOutsideUndo(const QRectF &bounds);
};
