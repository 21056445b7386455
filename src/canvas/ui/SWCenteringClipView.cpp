#include "canvas/ui/SWCenteringClipView.h"

#include "canvas/ui/SKTGraphicView.h"
#include "model/ModelGlobals.h"
#include "panels/CardPageDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace
{
constexpr int ShadowBlur = 15;
constexpr int ShadowOffset = 3;
constexpr int ShadowScale = 4; // the blur runs on a quarter-size picture: soft edges need no detail

// Three box blurs in a row come close to a Gaussian; alpha only, on a premultiplied picture.
void boxBlurAlpha(QImage &image, int radius)
{
    if (radius < 1)
        return;
    const int w = image.width(), h = image.height();
    std::vector<int> line(size_t(std::max(w, h)));
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < w; ++x)
                line[size_t(x)] = qAlpha(row[x]);
            int sum = 0;
            for (int x = -radius; x <= radius; ++x)
                sum += line[size_t(std::clamp(x, 0, w - 1))];
            for (int x = 0; x < w; ++x) {
                row[x] = qRgba(0, 0, 0, sum / (2 * radius + 1));
                sum += line[size_t(std::min(x + radius + 1, w - 1))] - line[size_t(std::max(x - radius, 0))];
            }
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[size_t(y)] = qAlpha(reinterpret_cast<const QRgb *>(image.constScanLine(y))[x]);
            int sum = 0;
            for (int y = -radius; y <= radius; ++y)
                sum += line[size_t(std::clamp(y, 0, h - 1))];
            for (int y = 0; y < h; ++y) {
                reinterpret_cast<QRgb *>(image.scanLine(y))[x] = qRgba(0, 0, 0, sum / (2 * radius + 1));
                sum += line[size_t(std::min(y + radius + 1, h - 1))] - line[size_t(std::max(y - radius, 0))];
            }
        }
    }
}
} // namespace

SWCenteringClipView::SWCenteringClipView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SWCenteringClipView::setDocumentView(QWidget *view, QSizeF sizeInPoints)
{
    m_document = view;
    if (view && view->parentWidget() != this)
        view->setParent(this);
    if (view)
        view->show();
    setDocumentSize(sizeInPoints);
}

void SWCenteringClipView::setDocumentSize(QSizeF sizeInPoints)
{
    m_documentSize = sizeInPoints;
    centerDocument();
    update();
}

void SWCenteringClipView::setFactor(double factor)
{
    if (!(factor > 0) || factor == m_factor)
        return;
    m_factor = factor;
    centerDocument();
    update();
}

QSizeF SWCenteringClipView::boundsSize() const
{
    return QSizeF(width() / m_factor, height() / m_factor);
}

double SWCenteringClipView::centredOrigin(double f, double b)
{
    return std::round((f - b) / 2.0); // halves away from zero
}

double SWCenteringClipView::constrainAxis(double proposed, double f, double b)
{
    if (b > f)
        return centredOrigin(f, b);
    return std::round(std::max(0.0, std::min(proposed, f - b)));
}

QPointF SWCenteringClipView::constrainScrollPoint(const QPointF &proposed) const
{
    const QSizeF b = boundsSize();
    return QPointF(constrainAxis(proposed.x(), m_documentSize.width(), b.width()),
                   constrainAxis(proposed.y(), m_documentSize.height(), b.height()));
}

void SWCenteringClipView::centerDocument()
{
    const QSizeF b = boundsSize();
    QPointF origin = m_origin;
    if (b.width() > m_documentSize.width())
        origin.setX(centredOrigin(m_documentSize.width(), b.width()));
    if (b.height() > m_documentSize.height())
        origin.setY(centredOrigin(m_documentSize.height(), b.height()));
    scrollToPoint(origin);
}

void SWCenteringClipView::scrollToPoint(const QPointF &proposed)
{
    const QPointF origin = constrainScrollPoint(proposed);
    const bool moved = origin != m_origin;
    m_origin = origin;
    placeDocument();
    if (moved) {
        update();
        emit boundsOriginChanged();
    }
}

void SWCenteringClipView::placeDocument()
{
    if (!m_document)
        return;
    const QPoint at(int(std::lround(-m_origin.x() * m_factor)), int(std::lround(-m_origin.y() * m_factor)));
    if (m_document->pos() != at) {
        m_document->move(at);
        update();
    }
}

void SWCenteringClipView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    centerDocument();
}

QRect SWCenteringClipView::shadowArea(const QRect &card) const
{
    // Only what can show: the blur reaches a margin beyond the card and beyond the visible area.
    const int margin = ShadowBlur * 2;
    return card.adjusted(-margin, -margin, margin, margin)
        .intersected(rect().adjusted(-margin, -margin, margin, margin));
}

const QImage &SWCenteringClipView::shadowFor(const QRect &card, int shape)
{
    const QRect area = shadowArea(card);
    if (card == m_shadowCard && area == m_shadowArea && shape == m_shadowShape)
        return m_shadow;
    m_shadowCard = card;
    m_shadowArea = area;
    m_shadowShape = shape;
    m_shadow = QImage();
    if (area.isEmpty())
        return m_shadow;
    const QSize small(area.width() / ShadowScale + 1, area.height() / ShadowScale + 1);
    QImage mask(small, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(1.0 / ShadowScale, 1.0 / ShadowScale);
        p.translate(-area.topLeft());
        p.fillPath(CardPageDrawing::outlinePath(shape, QRectF(card)), Qt::black);
    }
    // Edges of the area that cut through the card repeat their last value, which is what the
    // blur would see there anyway: the silhouette goes on beyond them.
    boxBlurAlpha(mask, std::max(1, ShadowBlur / ShadowScale / 2));
    m_shadow = mask.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_shadow;
}

qsizetype SWCenteringClipView::shadowBytes() const
{
    return m_shadow.sizeInBytes();
}

void SWCenteringClipView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QLinearGradient desk(0, 0, 0, height());
    desk.setColorAt(0.0, QColor::fromRgbF(0.88f, 0.88f, 0.88f));
    desk.setColorAt(1.0, QColor::fromRgbF(0.78f, 0.78f, 0.78f));
    p.fillRect(rect(), desk);
    if (!m_document)
        return;
    const QRectF d(m_document->pos(),
                   QSizeF(m_documentSize.width() * m_factor, m_documentSize.height() * m_factor));
    const auto *canvas = dynamic_cast<const SKTGraphicView *>(m_document);
    const int shape = canvas ? canvas->cardOutline() : 0;
    const QImage &shadow = shadowFor(d.toRect(), shape);
    if (!shadow.isNull())
        p.drawImage(QPointF(m_shadowArea.topLeft() + QPoint(ShadowOffset, ShadowOffset)), shadow);
    p.setRenderHint(QPainter::Antialiasing);
    const double radiusScale = shape == CardPageDrawing::RoundedRectangle ? m_factor : 1.0;
    QPainterPath silhouette;
    if (shape == CardPageDrawing::RoundedRectangle)
        silhouette.addRoundedRect(d, CardPageDrawing::CornerRadius * radiusScale,
                                  CardPageDrawing::CornerRadius * radiusScale);
    else
        silhouette = CardPageDrawing::outlinePath(shape, d);
    p.fillPath(silhouette, palette().color(QPalette::Button));
}
