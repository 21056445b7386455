// Painting of SKTImage. Painting reads the record and changes nothing, so it may run on any thread.
#include "model/SKTImage.h"

#include "model/GraphicPainting.h"
#include "paint/ImageProcesser.h"

#include <QPainter>

#include <cmath>

void SKTImage::drawContentsInView(QPainter &painter, const GraphicDrawContext &, bool) const
{
    if (!ctrl_is_visible || (_file_path && _file_path->isEmpty()))
        return;
    const QRectF b = bounds();
    if (isDrawingStroke())
        GraphicPainting::strokeBounds(painter, *this); // under the picture

    if (_contents && !_contents->isNull()) {
        const auto rotate =
            std::isfinite(rotate_image) ? int(std::trunc(std::clamp(rotate_image, -1e9f, 1e9f))) : 0;
        const std::optional<Picture> processed = ImageProcesser::Get_Processed_Image(
            *_contents, gray_Scale, Sepia, invert_clr, hue_val, sat_val, brt_val, con_val, rotate, srp_val,
            ev_val, blr_val, img_trnsp_val);
        const QSizeF s = ImageProcesser::cappedSize(_contents->size());
        // A picture with no width or height has nothing to scale: skip it, the border stays.
        if (processed && s.width() > 0 && s.height() > 0 && !b.isEmpty()) {
            QTransform t;
            t.translate(b.x(), b.y());
            t.translate(_isFlippedHorizontally ? b.width() : 0, _isFlippedVertically ? b.height() : 0);
            t.scale(_isFlippedHorizontally ? -1 : 1, _isFlippedVertically ? -1 : 1);
            t.scale(b.width() / s.width(), b.height() / s.height());
            // The stored picture's own size is taken from the processed one's lower-left corner, as
            // seen: when rotation made it larger, the rest is left out. Drawn upright.
            const double ph = processed->size().height();
            const QRectF source(0, ph - s.height(), s.width(), s.height());
            painter.save();
            painter.setTransform(t, true);
            PathPainting::drawPicture(painter, *processed, QRectF(QPointF(0, 0), s), source,
                                      PathPainting::clampedOpacity(img_trnsp_val / 100.0));
            painter.restore();
        }
    }
    GraphicPainting::requestCanvasRefresh();
}
