// A barcode picture made by the barcode window, drawn at its own size from the bounds origin;
// a sample picture stands in while the record holds none. The frame does not scale the picture
// and does not cut it either: the canvas, export, print and the check before output all draw or
// judge it whole, past a frame smaller than it.
#pragma once

#include "model/SKTGraphic.h"

class SKTBarcode : public SKTGraphicKind<SKTBarcode, SKTGraphic::Kind::Barcode>
{
public:
    SKTBarcode() = default;
    explicit SKTBarcode(ZeroFields z) : SKTGraphicKind(z) {}
    SKTBarcode(const SKTBarcode &) = default;

    // A barcode centred on point whose picture is contents (the sample stands in for a null one).
    static std::shared_ptr<SKTBarcode> initWithPosition(const QPointF &point, const Picture &contents);

    // _contents becomes the record's barcode picture, or the sample picture when it holds none.
    void barcode_image_var_assign();
    // The picture to show now, computed without storing it (safe on any thread).
    std::optional<Picture> shownPicture() const;

    // Natural Size gives the frame its picture's own size, the size the bars are drawn at; a
    // square would squeeze them.
    bool canMakeNaturalSize() const override;
    void makeNaturalSize() override;

    // Where a picture of the given size is drawn for the frame: at its own size from the frame's
    // top-left corner.
    static QRectF drawnArea(const QRectF &frame, const QSizeF &picture)
    {
        return QRectF(frame.topLeft(), picture);
    }
    // The frame with the whole picture shown on the canvas, so that the canvas paints it uncut.
    QRectF drawingBounds() const override;

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return false; }
    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;

    std::optional<Picture> _contents;
};
