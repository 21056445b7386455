// Renders one card side without a window: the page, then the objects from back to front, leaving out
// those flagged not to print. Pure functions of a RenderSide, callable on any thread at once.
#pragma once

#include "canvas/RenderSide.h"
#include "platform/Units.h"

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QString>

#include <functional>
#include <optional>

class QPainter;

class SKTRenderingView
{
public:
    SKTRenderingView(const RenderSide &side, const QString &printJobTitle = QString());

    QRectF frame() const { return QRectF(QPointF(0, 0), m_side.cardSize()); }
    QString printJobTitle() const { return m_printJobTitle; }
    // Draws the side into a painter whose units are card points, y down, origin at the card's corner.
    void drawRect(QPainter &painter) const;

    // --- class operations ---
    static void drawSide(QPainter &painter, const RenderSide &side);

    // What a pass over a side's objects adds to the one way every object is drawn.
    struct ObjectPass {
        // Which objects it draws (none given: every one).
        std::function<bool(qsizetype index, const SKTGraphic &)> draws;
        // Whether the user is making or editing an object, which is drawn as such (the canvas's).
        std::function<bool(const SKTGraphic &)> beingEdited;
        // Drawn over an object, under the same clip (the canvas's handles).
        std::function<void(QPainter &, qsizetype index, const SKTGraphic &)> over;
    };
    // The one road by which the canvas, every output and the pasteboard's picture draw objects:
    // back to front, each clipped to its drawing bounds, so whatever an object would draw past
    // them is cut alike on the screen and on the card.
    static void drawObjects(QPainter &painter, const GraphicList &objects, const GraphicDrawContext &context,
                            const ObjectPass &pass = {});
    // One PDF page of the card size with the side on it (texts as text). Empty with *error on failure.
    static QByteArray pdfDataWithGraphics_data(const RenderSide &side, QString *error = nullptr);
    // A vector recording of the side, in card points.
    static QPicture pictureOfSide(const RenderSide &side);
    // The side as a picture of the card size holding vector content (for printing too).
    static std::optional<Picture> image_From_Card_Graphics(const RenderSide &side, bool print_box);
    // Pixels of the side at dpi: ceil(w x dpi / 72) by ceil(h x dpi / 72), pixel (0, 0) the card's
    // top-left corner; outside a rounded or elliptic outline stays transparent. Null on failure.
    static QImage imageOfSide(const RenderSide &side, double dpi = Units::PointsPerInch);
    // The same drawn into canvas when it has the size and nobody else holds it (a worker drawing
    // card after card keeps one image), else into a new image that canvas then holds. Returns canvas.
    static QImage imageOfSide(const RenderSide &side, double dpi, QImage &canvas);
    // The page alone (outline, fill, border) at dpi, as every card of the side starts: a batch
    // draws it once and starts each card from it. One colour where the whole page is one (kept as
    // that pixel alone), else its pixels.
    struct Page {
        QSize size;
        QImage pixels;   // null when the page is one colour
        QRgb colour = 0; // premultiplied, as the card's pixels hold it
    };
    static Page pageOfSide(const RenderSide &side, double dpi);
    // The same, drawn in canvas as imageOfSide would draw a card (a plain page then costs no
    // image beside it; any other is canvas's pixels, which the next card leaves alone).
    static Page pageOfSide(const RenderSide &side, double dpi, QImage &canvas);
    // imageOfSide with canvas, starting from page (pageOfSide of a side with the same page and
    // outline at this dpi) instead of drawing the page again: the same pixels.
    static QImage imageOfSide(const RenderSide &side, double dpi, QImage &canvas, const Page &page);
    // TIFF of the objects alone (no page, every object, flags not consulted), in the union of their
    // drawing bounds, at dpi. Empty and *errorCode = 3 when they cover nothing.
    static QByteArray tiffDataWithGraphics(const GraphicList &graphics, const QString &resourcePath,
                                           int *errorCode = nullptr, double dpi = Units::PointsPerInch);
    // TIFF bytes of an image (empty on failure).
    static QByteArray tiffData(const QImage &image);

    // Largest side, in pixels, of any image the renderer makes: keeps a hostile size or dpi from
    // asking for gigabytes.
    static constexpr int MaxPixels = 30000;
    // Largest image, in pixels (600 MB of 32-bit pixels): both sides within the limit above could
    // still ask for 3.6 GB.
    static constexpr qint64 MaxPixelCount = 150'000'000;
    // Why a side of cardSize points cannot be drawn at dpi (too large), or "" when it can.
    static QString sizeRefusal(const QSizeF &cardSize, double dpi);
    // Largest side, in points, of a PDF page (200 inches).
    static constexpr double MaxPdfPoints = 14400;

private:
    static void drawParts(QPainter &painter, const RenderSide &side, bool withPage, bool withObjects = true);
    static QImage render(const RenderSide &side, double dpi, QImage &canvas, const Page *page,
                         bool withObjects = true);

    RenderSide m_side;
    QString m_printJobTitle;
};
