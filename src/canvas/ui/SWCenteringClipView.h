// The visible area of a card's scroll view: keeps the card centred when it is smaller than the
// area, limits scrolling to the card, and paints the grey desk with the card's shadowed silhouette.
#pragma once

#include "model/DesignSettings.h"

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

#include <optional>

class SWCenteringClipView : public QWidget
{
    Q_OBJECT
public:
    explicit SWCenteringClipView(QWidget *parent = nullptr);

    // The card widget inside; its size in points is the document size.
    void setDocumentView(QWidget *view, QSizeF sizeInPoints);
    void setDocumentSize(QSizeF sizeInPoints);
    QSizeF documentSize() const { return m_documentSize; }
    void setFactor(double factor);
    double factor() const { return m_factor; }

    // The visible area in card points: its size (pixels over the factor) and its top-left corner.
    QSizeF boundsSize() const;
    QPointF boundsOrigin() const { return m_origin; }

    // Per axis: centred at round((f - b) / 2) when the area is larger than the card, else kept
    // between 0 and f - b, in whole points.
    QPointF constrainScrollPoint(const QPointF &proposed) const;
    static double centredOrigin(double f, double b);
    static double constrainAxis(double proposed, double f, double b);
    void centerDocument();
    void scrollToPoint(const QPointF &proposed);

    // What the kept shadow costs; bounded by the view's size, whatever the zoom.
    qsizetype shadowBytes() const;

signals:
    void boundsOriginChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeDocument();
    // The blurred silhouette of the card (in this view's pixels) over the part that can show,
    // made again only when the card, the area or the shape changes: never larger than the view.
    const QImage &shadowFor(const QRect &card, int shape);
    QRect shadowArea(const QRect &card) const;

    QWidget *m_document = nullptr;
    QSizeF m_documentSize = DesignSettings::DefaultCardSize;
    double m_factor = 1.0;
    QPointF m_origin;
    QImage m_shadow;
    QRect m_shadowCard;
    QRect m_shadowArea;
    int m_shadowShape = -1;
};
