// Encodes images as PNG through ISA-L's fast deflate, the road for cards written in bulk.
// Pure function of the pixels: the same image always gives the same bytes, on any thread.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class PngEncoder
{
public:
    // PNG bytes of the image, with its resolution recorded when dpi > 0, in the smallest colour
    // type that keeps every pixel exactly: grey (1, 2, 4 or 8 bits) or a palette (with its
    // transparency) for at most 256 colours, grey with alpha, RGB when opaque, RGBA (straight
    // alpha) otherwise. Empty on failure, with *error set.
    static QByteArray encode(const QImage &image, double dpi, QString *error = nullptr);
    // The same into out, whose memory is reused: a worker encoding card after card keeps one
    // buffer. False with *error (and out empty) on failure.
    static bool encodeInto(const QImage &image, double dpi, QByteArray &out, QString *error = nullptr);

    // Whether every pixel of the image is fully opaque.
    static bool isOpaque(const QImage &image);
};
