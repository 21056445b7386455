#include "output/CombinedImage.h"

#include <QPainter>

QImage CombinedImage::Export_Combined_Image(const QImage &front, const QImage &back)
{
    if (front.isNull() || back.isNull())
        return {};
    const int w = front.width();
    const int h = front.height();
    QImage out(w, 2 * h, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    out.setDotsPerMeterX(front.dotsPerMeterX());
    out.setDotsPerMeterY(front.dotsPerMeterY());
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // The back first: a taller back must not cover the front.
    p.drawImage(0, 2 * h - back.height(), back);
    p.drawImage(0, 0, front);
    p.end();
    return out;
}
