#include "foundation/ui/VerticallyCenteredTextFieldCell.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

VerticallyCenteredTextFieldCell::VerticallyCenteredTextFieldCell(QWidget *parent) : QLabel(parent) {}

VerticallyCenteredTextFieldCell::VerticallyCenteredTextFieldCell(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

QRectF VerticallyCenteredTextFieldCell::titleRectForBounds(const QRectF &bounds, const QRectF &titleRect,
                                                           qreal textHeight)
{
    const qreal top = bounds.y() + (bounds.height() - textHeight) / 2.0;
    return QRectF(titleRect.x(), top, titleRect.width(), titleRect.height() - (top - bounds.y()));
}

void VerticallyCenteredTextFieldCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOption opt;
    opt.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &opt, &p, this);
    const QRectF bounds = contentsRect();
    const int flags =
        int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    const qreal h = fontMetrics().boundingRect(bounds.toRect(), flags, text()).height();
    const QRectF r = titleRectForBounds(bounds, bounds, h);
    p.setClipRect(bounds);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    p.drawText(QRectF(r.x(), r.y(), r.width(), qMax(r.height(), h)), flags, text());
}
