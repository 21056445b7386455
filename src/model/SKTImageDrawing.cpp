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

Picture SKTImage::shownSource(QSizeF devicePixelsPerPoint) const
{
    if (!_contents)
        return Picture();
    // The whole picture is stretched over the bounds.
    const QRectF b = bounds();
    const double w = std::abs(b.width()) * devicePixelsPerPoint.width();
    const double h = std::abs(b.height()) * devicePixelsPerPoint.height();
    constexpr double All = 1 << 20;
    if (!(w < All && h < All))
        return *_contents;
    return _contents->atPixels(QSize(int(std::ceil(w - 1e-6)), int(std::ceil(h - 1e-6))));
}

bool SKTImage::showsFiltered() const
{
    if (!m_shown.shown || !_contents)
        return false;
    return showsFiltered(_contents->atPixels(m_shown.shown->source.pixelSize()));
}

bool SKTImage::showsFiltered(const Picture &source) const
{
    // The same pixels (a cache key is never given twice), recording, drawing or encoded picture at
    // the same level, at the same size.
    return m_shown.shown && m_shown.shown->filters == filters() && m_shown.shown->source.sameContent(source);
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
        const Picture source = shownSource(
            context.editingCanvas ? QSizeF(context.deviceScale, context.deviceScale)
                                  : QSizeF(Picture::devicePixels(painter, QSizeF(1000, 1000))) / 1000);
        std::optional<Picture> processed;
        if (context.editingCanvas && showsFiltered(source)) {
            processed = m_shown.shown->filtered;
        } else if (context.waitForFilters || ProcessedPictures::isReady(source, chain)) {
            processed = ProcessedPictures::processed(source, chain);
            if (context.editingCanvas)
                noteShown(source, chain, processed);
        } else if (m_shown.shown) {
            processed = m_shown.shown->filtered;
        } else if (source.isDecoded()) {
            processed = ImageProcesser::Set_Dimaension(source);
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
