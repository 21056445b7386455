// Painting of SKTImage. Painting reads the record and changes nothing but a canvas's note of what it
// showed, so it may run on any thread.
#include "model/SKTImage.h"

#include "model/GraphicPainting.h"
#include "paint/ImageProcesser.h"

#include <QPainter>

#include <cmath>

ProcessedPictures::Filters SKTImage::filters() const
{
    ProcessedPictures::Filters f;
    f.grayscale = gray_Scale;
    f.sepia = Sepia;
    f.invert = invert_clr;
    f.hue = hue_val;
    f.sat = sat_val;
    f.brt = brt_val;
    f.con = con_val;
    f.rotate = std::isfinite(rotate_image) ? int(std::trunc(std::clamp(rotate_image, -1e9f, 1e9f))) : 0;
    f.sharpen = srp_val;
    f.exposure = ev_val;
    f.blur = blr_val;
    return f;
}

bool SKTImage::showsFiltered() const
{
    if (!m_shown.shown || !_contents)
        return false;
    const Picture &a = m_shown.shown->source;
    const Picture &b = *_contents;
    // The same pixels (a cache key is never given twice), recording or drawing, at the same size.
    return m_shown.shown->filters == filters() && a.size() == b.size() && a.vector() == b.vector() &&
           a.drawing() == b.drawing() && a.image().cacheKey() == b.image().cacheKey();
}

void SKTImage::noteShown(const Picture &source, const ProcessedPictures::Filters &filters,
                         const std::optional<Picture> &filtered) const
{
    m_shown.shown = Shown{source, filters, filtered};
}

void SKTImage::drawContentsInView(QPainter &painter, const GraphicDrawContext &context, bool) const
{
    if (!ctrl_is_visible || (_file_path && _file_path->isEmpty()))
        return;
    const QRectF b = bounds();
    if (isDrawingStroke())
        GraphicPainting::strokeBounds(painter, *this); // under the picture

    if (_contents && !_contents->isNull()) {
        const ProcessedPictures::Filters chain = filters();
        std::optional<Picture> processed;
        if (context.editingCanvas && showsFiltered()) {
            processed = m_shown.shown->filtered;
        } else if (context.waitForFilters || ProcessedPictures::isReady(*_contents, chain)) {
            processed = ProcessedPictures::processed(*_contents, chain);
            if (context.editingCanvas)
                noteShown(*_contents, chain, processed);
        } else {
            processed = m_shown.shown ? m_shown.shown->filtered : ImageProcesser::Set_Dimaension(*_contents);
        }
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
