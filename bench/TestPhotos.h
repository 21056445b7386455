// The photos the picture benchmarks make for themselves: photo-like JPEGs of a user's camera size.
#pragma once

#include <QImage>
#include <QString>

namespace TestPhotos
{

// A w x h photo-like JPEG (quality 85) written to path: smooth bands whose colours `tint` shifts,
// so photos of different tints decode to different pictures; greenTint shifts the green apart.
inline QString write(const QString &path, int w, int h, int tint, int greenTint = 0)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qRgb((x / 16 + tint) % 256, (y / 12 + greenTint) % 256, (x + y + tint * 7) / 28 % 256);
    }
    img.save(path, "JPEG", 85);
    return path;
}

} // namespace TestPhotos
