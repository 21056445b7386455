#include "platform/Picture.h"

#include "platform/PictureReader.h"
#include "platform/SharedPictures.h"
#include "platform/Units.h"

#include <QBuffer>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace
{
// Far beyond any card at print resolution, well within what QImage can address.
constexpr double MaxPixelSide = 100000;
} // namespace

struct Picture::PngCache {
    std::once_flag once;
    QByteArray bytes;
};

Picture::Picture(const QImage &image, QSizeF sizeInPoints)
    : m_image(image), m_size(sizeInPoints.isEmpty() ? QSizeF(image.size()) : sizeInPoints),
      m_png(std::make_shared<PngCache>())
{
}

Picture Picture::fromVector(const QPicture &recording, QSizeF sizeInPoints)
{
    Picture p;
    p.m_vector = std::make_shared<const QPicture>(recording);
    p.m_size = sizeInPoints;
    p.m_png = std::make_shared<PngCache>();
    return p;
}

Picture Picture::fromDrawing(std::shared_ptr<const PictureDrawing> drawing, QSizeF sizeInPoints)
{
    Picture p;
    p.m_drawing = std::move(drawing);
    p.m_size = sizeInPoints;
    p.m_png = std::make_shared<PngCache>();
    return p;
}

Picture Picture::fromFile(const QString &path)
{
    return SharedPictures::read(path).picture;
}

Picture Picture::fromData(const QByteArray &encoded)
{
    return PictureReader::readData(encoded).picture;
}

bool Picture::isNull() const
{
    return m_vector || m_drawing ? false : m_image.isNull();
}

QImage Picture::toImage(double dpi, const QColor &background) const
{
    if (isNull() || m_size.width() <= 0 || m_size.height() <= 0)
        return {};
    const double wd = std::ceil(m_size.width() * dpi / Units::PointsPerInch - 1e-9);
    const double hd = std::ceil(m_size.height() * dpi / Units::PointsPerInch - 1e-9);
    // A size read from a damaged file may be absurd; converting it to int would be undefined.
    if (!(wd >= 1 && hd >= 1 && wd <= MaxPixelSide && hd <= MaxPixelSide))
        return {};
    const int w = int(wd);
    const int h = int(hd);
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    out.fill(background);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    draw(p, QRectF(0, 0, m_size.width() * dpi / Units::PointsPerInch,
                   m_size.height() * dpi / Units::PointsPerInch));
    p.end();
    return out;
}

QByteArray Picture::toPng() const
{
    if (!m_png)
        return encodePng();
    std::call_once(m_png->once, [this] { m_png->bytes = encodePng(); });
    return m_png->bytes;
}

QByteArray Picture::encodePng() const
{
    QImage img = isVector() ? toImage(Units::PointsPerInch) : m_image;
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!img.isNull())
        img.save(&buf, "PNG");
    return bytes;
}

Picture Picture::withSize(QSizeF sizeInPoints) const
{
    Picture p(*this);
    p.m_size = sizeInPoints;
    if (isVector()) // drawn at the new size: its own pixels
        p.m_png = std::make_shared<PngCache>();
    return p;
}

Picture Picture::keepingAlive(std::shared_ptr<const void> owner) const
{
    Picture p(*this);
    p.m_owner = std::move(owner);
    return p;
}

void Picture::replay(QPainter &painter, const QPicture &recording)
{
    QPicture local(recording);
    local.detach();
    const QPaintDevice *device = painter.device();
    painter.save();
    if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter.scale(qreal(local.logicalDpiX()) / device->logicalDpiX(),
                      qreal(local.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(QPointF(0, 0), local);
    painter.restore();
}

void Picture::draw(QPainter &painter, const QRectF &target, double opacity) const
{
    if (isNull() || target.isEmpty() || m_size.width() <= 0 || m_size.height() <= 0)
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    if (m_vector || m_drawing) {
        painter.translate(target.topLeft());
        painter.scale(target.width() / m_size.width(), target.height() / m_size.height());
        if (m_drawing)
            m_drawing->paint(painter);
        else
            replay(painter, *m_vector);
    } else {
        painter.drawImage(target, m_image);
    }
    painter.restore();
}
