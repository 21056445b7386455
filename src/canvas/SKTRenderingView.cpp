#include "canvas/SKTRenderingView.h"

#include "platform/PdfDrawnText.h"
#include "platform/PdfPageBox.h"
#include "platform/PdfToUnicode.h"

#include "paint/PaintingScope.h"
#include "panels/CardPageDrawing.h"
#include "platform/Units.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <cstring>
#include <optional>

namespace
{

GraphicDrawContext outputContext(const QString &resourcePath, double deviceScale)
{
    GraphicDrawContext c;
    c.flipped = true;
    c.onCanvas = false;
    c.resourcePath = resourcePath;
    c.deviceScale = deviceScale;
    return c;
}

int pixelsFor(double points, double dpi)
{
    const double px = std::ceil(points * dpi / Units::PointsPerInch - 1e-9);
    return std::isfinite(px) ? int(std::max(0.0, std::min(px, double(SKTRenderingView::MaxPixels) + 1))) : 0;
}

bool usableSize(const QSizeF &s)
{
    return std::isfinite(s.width()) && std::isfinite(s.height()) && s.width() > 0 && s.height() > 0;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

} // namespace

SKTRenderingView::SKTRenderingView(const RenderSide &side, const QString &printJobTitle)
    : m_side(side), m_printJobTitle(printJobTitle)
{
}

void SKTRenderingView::drawRect(QPainter &painter) const
{
    drawSide(painter, m_side);
}

void SKTRenderingView::drawSide(QPainter &painter, const RenderSide &side)
{
    drawParts(painter, side, true);
}

void SKTRenderingView::drawParts(QPainter &painter, const RenderSide &side, bool withPage, bool withObjects)
{
    // Objects ask for a canvas refresh at the end of their paint; while rendering those are dropped.
    PaintingScope painting;
    const double scale = painter.device() ? Units::pixelsPerPoint(painter.device()->logicalDpiX()) : 1.0;
    const GraphicDrawContext context = outputContext(side.resourcePath(), scale > 0 ? scale : 1.0);
    painter.save();
    if (withPage)
        CardPageDrawing::Card_Base_Drawing(painter, side.page(), side.outline(),
                                           QRectF(QPointF(0, 0), side.cardSize()), side.resourcePath());
    if (withObjects) {
        ObjectPass printed;
        printed.draws = [](qsizetype, const SKTGraphic &g) { return g.print_object == 0; };
        drawObjects(painter, side.graphics(), context, printed);
    }
    painter.restore();
}

void SKTRenderingView::drawObjects(QPainter &painter, const GraphicList &objects,
                                   const GraphicDrawContext &context, const ObjectPass &pass)
{
    for (qsizetype i = objects.size() - 1; i >= 0; --i) {
        const SKTGraphic *g = objects.at(i).get();
        if (!g || (pass.draws && !pass.draws(i, *g)))
            continue;
        painter.save();
        painter.setClipRect(g->drawingBounds(), Qt::IntersectClip);
        g->drawContentsInView(painter, context, pass.beingEdited && pass.beingEdited(*g));
        if (pass.over)
            pass.over(painter, i, *g);
        painter.restore();
    }
}

QByteArray SKTRenderingView::pdfDataWithGraphics_data(const RenderSide &side, QString *error)
{
    if (!usableSize(side.cardSize())) {
        if (error)
            *error = QStringLiteral("The card has no size to draw.");
        return {};
    }
    // PDF readers take pages up to 200 inches a side; beyond that, or below a point, Qt would quietly
    // write a letter page instead.
    // Qt's pages are whole points: write on the page rounded up, then give the file the card's
    // exact size.
    const QSizeF wholePage = PdfPageBox::wholePointPage(side.cardSize());
    const QPageSize pageSize(wholePage, QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (side.cardSize().width() > MaxPdfPoints || side.cardSize().height() > MaxPdfPoints ||
        !pageSize.isValid()) {
        if (error)
            *error = QStringLiteral("The card size cannot be a PDF page.");
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<PdfDrawnText> drawnText;
    {
        QPdfWriter writer(&buffer);
        drawnText.emplace(&writer);
        writer.setCreator(QStringLiteral("Tessaly Greeting Designer"));
        const QSizeF page = writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait,
                                                             QMarginsF(0, 0, 0, 0), QPageLayout::Point))
                                ? writer.pageLayout().fullRect(QPageLayout::Point).size()
                                : QSizeF();
        if (std::abs(page.width() - wholePage.width()) > 0.01 ||
            std::abs(page.height() - wholePage.height()) > 0.01) {
            if (error)
                *error = QStringLiteral("The card size cannot be a PDF page.");
            return {};
        }
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("The PDF could not be started.");
            return {};
        }
        prepare(painter);
        // The writer's units are its device pixels: scale so that one unit is one point.
        const double k = Units::pixelsPerPoint(writer.resolution());
        painter.scale(k, k);
        drawSide(painter, side);
        painter.end();
    }
    // Should the writer's layout ever change, the page keeps its whole-point size: a white edge
    // under a point wide, nothing of the card cut off.
    if (!PdfPageBox::setExactSize(bytes, side.cardSize()))
        qWarning("The PDF page could not be given the card's exact size.");
    // Joined Arabic letters would otherwise copy and search as presentation forms, Devanagari
    // without its conjuncts.
    if (!PdfToUnicode::spellOutPresentationForms(bytes) || !drawnText->spellOut(bytes))
        qWarning("The PDF's text could not be mapped to the letters typed.");
    return bytes;
}

QPicture SKTRenderingView::pictureOfSide(const RenderSide &side)
{
    QPicture recording;
    QPainter painter(&recording);
    prepare(painter);
    painter.setClipRect(QRectF(QPointF(0, 0), side.cardSize()));
    drawSide(painter, side);
    painter.end();
    return recording;
}

std::optional<Picture> SKTRenderingView::image_From_Card_Graphics(const RenderSide &side, bool print_box)
{
    Q_UNUSED(print_box); // printing takes vector content as well
    if (!usableSize(side.cardSize()))
        return std::nullopt;
    return Picture::fromVector(pictureOfSide(side), side.cardSize());
}

QString SKTRenderingView::sizeRefusal(const QSizeF &cardSize, double dpi)
{
    if (!usableSize(cardSize) || !(dpi > 0) || !std::isfinite(dpi))
        return QStringLiteral("The card has no size that can be drawn.");
    const int w = pixelsFor(cardSize.width(), dpi), h = pixelsFor(cardSize.height(), dpi);
    if (w > MaxPixels || h > MaxPixels || qint64(w) * h > MaxPixelCount) {
        const double fitting = std::floor(
            std::sqrt(double(MaxPixelCount) / (cardSize.width() * cardSize.height())) * Units::PointsPerInch);
        return QStringLiteral("The card is too large to draw at %1 dpi: at most %2 million pixels and %3 "
                              "pixels a side can be drawn. Choose %4 dpi or less.")
            .arg(dpi)
            .arg(MaxPixelCount / 1000000)
            .arg(MaxPixels)
            .arg(std::max(1.0, std::min(fitting, std::floor(MaxPixels * Units::PointsPerInch /
                                                            std::max(cardSize.width(), cardSize.height())))));
    }
    return {};
}

QImage SKTRenderingView::imageOfSide(const RenderSide &side, double dpi)
{
    QImage canvas;
    return imageOfSide(side, dpi, canvas);
}

QImage SKTRenderingView::imageOfSide(const RenderSide &side, double dpi, QImage &canvas)
{
    return render(side, dpi, canvas, nullptr);
}

QImage SKTRenderingView::imageOfSide(const RenderSide &side, double dpi, QImage &canvas, const Page &page)
{
    return render(side, dpi, canvas, &page);
}

SKTRenderingView::Page SKTRenderingView::pageOfSide(const RenderSide &side, double dpi)
{
    QImage image;
    return pageOfSide(side, dpi, image);
}

SKTRenderingView::Page SKTRenderingView::pageOfSide(const RenderSide &side, double dpi, QImage &image)
{
    Page page;
    if (render(side, dpi, image, nullptr, false).isNull())
        return page;
    page.size = image.size();
    // A plain page is one fill of its colour on every card, cheaper than copying its pixels.
    const auto first = reinterpret_cast<const quint32 *>(image.constScanLine(0))[0];
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] != first) {
                page.pixels = image;
                return page;
            }
    }
    page.colour = first;
    return page;
}

QImage SKTRenderingView::render(const RenderSide &side, double dpi, QImage &canvas, const Page *page,
                                bool withObjects)
{
    if (!sizeRefusal(side.cardSize(), dpi).isEmpty())
        return {};
    const int w = pixelsFor(side.cardSize().width(), dpi), h = pixelsFor(side.cardSize().height(), dpi);
    if (w <= 0 || h <= 0)
        return {};
    // A fresh image of a card's size costs page faults on every card; an image nobody else holds
    // any more is drawn over instead.
    if (canvas.size() != QSize(w, h) || canvas.format() != QImage::Format_ARGB32_Premultiplied ||
        !canvas.isDetached())
        canvas = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    QImage &image = canvas;
    if (image.isNull())
        return {};
    const bool pageReady = page && page->size == image.size() &&
                           (page->pixels.isNull() || page->pixels.format() == image.format());
    if (!pageReady)
        image.fill(Qt::transparent);
    else if (page->pixels.isNull())
        image.fill(page->colour);
    else
        std::memcpy(image.bits(), page->pixels.constBits(), size_t(image.sizeInBytes()));
    const int dpm = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    QPainter painter(&image);
    prepare(painter);
    painter.scale(Units::pixelsPerPoint(dpi), Units::pixelsPerPoint(dpi));
    drawParts(painter, side, !pageReady, withObjects);
    painter.end();
    return image;
}

QByteArray SKTRenderingView::tiffDataWithGraphics(const GraphicList &graphics, const QString &resourcePath,
                                                  int *errorCode, double dpi)
{
    // No objects cover nothing (the model's union of an empty list is the whole canvas).
    const QRectF b = graphics.isEmpty() ? QRectF() : SKTGraphic::drawingBoundsOfGraphics(graphics);
    if (b.isEmpty() || !(dpi > 0) || !std::isfinite(dpi)) {
        if (errorCode)
            *errorCode = 3;
        return {};
    }
    const int w = pixelsFor(b.width(), dpi), h = pixelsFor(b.height(), dpi);
    if (w <= 0 || h <= 0 || w > MaxPixels || h > MaxPixels) {
        if (errorCode)
            *errorCode = 3;
        return {};
    }
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        PaintingScope painting;
        QPainter painter(&image);
        prepare(painter);
        painter.scale(Units::pixelsPerPoint(dpi), Units::pixelsPerPoint(dpi));
        painter.translate(-b.topLeft());
        const GraphicDrawContext context = outputContext(resourcePath, Units::pixelsPerPoint(dpi));
        drawObjects(painter, graphics, context);
    }
    return tiffData(image);
}

QByteArray SKTRenderingView::tiffData(const QImage &image)
{
    QByteArray bytes;
    if (image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "tiff");
    if (!writer.write(image))
        return {};
    return bytes;
}
