// A text label that centres its text vertically in its frame; text taller than the frame is
// shifted up by half the excess and clipped.
#pragma once

#include <QLabel>
#include <QRectF>

class VerticallyCenteredTextFieldCell : public QLabel
{
    Q_OBJECT
public:
    explicit VerticallyCenteredTextFieldCell(QWidget *parent = nullptr);
    explicit VerticallyCenteredTextFieldCell(const QString &text, QWidget *parent = nullptr);

    // Moves the top of `titleRect` so that text `textHeight` high sits in the middle of `bounds`,
    // shortening it by as much as it moved down.
    static QRectF titleRectForBounds(const QRectF &bounds, const QRectF &titleRect, qreal textHeight);

protected:
    void paintEvent(QPaintEvent *event) override;
};
