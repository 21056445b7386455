// Painting of SKTBarcode. Painting reads the record and changes nothing, so it may run on any thread.
#include "model/SKTBarcode.h"

#include "model/GraphicPainting.h"
#include "paint/ResourcePictures.h"

#include <QPainter>

void SKTBarcode::drawContentsInView(QPainter &painter, const GraphicDrawContext &context, bool) const
{
    if (!ctrl_is_visible)
        return;
    // The record's barcode picture, else on the canvas the sample picture (read once and shared).
    // Output never draws the sample: it scans as a number nobody chose.
    std::optional<Picture> picture = _barcode_image;
    if ((!picture || picture->isNull()) && context.onCanvas)
        picture =
            ResourcePictures::sample(context.resourcePath, QLatin1String(ResourcePictures::BarcodeSample));
    if (picture && !picture->isNull()) {
        // At its own size from the bounds origin; the bounds do not scale it.
        PathPainting::drawPicture(painter, *picture, QRectF(bounds().topLeft(), picture->size()));
    }
    GraphicPainting::requestCanvasRefresh();
}
