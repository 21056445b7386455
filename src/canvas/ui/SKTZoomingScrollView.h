// The scroll view around a card canvas: zooms it through the shared factor and its pop-up at the
// left of the horizontal scroll bar, keeps it centred through the clip view, and shows the rulers.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>

class QComboBox;
class QWheelEvent;
class RulerView;
class SKTGraphicView;
class SWCenteringClipView;
class ZoomFactor;

inline const QString SKTZoomingScrollViewFactor = QStringLiteral("factor");

class SKTZoomingScrollView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit SKTZoomingScrollView(QWidget *parent = nullptr);
    ~SKTZoomingScrollView() override;

    void setDocumentView(SKTGraphicView *view);
    SKTGraphicView *documentView() const { return m_document; }
    SWCenteringClipView *clipView() const { return m_clip; }

    double factor() const { return _factor; }
    void setFactor(double factor);
    // Follows the shared zoom, and a choice in the pop-up sets it.
    void bindFactor(ZoomFactor &zoom);
    void unbindFactor();
    // The zoom pop-up, made on first need.
    QComboBox *factorPopUpButton();
    void validateFactorPopUpButton();
    // Lays out the pop-up and the rulers; needs the horizontal scroll bar.
    void tile();

    bool rulersVisible() const { return m_rulersVisible; }
    void setRulersVisible(bool visible);
    RulerView *horizontalRuler() const { return m_horizontalRuler; }
    RulerView *verticalRuler() const { return m_verticalRuler; }

    // The pixels a card can take without a vertical scroll bar (the horizontal one is always there).
    QSizeF areaForWholeCard() const;
    // Back to the card's top-left corner (or centred, where it fits).
    void scrollToCardOrigin();
    // Ctrl+wheel over the card or the desk: one zoom step per notch of the wheel.
    void zoomByWheel(const QWheelEvent &event);

    // Scrolls so that a point of the canvas (in its pixels) comes into sight.
    void autoscrollTo(const QPointF &canvasPixel);
    // The canvas changed its size (card size or zoom).
    void documentResized();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;

private:
    void syncScrollBars();
    void placeRulers();

    SWCenteringClipView *m_clip = nullptr;
    SKTGraphicView *m_document = nullptr;
    QComboBox *_factorPopUpButton = nullptr;
    double _factor = 1.0;
    QPointer<ZoomFactor> m_zoom;
    bool m_syncing = false;
    bool m_rulersVisible = false;
    RulerView *m_horizontalRuler = nullptr;
    RulerView *m_verticalRuler = nullptr;
    int m_wheelZoomDelta = 0; // wheel turned with Ctrl, short of a notch
};
