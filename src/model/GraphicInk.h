// The box an object takes on the card as the user sees it: what placing a new object or a personal
// detail keeps clear of, so nothing lands on what is already drawn.
#pragma once

#include "model/SKTBarcode.h"

#include <QRectF>

namespace GraphicInk
{
// The frame: for a barcode with a picture that is the box the picture draws (SKTBarcode keeps its
// frame so); one without a picture is drawn as the canvas's sample, whole from the frame's corner.
inline QRectF drawnBox(const SKTGraphic &g)
{
    if (g.kind() != SKTGraphic::Kind::Barcode)
        return g.bounds();
    const auto &barcode = static_cast<const SKTBarcode &>(g);
    if (barcode.drawnSize())
        return barcode.drawnBox();
    const std::optional<Picture> &sample = barcode._contents;
    if (!sample || sample->isNull())
        return g.bounds();
    return g.bounds().united(SKTBarcode::drawnArea(g.bounds(), sample->size()));
}
} // namespace GraphicInk
