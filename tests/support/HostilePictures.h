// Pictures made to test the picture budget: JPEGs of many scans, PNGs that claim a huge size.
// Shared by the core reader's tests and the windows' tests.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

namespace HostilePictures
{

// Left half red, right half blue: what survives scaling can be checked at any size.
inline QImage halves(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h, QColor(220, 20, 20));
    p.fillRect(w / 2, 0, w - w / 2, h, QColor(20, 20, 220));
    p.end();
    return image;
}

// The JPEG with an EXIF block saying "turn 90 degrees clockwise to show" (orientation 6).
inline QByteArray withOrientation6(const QByteArray &jpeg)
{
    const QByteArray tiff = QByteArray("MM\x00\x2a\x00\x00\x00\x08", 8) + QByteArray("\x00\x01", 2) +
                            QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00", 12) +
                            QByteArray(4, '\0');
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray length(2, '\0');
    qToBigEndian<quint16>(quint16(body.size() + 2), length.data());
    return jpeg.left(2) + QByteArray("\xFF\xE1", 2) + length + body + jpeg.mid(2);
}

// A JPEG of the image; progressive ones are written in several scans. Quality -1: the writer's own.
inline QByteArray jpeg(const QImage &image, bool progressive = false, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (quality >= 0)
        writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        return {};
    return bytes;
}

// The JPEG with its last scan (SOS segment and data) repeated `extra` more times: not a sensible
// picture, but exactly what a scan count must refuse.
inline QByteArray withRepeatedLastScan(const QByteArray &jpeg, int extra)
{
    const qsizetype last = jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype end = jpeg.lastIndexOf(QByteArray("\xFF\xD9", 2));
    if (last <= 0 || end <= last)
        return {};
    const QByteArray scan = jpeg.mid(last, end - last);
    QByteArray out = jpeg.left(end);
    for (int i = 0; i < extra; ++i)
        out += scan;
    return out + QByteArray("\xFF\xD9", 2);
}

inline quint32 pngCrc(const QByteArray &bytes)
{
    quint32 c = 0xFFFFFFFFu;
    for (const char ch : bytes) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

inline QByteArray pngChunk(const char *type, const QByteArray &data)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    const QByteArray body = QByteArray(type, 4) + data;
    out += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(pngCrc(body), crc.data());
    return out + crc;
}

// A PNG whose header claims w x h RGBA pixels; its pixel data is a token few bytes.
inline QByteArray pngClaiming(quint32 w, quint32 h)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(w, ihdr.data());
    qToBigEndian<quint32>(h, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
           pngChunk("IDAT", QByteArray(16, '\0')) + pngChunk("IEND", {});
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace HostilePictures
