#include "platform/Picture.h"

#include "platform/EncodedPicture.h"
#include "platform/PictureDecodes.h"
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

Picture Picture::fromEncoded(std::shared_ptr<const EncodedPicture> encoded, QSizeF sizeInPoints)
{
    Picture p;
    p.m_encoded = std::move(encoded);
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
    return m_vector || m_drawing || m_encoded ? false : m_image.isNull();
}

QImage Picture::image() const
{
    return m_encoded ? m_encoded->pixels(m_level) : m_image;
}

QSize Picture::pixelSize() const
{
    return m_encoded ? m_encoded->pixelsAt(m_level) : m_image.size();
}

Picture Picture::atPixels(QSize needed) const
{
    if (!m_encoded)
        return *this;
    const int level = m_encoded->levelFor(needed);
    if (level == m_level)
        return *this;
    Picture p(*this);
    p.m_level = level;
    p.m_png = std::make_shared<PngCache>(); // other pixels
    return p;
}

bool Picture::isDecoded() const
{
    return !m_encoded || m_encoded->isDecoded(m_level);
}

double Picture::detailScale() const
{
    if (!m_encoded)
        return 1.0;
    const double full = m_encoded->pixelsAt(0).width();
    return full > 0 ? m_encoded->pixelsAt(m_level).width() / full : 1.0;
}

bool Picture::sameContent(const Picture &other) const
{
    if (m_size != other.m_size || m_vector != other.m_vector || m_drawing != other.m_drawing ||
        m_encoded != other.m_encoded)
        return false;
    // A cache key is never given twice in a run.
    return m_encoded ? m_level == other.m_level : m_image.cacheKey() == other.m_image.cacheKey();
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
    // A full read made only for this is not kept among the decodings.
    QImage img = isVector() ? toImage(Units::PointsPerInch)
                 : m_encoded && m_level == 0 && !isDecoded()
                     ? PictureReader::decode(m_encoded->origin(), QSize(), m_encoded->maxPixels())
                     : image();
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!img.isNull())
        img.save(&buf, "PNG");
    // A PNG read from a design comes out as it went in: the bytes kept are shared, not held twice.
    if (m_encoded && bytes == m_encoded->origin().bytes)
        return m_encoded->origin().bytes;
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

QSize Picture::devicePixels(const QPainter &painter, QSizeF size)
{
    constexpr int All = 1 << 20;
    const QPaintDevice *device = painter.device();
    if (!device || device->devType() == QInternal::Picture)
        return QSize(All, All);
    const QTransform t = painter.deviceTransform();
    const double w = std::abs(size.width()) * std::hypot(t.m11(), t.m12());
    const double h = std::abs(size.height()) * std::hypot(t.m21(), t.m22());
    if (!(w < All && h < All))
        return QSize(All, All);
    return QSize(int(std::ceil(w - 1e-6)), int(std::ceil(h - 1e-6)));
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
        painter.drawImage(
            target, PictureDecodes::shownPixels(atPixels(devicePixels(painter, target.size())), painter));
    }
    painter.restore();
}
