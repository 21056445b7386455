#include "canvas/ui/SKTZoomingScrollView.h"

#include "canvas/ui/CanvasAssertion.h"
#include "canvas/ui/RulerView.h"
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SWCenteringClipView.h"
#include "canvas/ui/ZoomFactor.h"

#include <QComboBox>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

SKTZoomingScrollView::SKTZoomingScrollView(QWidget *parent) : QAbstractScrollArea(parent)
{
    m_clip = new SWCenteringClipView;
    setViewport(m_clip);
    // The zoom pop-up lives at the left end of the horizontal bar, so the bar is always there.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_horizontalRuler = new RulerView(Qt::Horizontal, this);
    m_verticalRuler = new RulerView(Qt::Vertical, this);
    m_horizontalRuler->hide();
    m_verticalRuler->hide();
    connect(m_clip, &SWCenteringClipView::boundsOriginChanged, this, [this] {
        syncScrollBars();
        placeRulers();
    });
    validateFactorPopUpButton();
}

SKTZoomingScrollView::~SKTZoomingScrollView()
{
    if (m_document)
        m_document->m_scrollView = nullptr;
}

void SKTZoomingScrollView::setDocumentView(SKTGraphicView *view)
{
    if (m_document)
        m_document->m_scrollView = nullptr;
    m_document = view;
    if (!view)
        return;
    view->m_scrollView = this;
    view->setZoom(_factor);
    m_clip->setFactor(_factor);
    m_clip->setDocumentView(view, view->cardSize());
    documentResized();
}

void SKTZoomingScrollView::setFactor(double factor)
{
    if (!(std::isfinite(factor) && factor > 0))
        return;
    _factor = factor;
    if (_factorPopUpButton) {
        const QSignalBlocker block(_factorPopUpButton);
        _factorPopUpButton->setCurrentIndex(ZoomFactor::rowForFactor(factor));
    }
    m_clip->setFactor(factor);
    if (m_document)
        m_document->setZoom(factor); // resizes, which comes back through documentResized()
    documentResized();
}

void SKTZoomingScrollView::bindFactor(ZoomFactor &zoom)
{
    unbindFactor();
    m_zoom = &zoom;
    connect(&zoom, &ZoomFactor::changed, this, &SKTZoomingScrollView::setFactor);
    setFactor(zoom.factor());
}

void SKTZoomingScrollView::unbindFactor()
{
    if (m_zoom)
        disconnect(m_zoom, nullptr, this, nullptr);
    m_zoom = nullptr;
}

QComboBox *SKTZoomingScrollView::factorPopUpButton()
{
    validateFactorPopUpButton();
    return _factorPopUpButton;
}

void SKTZoomingScrollView::validateFactorPopUpButton()
{
    if (_factorPopUpButton)
        return;
    _factorPopUpButton = new QComboBox;
    _factorPopUpButton->setObjectName(QStringLiteral("_factorPopUpButton"));
    _factorPopUpButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont small = _factorPopUpButton->font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.85));
    _factorPopUpButton->setFont(small);
    const QStringList labels = ZoomFactor::labels();
    for (int row = 0; row < ZoomFactor::RowCount; ++row)
        _factorPopUpButton->addItem(labels.at(row), ZoomFactor::factors()[size_t(row)]);
    _factorPopUpButton->setCurrentIndex(ZoomFactor::rowForFactor(_factor));
    connect(_factorPopUpButton, &QComboBox::activated, this, [this](int row) {
        if (row < 0 || row >= ZoomFactor::RowCount)
            return;
        const double f = ZoomFactor::factors()[size_t(row)];
        if (m_zoom)
            m_zoom->setFactor(f);
        else
            setFactor(f);
    });
    addScrollBarWidget(_factorPopUpButton, Qt::AlignLeft);
}

void SKTZoomingScrollView::tile()
{
    if (!canvasCheck(horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff,
                     "SKTZoomingScrollView doesn't support use without a horizontal scroll bar."))
        return;
    validateFactorPopUpButton();
    placeRulers();
}

void SKTZoomingScrollView::setRulersVisible(bool visible)
{
    if (visible == m_rulersVisible)
        return;
    m_rulersVisible = visible;
    const int t = visible ? RulerView::Thickness : 0;
    setViewportMargins(t, t, 0, 0);
    m_horizontalRuler->setVisible(visible);
    m_verticalRuler->setVisible(visible);
    placeRulers();
}

void SKTZoomingScrollView::placeRulers()
{
    if (!m_rulersVisible)
        return;
    const QRect vp = viewport()->geometry();
    const int t = RulerView::Thickness;
    m_horizontalRuler->setGeometry(vp.x(), vp.y() - t, vp.width(), t);
    m_verticalRuler->setGeometry(vp.x() - t, vp.y(), t, vp.height());
    const QPoint at = m_document ? m_document->pos() : QPoint();
    m_horizontalRuler->setPlacement(at.x(), _factor);
    m_verticalRuler->setPlacement(at.y(), _factor);
}

void SKTZoomingScrollView::documentResized()
{
    if (!m_document)
        return;
    m_clip->setDocumentSize(m_document->cardSize());
    syncScrollBars();
    placeRulers();
}

void SKTZoomingScrollView::syncScrollBars()
{
    if (m_syncing)
        return;
    m_syncing = true;
    const QSizeF f = m_clip->documentSize();
    const QSizeF b = m_clip->boundsSize();
    const QPointF origin = m_clip->boundsOrigin();
    const int hMax = b.width() < f.width() ? int(std::lround((f.width() - b.width()) * _factor)) : 0;
    const int vMax = b.height() < f.height() ? int(std::lround((f.height() - b.height()) * _factor)) : 0;
    horizontalScrollBar()->setRange(0, hMax);
    verticalScrollBar()->setRange(0, vMax);
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setSingleStep(std::max(1, int(std::lround(10 * _factor))));
    verticalScrollBar()->setSingleStep(std::max(1, int(std::lround(10 * _factor))));
    if (hMax > 0)
        horizontalScrollBar()->setValue(int(std::lround(origin.x() * _factor)));
    if (vMax > 0)
        verticalScrollBar()->setValue(int(std::lround(origin.y() * _factor)));
    m_syncing = false;
}

void SKTZoomingScrollView::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    const QSizeF f = m_clip->documentSize();
    const QSizeF b = m_clip->boundsSize();
    QPointF proposed = m_clip->boundsOrigin();
    if (b.width() < f.width())
        proposed.setX(horizontalScrollBar()->value() / _factor);
    if (b.height() < f.height())
        proposed.setY(verticalScrollBar()->value() / _factor);
    m_clip->scrollToPoint(proposed);
}

QSizeF SKTZoomingScrollView::areaForWholeCard() const
{
    const int bar = verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0;
    return QSizeF(viewport()->width() + bar, viewport()->height());
}

void SKTZoomingScrollView::scrollToCardOrigin()
{
    m_clip->scrollToPoint(QPointF(0, 0));
}

void SKTZoomingScrollView::zoomByWheel(const QWheelEvent &event)
{
    m_wheelZoomDelta += event.angleDelta().y();
    const int notches = m_wheelZoomDelta / QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0)
        return;
    m_wheelZoomDelta -= notches * QWheelEvent::DefaultDeltasPerStep;
    const double f = ZoomFactor::steppedFactor(_factor, notches);
    if (m_zoom)
        m_zoom->setFactor(f);
    else
        setFactor(f);
}

void SKTZoomingScrollView::autoscrollTo(const QPointF &canvasPixel)
{
    if (!m_document)
        return;
    const QPointF at = canvasPixel + QPointF(m_document->pos());
    const QRect vp = viewport()->rect();
    if (at.x() < vp.left())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(std::floor(at.x() - vp.left())));
    else if (at.x() > vp.right())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(std::ceil(at.x() - vp.right())));
    if (at.y() < vp.top())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(std::floor(at.y() - vp.top())));
    else if (at.y() > vp.bottom())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(std::ceil(at.y() - vp.bottom())));
}

void SKTZoomingScrollView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    tile();
    m_clip->centerDocument();
    syncScrollBars();
}

bool SKTZoomingScrollView::viewportEvent(QEvent *event)
{
    // The clip view paints the desk and centres the card itself.
    if (event->type() == QEvent::Paint)
        return false;
    if (event->type() == QEvent::Resize) {
        QAbstractScrollArea::viewportEvent(event);
        return false;
    }
    if (event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
            zoomByWheel(*wheel);
            wheel->accept();
            return true;
        }
    }
    // A press on the desk around the card: the card takes the keyboard and lets go of its selection.
    // (A press on the card that it leaves, with another button, comes here too: not the desk.)
    if (event->type() == QEvent::MouseButtonPress && m_document) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton &&
            !m_document->geometry().contains(press->position().toPoint()))
            m_document->deskPressed();
    }
    return QAbstractScrollArea::viewportEvent(event);
}
