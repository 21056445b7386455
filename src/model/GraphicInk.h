// The box an object takes on the card as the user sees it: what placing a new object or a personal
// detail keeps clear of, so nothing lands on what is already drawn.
#pragma once

#include "model/SKTBarcode.h"

#include <QRectF>

namespace GraphicInk
{
// The frame, and for a barcode its picture too: drawn whole at its own size from the frame's
// top-left corner, past a smaller frame (the sample the canvas shows in its place included).
inline QRectF drawnBox(const SKTGraphic &g)
{
    if (g.kind() != SKTGraphic::Kind::Barcode)
        return g.bounds();
    const auto &barcode = static_cast<const SKTBarcode &>(g);
    const std::optional<Picture> &picture = barcode._barcode_image && !barcode._barcode_image->isNull()
                                                ? barcode._barcode_image
                                                : barcode._contents;
    if (!picture || picture->isNull())
        return g.bounds();
    return g.bounds().united(SKTBarcode::drawnArea(g.bounds(), picture->size()));
}
} // namespace GraphicInk
