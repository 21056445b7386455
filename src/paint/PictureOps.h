// Small conversions of pictures: size from the pixels or a resolution, and a plain 32-bit bitmap.
// Pure functions of Picture values, like the filter chain.
#pragma once

#include "platform/Picture.h"

#include <QByteArray>
#include <QImage>

class PictureOps
{
public:
    // One point per pixel; a vector picture has no pixels and is returned unchanged.
    static Picture normalizeSize(const Picture &image);
    // Size = pixels / dpi x 72 on each side (300 pixels at 144 dpi are 150 points); dpi <= 0 changes nothing.
    static Picture setDPI(const Picture &image, int dpi);
    // An RGBA bitmap of the picture's size truncated to whole points, drawn at (0, 0), copy compositing;
    // a null image when either side is below 1.
    static QImage bitmapImageRepresentation(const Picture &image);
    // PNG data of that bitmap (empty when there is none): the picture handed to foreign code.
    static QByteArray toPngData(const Picture &image);
};
