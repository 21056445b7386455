// A picture: pixels, a vector recording or a drawing that paints itself, with a size in points.
// Immutable once made and cheap to copy, so worker threads can paint it without locks.
#pragma once

#include "platform/PictureDrawing.h"
#include "platform/Units.h"

#include <QImage>
#include <QPicture>
#include <QRectF>
#include <QSizeF>

#include <memory>

class EncodedPicture;
class QPainter;

class Picture
{
public:
    Picture() = default;
    // Pixels shown at the given size in points; an empty size means one pixel per point.
    explicit Picture(const QImage &image, QSizeF sizeInPoints = {});
    // A vector recording whose content spans (0, 0, size) in points.
    static Picture fromVector(const QPicture &recording, QSizeF sizeInPoints);
    // Content that paints itself into (0, 0, size) in points at the device's own resolution.
    static Picture fromDrawing(std::shared_ptr<const PictureDrawing> drawing, QSizeF sizeInPoints);
    // Pixels kept encoded and decoded at the size they are drawn; its full read shows at `size`.
    static Picture fromEncoded(std::shared_ptr<const EncodedPicture> encoded, QSizeF sizeInPoints);
    // Read within the picture budget (PictureReader, which also says why a picture is refused);
    // null when the picture cannot be used.
    static Picture fromFile(const QString &path);
    static Picture fromData(const QByteArray &encoded); // PNG, JPEG, TIFF, ...

    bool isNull() const;
    // Resolution-free content: a recording or a drawing.
    bool isVector() const { return m_vector != nullptr || m_drawing != nullptr; }
    QSizeF size() const { return m_size; } // points
    // The pixels (null for vector pictures); an encoded picture's are decoded now unless kept.
    QImage image() const;
    // The pixels' size without decoding them (empty for vector pictures).
    QSize pixelSize() const;

    // The same picture with no more pixels than it needs to cover `needed` pixels (for the
    // whole picture, upright): an encoded picture at the coarsest such level; any other itself.
    Picture atPixels(QSize needed) const;
    // Whether image() answers without decoding.
    bool isDecoded() const;
    // The pixels' density against the full read's (1 for all but an encoded picture's levels):
    // for filters measured in pixels.
    double detailScale() const;
    // Whether both show the same content at the same size, without decoding.
    bool sameContent(const Picture &other) const;
    // What an encoded picture is made from (null for others), and its level.
    std::shared_ptr<const EncodedPicture> encoded() const { return m_encoded; }
    int level() const { return m_level; }
    const QPicture *vector() const { return m_vector.get(); }
    const PictureDrawing *drawing() const { return m_drawing.get(); }

    // Pixels at the given resolution: ceil(points x dpi / 72) on each side.
    QImage toImage(double dpi = Units::PointsPerInch, const QColor &background = Qt::transparent) const;
    // The stored pixels, or the vector at 72 dpi. Encoded once per picture and shared by its
    // copies: a design is written (and compared with its saved state) far more often than its
    // pictures change.
    QByteArray toPng() const;
    Picture withSize(QSizeF sizeInPoints) const;
    // The same picture, keeping `owner` alive as long as it or any copy of it lives (a shared
    // decoded picture's table entry).
    Picture keepingAlive(std::shared_ptr<const void> owner) const;

    // The device pixels that a rectangle of `size` in the painter's units covers; a recording,
    // which may be replayed at any resolution, asks for all there is.
    static QSize devicePixels(const QPainter &painter, QSizeF size);

    // Draws the whole picture scaled into target.
    void draw(QPainter &painter, const QRectF &target, double opacity = 1.0) const;

    // Replays a recording in the painter's current units, whatever the resolution of the device.
    // Qt scales a replay by the device's dpi over the recording's; this undoes that. The shared
    // recording is never replayed itself (replay moves a read position inside it): a private copy
    // of its bytes is, taken without checking them again, since a recording was checked when made.
    static void replay(QPainter &painter, const QPicture &recording);

private:
    QByteArray encodePng() const;

    QImage m_image;
    std::shared_ptr<const QPicture> m_vector;
    std::shared_ptr<const PictureDrawing> m_drawing;
    std::shared_ptr<const EncodedPicture> m_encoded;
    int m_level = 0;
    QSizeF m_size;
    struct PngCache;
    std::shared_ptr<PngCache> m_png; // null for the empty picture
    std::shared_ptr<const void> m_owner;
};
