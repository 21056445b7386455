// A barcode picture made by the barcode window, drawn at its own size from the bounds origin;
// a sample picture stands in while the record holds none.
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

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return false; }
    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;

    std::optional<Picture> _contents;
};
