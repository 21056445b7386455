// Pictures made to test the picture budget: JPEGs of many scans, PNGs that claim a huge size.
// Shared by the core reader's tests and the windows' tests.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

namespace HostilePictures
{

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
