#include "output/PngEncoder.h"

#include <spng.h>

#include <cmath>
#include <memory>

namespace
{

struct CtxDeleter {
    void operator()(spng_ctx *ctx) const { spng_ctx_free(ctx); }
};

QString spngError(int code)
{
    return QString::fromUtf8(spng_strerror(code));
}

} // namespace

bool PngEncoder::isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    const QImage argb =
        (image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
            ? image
            : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(argb.constScanLine(y));
        quint32 all = 0xff000000u;
        for (int x = 0; x < argb.width(); ++x)
            all &= line[x];
        if ((all & 0xff000000u) != 0xff000000u)
            return false;
    }
    return true;
}

QByteArray PngEncoder::encode(const QImage &image, double dpi, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return QByteArray();
    };
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return fail(QStringLiteral("The image is empty."));

    const bool opaque = isOpaque(image);
    const QImage pixels = image.convertToFormat(opaque ? QImage::Format_RGB888 : QImage::Format_RGBA8888);
    if (pixels.isNull())
        return fail(QStringLiteral("Not enough memory to encode the image."));

    std::unique_ptr<spng_ctx, CtxDeleter> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx)
        return fail(QStringLiteral("Not enough memory to encode the image."));
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    // Cards are written by the thousand. Trying filters per row costs more than the deflate itself,
    // and on card pictures (flat fills, text, bars) unfiltered rows at a low level came out both
    // fastest and smallest of the fast settings measured.
    spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 3);
    spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);

    spng_ihdr ihdr = {};
    ihdr.width = quint32(pixels.width());
    ihdr.height = quint32(pixels.height());
    ihdr.bit_depth = 8;
    ihdr.color_type = opaque ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    int rc = spng_set_ihdr(ctx.get(), &ihdr);
    if (rc)
        return fail(spngError(rc));

    if (dpi > 0) {
        spng_phys phys = {};
        const auto perMetre = quint32(std::lround(dpi / 0.0254));
        phys.ppu_x = perMetre;
        phys.ppu_y = perMetre;
        phys.unit_specifier = 1;
        spng_set_phys(ctx.get(), &phys);
    }

    const size_t rowBytes = size_t(pixels.width()) * (opaque ? 3 : 4);
    rc = spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG,
                           SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    if (rc)
        return fail(spngError(rc));
    for (int y = 0; y < pixels.height(); ++y) {
        rc = spng_encode_row(ctx.get(), pixels.constScanLine(y), rowBytes);
        if (rc && rc != SPNG_EOI)
            return fail(spngError(rc));
    }
    if (rc != SPNG_EOI)
        return fail(QStringLiteral("The image could not be encoded."));

    size_t length = 0;
    int bufferError = 0;
    void *buffer = spng_get_png_buffer(ctx.get(), &length, &bufferError);
    if (!buffer)
        return fail(spngError(bufferError));
    QByteArray out(static_cast<const char *>(buffer), qsizetype(length));
    free(buffer);
    return out;
}
