#include "support/ui/Promotion_Pattern.h"

#include "foundation/DataRoot.h"

#include <QPaintEvent>
#include <QPainter>

Promotion_Pattern::Promotion_Pattern(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    m_pattern.load(Resource_Path + QStringLiteral("pattern_1.jpg"));
}

void Promotion_Pattern::paintEvent(QPaintEvent *event)
{
    if (!m_pattern.isNull()) {
        QPainter painter(this);
        painter.fillRect(event->rect(), QBrush(m_pattern));
    }
    QLabel::paintEvent(event);
}
