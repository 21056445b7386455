#include "barcode/BarcodeDrawing.h"

#include "barcode/BarcodeText.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

// The memory of the image a painter draws into, when whole-pixel rectangles of an opaque colour
// may be written into it directly with the pixels a fill would give: Qt fills a narrow bar row by
// row through its general blending, which made the bars a fifth of a barcode picture's time.
struct DirectPixels {
    uchar *bits = nullptr;
    qsizetype stride = 0;
    QRect bounds;
    // Under a clip, bounds lie well inside it: a rectangle reaching past them goes to the painter.
    bool clipped = false;
};

namespace
{

// The pixel edge nearest to a device coordinate: pixel i is covered when its centre is.
int edge(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::ceil(std::clamp(v, -1e9, 1e9) - 0.5));
}

// Whether the painter draws into pixels without rotation or shear; then toDevice maps points
// to pixels.
bool drawsPixels(const QPainter &painter, QTransform *toDevice)
{
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster)
        return false;
    const QTransform t = painter.combinedTransform();
    if (t.type() > QTransform::TxScale)
        return false;
    *toDevice = t;
    return true;
}

// A span [a, b) of device pixels from two mapped edges, at least one pixel when the span is not
// empty, so that a bar thinner than a pixel still shows.
void span(double from, double to, int *a, int *b)
{
    if (from > to)
        std::swap(from, to);
    *a = edge(from);
    *b = edge(to);
    if (*b == *a && to > from)
        *b = *a + 1;
}

// The dark modules as rectangles: each run of a row is one, and a run that the next rows repeat
// exactly grows down over them (a vector file writes every rectangle, so fewer is smaller).
void appendModuleRects(const ModuleGrid &grid, const QPointF &origin, std::vector<QRectF> &out)
{
    struct Open {
        int x, end, top;
    };
    std::vector<Open> open, still;
    auto close = [&](const Open &o, int bottom) {
        out.emplace_back(QPointF(origin.x() + grid.columnEdge(o.x), origin.y() + grid.rowEdge(o.top)),
                         QPointF(origin.x() + grid.columnEdge(o.end), origin.y() + grid.rowEdge(bottom)));
    };
    for (int y = 0; y < grid.rows(); ++y) {
        still.clear();
        size_t k = 0; // open runs are in column order, as a row's runs are found
        for (int x = 0; x < grid.columns();) {
            const int end = grid.runEnd(x, y);
            if (grid.isDark(x, y)) {
                while (k < open.size() && open[k].x < x)
                    close(open[k++], y);
                if (k < open.size() && open[k].x == x && open[k].end == end)
                    still.push_back(open[k++]);
                else
                    still.push_back({x, end, y});
            }
            x = end;
        }
        while (k < open.size())
            close(open[k++], y);
        open.swap(still);
    }
    for (const Open &o : open)
        close(o, grid.rows());
}

// Whether v is a whole number of units, and which; n is left alone otherwise.
bool wholeUnits(double v, double unit, double *n)
{
    const double q = v / unit;
    const double nearest = std::round(q);
    if (!(std::abs(q - nearest) <= 1e-7 * std::max(1.0, std::abs(nearest))))
        return false;
    *n = nearest;
    return true;
}

// Rectangles whose edges all fall on one grid, as bars and modules do, drawn in the grid's units
// from its corner: a PDF then writes each as four small whole numbers where it wrote four long
// fractions, which were most of a printed sheet's bytes and of the time spent compressing them.
// False, drawing nothing, when some edge is off the grid.
bool drawOnGrid(QPainter &painter, const std::vector<QRectF> &rects)
{
    if (rects.size() < 2)
        return false;
    double unitX = std::numeric_limits<double>::infinity(), unitY = unitX;
    QPointF corner = rects.front().topLeft();
    for (const QRectF &r : rects) {
        unitX = std::min(unitX, r.width());
        unitY = std::min(unitY, r.height());
        corner = QPointF(std::min(corner.x(), r.left()), std::min(corner.y(), r.top()));
    }
    if (!(unitX > 1e-9 && unitY > 1e-9 && std::isfinite(unitX) && std::isfinite(unitY)))
        return false;
    std::vector<QRectF> cells;
    cells.reserve(rects.size());
    for (const QRectF &r : rects) {
        double x = 0, y = 0, w = 0, h = 0;
        if (!wholeUnits(r.left() - corner.x(), unitX, &x) || !wholeUnits(r.top() - corner.y(), unitY, &y) ||
            !wholeUnits(r.width(), unitX, &w) || !wholeUnits(r.height(), unitY, &h))
            return false;
        cells.emplace_back(x, y, w, h);
    }
    // The transform is put back by hand: a restore would make the PDF write the whole state again.
    const QTransform before = painter.worldTransform();
    painter.translate(corner);
    painter.scale(unitX, unitY);
    painter.drawRects(cells.data(), int(cells.size()));
    painter.setWorldTransform(before);
    return true;
}

// The device pixels wholly inside the painter's clip, with a pixel to spare on every side, where
// the clip is one upright rectangle (a picture cut to its frame); empty otherwise. Which pixels
// along its edge the clip keeps is Qt's rounding; the pixels kept here are inside it by any.
QRect pixelsWellInsideClip(const QPainter &painter)
{
    const QPainterPath clip = painter.clipPath() * painter.combinedTransform();
    const int n = clip.elementCount();
    if (n < 4 || n > 5)
        return {};
    const QRectF box = clip.boundingRect();
    for (int i = 0; i < n; ++i) {
        const QPointF p = clip.elementAt(i);
        const QPointF next = clip.elementAt((i + 1) % n);
        const bool corner =
            (p.x() == box.left() || p.x() == box.right()) && (p.y() == box.top() || p.y() == box.bottom());
        // Each side upright or level: four corners so joined are the rectangle.
        if (!corner || (p.x() != next.x() && p.y() != next.y()))
            return {};
    }
    for (const double v : {box.left(), box.top(), box.right(), box.bottom()})
        if (!(std::abs(v) <= 1e9)) // far off, or no number: nothing is written directly
            return {};
    const int left = int(std::ceil(box.left())) + 1, top = int(std::ceil(box.top())) + 1;
    const int right = int(std::floor(box.right())) - 1, bottom = int(std::floor(box.bottom())) - 1;
    if (right <= left || bottom <= top)
        return {};
    return QRect(left, top, right - left, bottom - top);
}

DirectPixels directPixelsOf(const QPainter &painter)
{
    QPaintDevice *device = painter.device();
    if (!device || device->devType() != QInternal::Image ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1.0)
        return {};
    auto *image = static_cast<QImage *>(device);
    const QImage::Format f = image->format();
    if ((f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_ARGB32 &&
         f != QImage::Format_RGB32) ||
        image->devicePixelRatio() != 1.0 || !image->isDetached())
        return {};
    if (!painter.hasClipping())
        return {image->bits(), image->bytesPerLine(), image->rect()};
    const QRect inside = pixelsWellInsideClip(painter) & image->rect();
    if (inside.isEmpty())
        return {};
    return {image->bits(), image->bytesPerLine(), inside, true};
}

void fillPixels(QPainter &painter, const DirectPixels &direct, const QRect &rect, const QColor &color)
{
    if (!direct.bits || color.alpha() != 255 || (direct.clipped && !direct.bounds.contains(rect))) {
        painter.fillRect(rect, color);
        return;
    }
    const QRect r = rect & direct.bounds;
    const quint32 pixel = color.rgba(); // opaque: the same in all three formats
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(direct.bits + y * direct.stride);
        std::fill(row + r.left(), row + r.right() + 1, pixel);
    }
}

void paintModulesInPixels(QPainter &painter, const DirectPixels &direct, const QTransform &t,
                          const ModuleGrid &grid, const QPointF &origin, const QColor &color)
{
    // Nearest neighbour: every module edge goes to the pixel edge nearest to it, worked out once.
    std::vector<int> columnPixel(size_t(grid.columns()) + 1), rowPixel(size_t(grid.rows()) + 1);
    for (int x = 0; x <= grid.columns(); ++x)
        columnPixel[size_t(x)] = edge(t.m11() * (origin.x() + grid.columnEdge(x)) + t.dx());
    for (int y = 0; y <= grid.rows(); ++y)
        rowPixel[size_t(y)] = edge(t.m22() * (origin.y() + grid.rowEdge(y)) + t.dy());
    for (int y = 0; y < grid.rows(); ++y) {
        const int top = std::min(rowPixel[size_t(y)], rowPixel[size_t(y) + 1]);
        const int bottom = std::max(rowPixel[size_t(y)], rowPixel[size_t(y) + 1]);
        if (bottom == top)
            continue;
        for (int x = 0; x < grid.columns();) {
            const int end = grid.runEnd(x, y);
            if (grid.isDark(x, y)) {
                const int left = std::min(columnPixel[size_t(x)], columnPixel[size_t(end)]);
                const int right = std::max(columnPixel[size_t(x)], columnPixel[size_t(end)]);
                if (right > left)
                    fillPixels(painter, direct, QRect(left, top, right - left, bottom - top), color);
            }
            x = end;
        }
    }
}

struct Contour {
    int from = 0, to = 0;    // its elements
    int left = 0, right = 0; // the device pixel columns it may touch
};

std::vector<Contour> contoursOf(const QPainterPath &path, const QTransform &toDevice)
{
    std::vector<Contour> contours;
    const int n = path.elementCount();
    for (int i = 0; i < n;) {
        int end = i + 1;
        while (end < n && path.elementAt(end).type != QPainterPath::MoveToElement)
            ++end;
        double low = std::numeric_limits<double>::infinity();
        double high = -low;
        for (int k = i; k < end; ++k) {
            const double x = toDevice.m11() * path.elementAt(k).x + toDevice.dx();
            low = std::min(low, x);
            high = std::max(high, x);
        }
        if (!(std::isfinite(low) && std::isfinite(high) && high - low < 1e6))
            return {};
        // The control points hold the curve; a column more on each side for the rasteriser's
        // rounding.
        contours.push_back({i, end, int(std::floor(low)) - 1, int(std::floor(high)) + 1});
        i = end;
    }
    return contours;
}

// The contours of a path in groups that share no device pixel column, each group's contours in
// the path's order.
std::vector<std::vector<int>> columnGroups(const std::vector<Contour> &contours)
{
    std::vector<int> byLeft(contours.size());
    for (size_t i = 0; i < byLeft.size(); ++i)
        byLeft[i] = int(i);
    std::sort(byLeft.begin(), byLeft.end(),
              [&](int a, int b) { return contours[size_t(a)].left < contours[size_t(b)].left; });
    std::vector<std::vector<int>> groups;
    int right = std::numeric_limits<int>::min();
    for (const int c : byLeft) {
        if (groups.empty() || contours[size_t(c)].left > right)
            groups.emplace_back();
        groups.back().push_back(c);
        right = std::max(right, contours[size_t(c)].right);
    }
    for (std::vector<int> &g : groups)
        std::sort(g.begin(), g.end());
    return groups;
}

void appendContour(QPainterPath &to, const QPainterPath &from, const Contour &c)
{
    for (int k = c.from; k < c.to; ++k) {
        const QPainterPath::Element e = from.elementAt(k);
        if (e.type == QPainterPath::MoveToElement) {
            to.moveTo(e.x, e.y);
        } else if (e.type == QPainterPath::LineToElement) {
            to.lineTo(e.x, e.y);
        } else if (e.type == QPainterPath::CurveToElement && k + 2 < c.to) {
            to.cubicTo(e, from.elementAt(k + 1), from.elementAt(k + 2));
            k += 2;
        }
    }
}

// A text's outline filled in pieces that share no pixel column: the antialiasing rasteriser's work
// on one fill grows faster than the fill (a line of text cost thirty times one letter). A pixel's
// coverage comes from the edges in its own column and, along its row, the closed contours left of
// it, which add up to nothing: each pixel gets the same coverage, once, as from one fill.
void fillByColumns(QPainter &painter, const QTransform &toDevice, const QPainterPath &outline,
                   const QColor &color)
{
    const std::vector<Contour> contours = contoursOf(outline, toDevice);
    const std::vector<std::vector<int>> groups = columnGroups(contours);
    if (groups.size() <= 1) {
        painter.fillPath(outline, color);
        return;
    }
    for (const std::vector<int> &group : groups) {
        QPainterPath piece;
        piece.setFillRule(outline.fillRule());
        for (const int c : group)
            appendContour(piece, outline, contours[size_t(c)]);
        painter.fillPath(piece, color);
    }
}

} // namespace

void BarcodeDrawing::fillRect(const QRectF &rect, const QColor &color)
{
    if (rect.width() > 0 && rect.height() > 0)
        m_items.push_back({Kind::Rect, rect, color});
}

void BarcodeDrawing::fillBar(const QRectF &rect, const QColor &color)
{
    if (rect.width() > 0 && rect.height() > 0)
        m_items.push_back({Kind::Bar, rect, color});
}

void BarcodeDrawing::fillText(const QString &text, const FontDescriptor &font, double kern,
                              const QPointF &origin, const QColor &color)
{
    if (text.isEmpty())
        return;
    m_texts.push_back({text, font, kern});
    m_items.push_back({Kind::Text, QRectF(origin, QSizeF()), color, int(m_texts.size()) - 1});
}

void BarcodeDrawing::fillModules(std::shared_ptr<const ModuleGrid> grid, const QPointF &origin,
                                 const QColor &color)
{
    if (!grid || grid->isEmpty())
        return;
    m_grids.push_back(std::move(grid));
    m_items.push_back({Kind::Modules, QRectF(origin, QSizeF()), color, int(m_grids.size()) - 1});
}

std::vector<QRectF> BarcodeDrawing::bars() const
{
    std::vector<QRectF> out;
    for (const Item &item : m_items)
        if (item.kind == Kind::Bar)
            out.push_back(item.rect);
    return out;
}

QRectF BarcodeDrawing::markedArea() const
{
    QRectF area;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item &item = m_items[i];
        switch (item.kind) {
        case Kind::Rect:
            if (i > 0)
                area |= item.rect;
            break;
        case Kind::Bar:
            area |= item.rect;
            break;
        case Kind::Text: {
            const TextLine &line = m_texts[size_t(item.index)];
            area |= BarcodeText::inkBounds(line.text, line.font, line.kern, item.rect.topLeft());
            break;
        }
        case Kind::Modules: {
            const ModuleGrid &grid = *m_grids[size_t(item.index)];
            const QRect dark = grid.darkBounds();
            if (dark.isEmpty())
                break;
            const QPointF o = item.rect.topLeft();
            area |= QRectF(
                QPointF(o.x() + grid.columnEdge(dark.left()), o.y() + grid.rowEdge(dark.top())),
                QPointF(o.x() + grid.columnEdge(dark.right() + 1), o.y() + grid.rowEdge(dark.bottom() + 1)));
            break;
        }
        }
    }
    return area;
}

void BarcodeDrawing::paintItem(QPainter &painter, const Item &item) const
{
    switch (item.kind) {
    case Kind::Rect:
    case Kind::Bar:
        painter.fillRect(item.rect, item.color);
        break;
    case Kind::Text: {
        const TextLine &line = m_texts[size_t(item.index)];
        // A PDF keeps text as text: a few bytes a character in one embedded font, where an outline
        // is hundreds, and a reader can search it.
        const QPaintEngine *engine = painter.paintEngine();
        if (engine && engine->type() == QPaintEngine::Pdf)
            BarcodeText::draw(painter, line.text, line.font, line.kern, item.rect.topLeft(), item.color);
        else
            painter.fillPath(BarcodeText::outline(line.text, line.font, line.kern, item.rect.topLeft()),
                             item.color);
        break;
    }
    case Kind::Modules: {
        std::vector<QRectF> rects;
        appendModuleRects(*m_grids[size_t(item.index)], item.rect.topLeft(), rects);
        painter.setBrush(item.color);
        painter.drawRects(rects.data(), int(rects.size()));
        break;
    }
    }
}

void BarcodeDrawing::paintRunAsRects(QPainter &painter, size_t from, size_t to) const
{
    // One fill of plain rectangles: a PDF writes each as four numbers instead of a path.
    std::vector<QRectF> rects;
    for (size_t i = from; i < to; ++i) {
        const Item &item = m_items[i];
        if (item.kind == Kind::Modules)
            appendModuleRects(*m_grids[size_t(item.index)], item.rect.topLeft(), rects);
        else
            rects.push_back(item.rect);
    }
    painter.setBrush(m_items[from].color);
    const QPaintEngine *engine = painter.paintEngine();
    if (engine && engine->type() == QPaintEngine::Pdf && drawOnGrid(painter, rects))
        return;
    painter.drawRects(rects.data(), int(rects.size()));
}

void BarcodeDrawing::paintItemInPixels(QPainter &painter, const DirectPixels &direct, const QTransform &t,
                                       const Item &item) const
{
    if (item.kind == Kind::Modules) {
        paintModulesInPixels(painter, direct, t, *m_grids[size_t(item.index)], item.rect.topLeft(),
                             item.color);
        return;
    }
    int left = 0, right = 0, top = 0, bottom = 0;
    span(t.m11() * item.rect.left() + t.dx(), t.m11() * item.rect.right() + t.dx(), &left, &right);
    span(t.m22() * item.rect.top() + t.dy(), t.m22() * item.rect.bottom() + t.dy(), &top, &bottom);
    fillPixels(painter, direct, QRect(left, top, right - left, bottom - top), item.color);
}

void BarcodeDrawing::paint(QPainter &painter) const
{
    QTransform toDevice;
    const bool pixels = drawsPixels(painter, &toDevice);
    painter.save();
    painter.setPen(Qt::NoPen);
    for (size_t i = 0; i < m_items.size();) {
        if (!pixels && snapped(m_items[i].kind)) {
            // Bars and modules of one colour in a row go out as one set of rectangles.
            size_t end = i + 1;
            while (end < m_items.size() && snapped(m_items[end].kind) &&
                   m_items[end].color == m_items[i].color)
                ++end;
            paintRunAsRects(painter, i, end);
            i = end;
            continue;
        }
        if (pixels && m_items[i].kind == Kind::Text) {
            const Item &item = m_items[i++];
            const TextLine &line = m_texts[size_t(item.index)];
            if (!BarcodeText::drawInPixels(painter, toDevice, line.text, line.font, line.kern,
                                           item.rect.topLeft(), item.color))
                fillByColumns(painter, toDevice,
                              BarcodeText::outline(line.text, line.font, line.kern, item.rect.topLeft()),
                              item.color);
            continue;
        }
        if (!pixels || !snapped(m_items[i].kind)) {
            paintItem(painter, m_items[i++]);
            continue;
        }
        // A run of bars and grids is painted in whole device pixels, without antialiasing.
        painter.save();
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, false);
        const DirectPixels direct = directPixelsOf(painter);
        for (; i < m_items.size() && snapped(m_items[i].kind); ++i)
            paintItemInPixels(painter, direct, toDevice, m_items[i]);
        painter.restore();
    }
    painter.restore();
}
