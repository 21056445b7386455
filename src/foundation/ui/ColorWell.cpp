#include "foundation/ui/ColorWell.h"

#include "foundation/ui/ChooserPanels.h"

#include <QPainter>

ColorWell::ColorWell(const QColor &color, QWidget *parent) : QPushButton(parent), m_color(color)
{
    setMinimumSize(44, 24);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QPushButton::clicked, this, &ColorWell::choose);
}

void ColorWell::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ColorWell::choose()
{
    const std::optional<QColor> chosen = ChooserPanels::instance().color(window(), m_color, true);
    if (!chosen)
        return;
    setColor(*chosen);
    emit colorPicked(m_color);
}

void ColorWell::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    // A checkerboard under a translucent colour shows its alpha.
    p.fillRect(swatch, QBrush(Qt::white));
    p.fillRect(swatch, QBrush(QColor(200, 200, 200), Qt::Dense4Pattern));
    p.fillRect(swatch, m_color);
    p.setPen(QColor(90, 90, 90));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}
