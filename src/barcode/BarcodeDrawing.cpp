#include "barcode/BarcodeDrawing.h"

#include "barcode/BarcodeText.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

void paintModulesInPixels(QPainter &painter, const QTransform &t, const ModuleGrid &grid,
                          const QPointF &origin, const QColor &color)
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
                    painter.fillRect(QRect(left, top, right - left, bottom - top), color);
            }
            x = end;
        }
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
            area |= BarcodeText::outline(line.text, line.font, line.kern, item.rect.topLeft()).boundingRect();
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
    painter.drawRects(rects.data(), int(rects.size()));
}

void BarcodeDrawing::paintItemInPixels(QPainter &painter, const QTransform &t, const Item &item) const
{
    if (item.kind == Kind::Modules) {
        paintModulesInPixels(painter, t, *m_grids[size_t(item.index)], item.rect.topLeft(), item.color);
        return;
    }
    int left = 0, right = 0, top = 0, bottom = 0;
    span(t.m11() * item.rect.left() + t.dx(), t.m11() * item.rect.right() + t.dx(), &left, &right);
    span(t.m22() * item.rect.top() + t.dy(), t.m22() * item.rect.bottom() + t.dy(), &top, &bottom);
    painter.fillRect(QRect(left, top, right - left, bottom - top), item.color);
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
        if (!pixels || !snapped(m_items[i].kind)) {
            paintItem(painter, m_items[i++]);
            continue;
        }
        // A run of bars and grids is painted in whole device pixels, without antialiasing.
        painter.save();
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (; i < m_items.size() && snapped(m_items[i].kind); ++i)
            paintItemInPixels(painter, toDevice, m_items[i]);
        painter.restore();
    }
    painter.restore();
}
