// A barcode picture made by the barcode window, drawn at its own size from the bounds origin;
// a sample picture stands in while the record holds none. The frame does not scale the picture:
// it is always the box the picture is drawn in, so that selecting, placing and checking go by what
// shows. Only the barcode's own settings change its size.
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

    // The size the barcode is drawn at: its picture's; none while it holds no picture (the canvas
    // then shows a stand-in, and the frame is left as it is).
    std::optional<QSizeF> drawnSize() const;
    // The box the barcode draws (symbol with its texts), from the frame's top-left corner: the
    // frame itself once it has been set or read.
    QRectF drawnBox() const;
    // The frame keeps its top-left corner and takes the drawn size whatever size is asked.
    void setBounds(const QRectF &bounds) override;
    // A handle drag cannot resize the picture: the frame stays the drawn box.
    int resizeByMovingHandle(int handle, const QPointF &point) override;
    // A design or pasted object written with another frame is read with the drawn one.
    void initWithCoder(KeyedUnarchiver &coder) override;

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
