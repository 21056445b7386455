#include "foundation/ui/Repeat_Image.h"

#include <QPaintEvent>
#include <QPainter>

namespace
{
QImage &banner()
{
    static QImage image;
    return image;
}
} // namespace

Repeat_Image::Repeat_Image(QWidget *parent) : QWidget(parent) {}

void Repeat_Image::setBannerImage(const QImage &image)
{
    banner() = image;
}

QImage Repeat_Image::bannerImage()
{
    return banner();
}

void Repeat_Image::paintEvent(QPaintEvent *event)
{
    const QImage &tile = banner();
    if (!tile.isNull()) {
        QPainter p(this);
        // The brush origin is the view's own top-left corner, so the tiles stay anchored there.
        p.setBrushOrigin(0, 0);
        p.fillRect(event->rect(), QBrush(tile));
    }
    QWidget::paintEvent(event);
}
