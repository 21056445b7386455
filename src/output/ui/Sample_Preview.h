// The live picture of one sheet in the print window: every cell of the layout with its numbered
// captions ("Card n", "Back n") and, when outlines are on, a dark grey outline of each place.
#pragma once

#include "output/PrintLayout.h"

#include <QImage>
#include <QSizeF>
#include <QWidget>

class Sample_Preview : public QWidget
{
    Q_OBJECT
public:
    explicit Sample_Preview(QWidget *parent = nullptr);

    // The layout to show and the card picture's size in points (empty: no picture).
    void setLayout(const PrintLayout &layout, const QSizeF &frontSize);
    // Shown this many pixels per point (the widget takes the paper's size at that scale).
    void setScale(double pixelsPerPoint);

    // Draws the sheet in points on a painter whose unit is one point.
    void drawSheet(QPainter &painter) const;
    // A picture of the sheet as shown.
    QImage imageRepresentation() const;

    static void Draw_Label_String(QPainter &painter, const QRectF &rect, const QString &str_val, int row,
                                  int col, int columns);
    void Draw_Margin_rect(QPainter &painter, const QRectF &rect) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize shownSize() const;
    // Says how many labels a sheet holds when the grid asked for does not fit.
    void drawFitNote(QPainter &painter) const;

    PrintLayout m_layout;
    QSizeF m_front;
    double m_scale = 1.0;
};
