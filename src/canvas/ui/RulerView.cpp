#include "canvas/ui/RulerView.h"

#include "platform/Units.h"

#include <QPainter>

#include <cmath>

namespace
{
constexpr double PointsPerMillimetre = Units::PointsPerMillimetreShown;
}

RulerView::RulerView(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent), m_orientation(orientation)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RulerView::setPlacement(double cardOriginPx, double factor)
{
    if (cardOriginPx == m_originPx && factor == m_factor)
        return;
    m_originPx = cardOriginPx;
    m_factor = factor > 0 ? factor : 1.0;
    update();
}

void RulerView::moveRulerlineFromLocation(double from, double to)
{
    if (from >= 0) {
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            if (std::abs(m_lines[i] - from) < 1e-9) {
                m_lines.removeAt(i);
                break;
            }
        }
    }
    if (to >= 0)
        m_lines.append(to);
    update();
}

void RulerView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int length = horizontal ? width() : height();
    const int depth = horizontal ? height() : width();
    p.setPen(palette().color(QPalette::Mid));
    if (horizontal)
        p.drawLine(0, depth - 1, length, depth - 1);
    else
        p.drawLine(depth - 1, 0, depth - 1, length);

    // A tick every millimetre when they stand far enough apart, else every 5 or 10.
    const double mmPx = PointsPerMillimetre * m_factor;
    int step = 1;
    while (step * mmPx < 4.0 && step < 1000)
        step *= step == 1 ? 5 : 2;
    int labelEvery = 10;
    while (labelEvery * mmPx < 30.0 && labelEvery < 10000)
        labelEvery *= 2;
    const int firstMm = int(std::floor(-m_originPx / mmPx / step)) * step;
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(palette().color(QPalette::WindowText));
    for (int mm = firstMm;; mm += step) {
        const double at = m_originPx + mm * mmPx;
        if (at > length)
            break;
        const bool labelled = mm % labelEvery == 0;
        const double tick = labelled ? depth * 0.6 : (mm % 5 == 0 ? depth * 0.35 : depth * 0.2);
        const int a = int(std::round(at));
        if (horizontal)
            p.drawLine(a, depth - 1, a, int(depth - 1 - tick));
        else
            p.drawLine(depth - 1, a, int(depth - 1 - tick), a);
        if (labelled && horizontal)
            p.drawText(a + 2, 9, QString::number(mm));
        else if (labelled)
            p.drawText(1, a + 10, QString::number(mm));
    }

    p.setPen(QPen(QColor(200, 0, 0), 1));
    for (double line : std::as_const(m_lines)) {
        const int a = int(std::round(toPixels(line)));
        if (horizontal)
            p.drawLine(a, 0, a, depth);
        else
            p.drawLine(0, a, depth, a);
    }
}
