#include "paint/PictureOps.h"

#include "paint/PathPainting.h"
#include "platform/Units.h"

#include <QBuffer>
#include <QPainter>

Picture PictureOps::normalizeSize(const Picture &image)
{
    if (image.isNull() || image.isVector())
        return image;
    return image.withSize(QSizeF(image.pixelSize()));
}

Picture PictureOps::setDPI(const Picture &image, int dpi)
{
    if (image.isNull() || image.isVector() || dpi <= 0)
        return image;
    const QSize px = image.pixelSize();
    return image.withSize(QSizeF(px.width() / double(dpi) * Units::PointsPerInch,
                                 px.height() / double(dpi) * Units::PointsPerInch));
}

QImage PictureOps::bitmapImageRepresentation(const Picture &image)
{
    const double w = image.size().width(), h = image.size().height();
    if (image.isNull() || !(w >= 1.0) || !(h >= 1.0) || w * h > 400e6)
        return {};
    QImage out(int(w), int(h), QImage::Format_RGBA8888);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    PathPainting::drawPicture(p, image, QRectF(0, 0, w, h));
    p.end();
    return out;
}

QByteArray PictureOps::toPngData(const Picture &image)
{
    const QImage bitmap = bitmapImageRepresentation(image);
    QByteArray bytes;
    if (bitmap.isNull())
        return bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    bitmap.save(&buf, "PNG");
    return bytes;
}
