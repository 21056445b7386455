#include "platform/ScaledDecoding.h"

#include <QIODevice>
#include <QtEndian>

#include <spng.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace ScaledDecoding
{

namespace
{

// Bytes in the order QImage's 32-bit formats keep them in memory (0xAARRGGBB as a word).
constexpr bool LittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
std::atomic<qint64> g_jpegPixels{0};
} // namespace

bool isPng(QIODevice &device)
{
    return device.peek(8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

bool isJpeg(QIODevice &device)
{
    return device.peek(3) == QByteArray("\xFF\xD8\xFF", 3);
}

bool isInterlacedPng(QIODevice &device)
{
    const QByteArray head = device.peek(29);
    return head.size() == 29 && head.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)) &&
           head.mid(12, 4) == "IHDR" && head.at(28) != 0;
}

AreaScaler::AreaScaler(QSize from, QImage *out, int channels)
    : m_from(from), m_out(out), m_channels(channels), m_sy(double(from.height()) / std::max(1, out->height()))
{
    const int tw = out->width();
    const double sx = double(from.width()) / std::max(1, tw);
    m_first.resize(size_t(tw));
    m_count.resize(size_t(tw));
    for (int x = 0; x < tw; ++x) {
        const double lo = x * sx;
        const double hi = std::min<double>((x + 1) * sx, from.width());
        const int first = std::min(int(std::floor(lo)), from.width() - 1);
        const int last = std::max(first, std::min(int(std::ceil(hi)) - 1, from.width() - 1));
        m_first[size_t(x)] = first;
        m_count[size_t(x)] = last - first + 1;
        for (int i = first; i <= last; ++i)
            m_weight.push_back(float((std::min<double>(hi, i + 1) - std::max<double>(lo, i)) / sx));
    }
    // Every output row open at once: those one source row reaches, and one more.
    m_ring = int(std::ceil(1.0 / m_sy)) + 2;
    m_row.assign(size_t(tw) * size_t(channels), 0.f);
    m_acc.assign(size_t(m_ring) * m_row.size(), 0.f);
}

void AreaScaler::addRow(const uchar *row)
{
    if (m_y >= m_from.height())
        return;
    const int tw = m_out->width();
    const int th = m_out->height();
    const int ch = m_channels;
    if (m_from == m_out->size()) { // nothing to average
        std::memcpy(m_out->scanLine(m_y++), row, size_t(tw) * size_t(ch));
        return;
    }
    const float *w = m_weight.data();
    float *across = m_row.data();
    for (int x = 0; x < tw; ++x, across += ch) {
        const uchar *p = row + size_t(m_first[size_t(x)]) * size_t(ch);
        const int count = m_count[size_t(x)];
        if (ch == 4) {
            float s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            for (int i = 0; i < count; ++i, ++w, p += 4) {
                s0 += *w * p[0], s1 += *w * p[1], s2 += *w * p[2], s3 += *w * p[3];
            }
            across[0] = s0, across[1] = s1, across[2] = s2, across[3] = s3;
        } else {
            float s = 0;
            for (int i = 0; i < count; ++i, ++w, ++p)
                s += *w * p[0];
            across[0] = s;
        }
    }
    // The output rows this source row overlaps, each by its share.
    const double top = m_y, bottom = m_y + 1.0;
    for (int ty = std::max(m_next, int(top / m_sy)); ty < th && ty * m_sy < bottom; ++ty) {
        const double share = (std::min(bottom, (ty + 1) * m_sy) - std::max(top, ty * m_sy)) / m_sy;
        if (share <= 0)
            continue;
        float *acc = m_acc.data() + size_t(ty % m_ring) * m_row.size();
        const float *from = m_row.data();
        const float f = float(share);
        for (size_t i = 0, n = m_row.size(); i < n; ++i)
            acc[i] += f * from[i];
    }
    ++m_y;
    while (m_next < th && ((m_next + 1) * m_sy <= m_y + 1e-9 || m_y == m_from.height()))
        emitRow(m_next++);
}

void AreaScaler::emitRow(int ty)
{
    float *acc = m_acc.data() + size_t(ty % m_ring) * m_row.size();
    uchar *out = m_out->scanLine(ty);
    for (size_t i = 0; i < m_row.size(); ++i)
        out[i] = uchar(std::clamp(int(acc[i] + 0.5f), 0, 255));
    std::fill(acc, acc + m_row.size(), 0.f);
}

namespace
{
int readPngStream(spng_ctx *, void *user, void *dest, size_t length)
{
    auto *device = static_cast<QIODevice *>(user);
    auto *to = static_cast<char *>(dest);
    while (length > 0) {
        const qint64 got = device->read(to, qint64(length));
        if (got <= 0)
            return SPNG_IO_EOF;
        to += got;
        length -= size_t(got);
    }
    return 0;
}

// RGBA as decoded to premultiplied pixels in QImage's byte order.
void premultiply(const uchar *rgba, uchar *out, int width)
{
    for (int x = 0; x < width; ++x, rgba += 4, out += 4) {
        const unsigned a = rgba[3];
        const uchar r = uchar((rgba[0] * a + 127) / 255);
        const uchar g = uchar((rgba[1] * a + 127) / 255);
        const uchar b = uchar((rgba[2] * a + 127) / 255);
        if (LittleEndian) {
            out[0] = b, out[1] = g, out[2] = r, out[3] = uchar(a);
        } else {
            out[0] = uchar(a), out[1] = r, out[2] = g, out[3] = b;
        }
    }
}

QImage failed(QString *error, const QString &why = {})
{
    if (error)
        *error = why;
    return {};
}
} // namespace

QImage png(QIODevice &device, QSize size, QString *error)
{
    const std::unique_ptr<spng_ctx, void (*)(spng_ctx *)> ctx(spng_ctx_new(0), spng_ctx_free);
    if (!ctx || size.isEmpty() || spng_set_png_stream(ctx.get(), readPngStream, &device) != 0)
        return failed(error);
    spng_ihdr ihdr{};
    if (spng_get_ihdr(ctx.get(), &ihdr) != 0 || ihdr.width == 0 || ihdr.height == 0 ||
        ihdr.width > (1u << 30) || ihdr.height > (1u << 30))
        return failed(error);
    const QSize from(int(ihdr.width), int(ihdr.height));
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return failed(error);
    AreaScaler scaler(from, &out, 4);
    const size_t rowBytes = size_t(from.width()) * 4;
    std::vector<uchar> premultiplied(rowBytes);
    if (ihdr.interlace_method != SPNG_INTERLACE_NONE) {
        // Adam7 passes fill the whole picture before any row is final.
        size_t bytes = 0;
        if (spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &bytes) != 0)
            return failed(error);
        std::vector<uchar> whole(bytes);
        if (spng_decode_image(ctx.get(), whole.data(), bytes, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
            return failed(error);
        for (int y = 0; y < from.height(); ++y) {
            premultiply(whole.data() + size_t(y) * rowBytes, premultiplied.data(), from.width());
            scaler.addRow(premultiplied.data());
        }
        return out;
    }
    if (spng_decode_image(ctx.get(), nullptr, 0, SPNG_FMT_RGBA8,
                          SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0)
        return failed(error);
    std::vector<uchar> row(rowBytes);
    for (;;) {
        const int ret = spng_decode_row(ctx.get(), row.data(), row.size());
        if (ret != 0 && ret != SPNG_EOI)
            return failed(error);
        premultiply(row.data(), premultiplied.data(), from.width());
        scaler.addRow(premultiplied.data());
        if (ret == SPNG_EOI)
            break;
    }
    return scaler.rowsTaken() == from.height() ? out : failed(error);
}

namespace
{
struct JpegSource {
    jpeg_source_mgr pub;
    QIODevice *device;
    JOCTET buffer[64 * 1024];
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *src = reinterpret_cast<JpegSource *>(cinfo->src);
    qint64 got = src->device->read(reinterpret_cast<char *>(src->buffer), sizeof src->buffer);
    if (got <= 0) {
        // A cut file ends as if whole; the decoder fills the rest grey, as a full read does.
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        got = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = size_t(got);
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    auto *src = reinterpret_cast<JpegSource *>(cinfo->src);
    while (count > long(src->pub.bytes_in_buffer)) {
        count -= long(src->pub.bytes_in_buffer);
        fillInput(cinfo);
    }
    if (count > 0) {
        src->pub.next_input_byte += count;
        src->pub.bytes_in_buffer -= size_t(count);
    }
}

struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo)
{
    auto *errors = reinterpret_cast<JpegErrors *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void noMessage(j_common_ptr) {}

// CMYK as the decoder gives it to RGB32; Adobe's files store the inks inverted.
void cmykToRgb(const uchar *cmyk, uchar *out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4, out += 4) {
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        const uchar r = uchar(c * k / 255), g = uchar(m * k / 255), b = uchar(y * k / 255);
        if (LittleEndian) {
            out[0] = b, out[1] = g, out[2] = r, out[3] = 0xFF;
        } else {
            out[0] = 0xFF, out[1] = r, out[2] = g, out[3] = b;
        }
    }
}

// Everything the decoding touches after setjmp lives here, made before it, so a jump back
// skips no destructor.
struct JpegRun {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors{};
    JpegSource source{};
    std::vector<uchar> row;
    std::vector<uchar> converted;
    std::unique_ptr<AreaScaler> scaler;
    QImage out;
    bool created = false;
    ~JpegRun()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

// The decoding proper; false when libjpeg gave up (its message is in run.errors).
bool decodeJpeg(JpegRun &run, QSize size)
{
    if (setjmp(run.errors.jump))
        return false;
    jpeg_decompress_struct &cinfo = run.cinfo;
    jpeg_create_decompress(&cinfo);
    run.created = true;
    run.source.pub.init_source = initSource;
    run.source.pub.fill_input_buffer = fillInput;
    run.source.pub.skip_input_data = skipInput;
    run.source.pub.resync_to_restart = jpeg_resync_to_restart;
    run.source.pub.term_source = termSource;
    cinfo.src = &run.source.pub;
    jpeg_read_header(&cinfo, TRUE);

    // The strongest reduction that still covers the size asked on both sides.
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    for (const unsigned d : {8u, 4u, 2u}) {
        if ((cinfo.image_width + d - 1) / d >= unsigned(size.width()) &&
            (cinfo.image_height + d - 1) / d >= unsigned(size.height())) {
            cinfo.scale_denom = d;
            break;
        }
    }
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = grey           ? JCS_GRAYSCALE
                            : cmyk         ? JCS_CMYK
                            : LittleEndian ? JCS_EXT_BGRA
                                           : JCS_EXT_ARGB;
    jpeg_calc_output_dimensions(&cinfo);
    g_jpegPixels += qint64(cinfo.output_width) * qint64(cinfo.output_height);
    const int channels = grey ? 1 : 4;
    if (int(cinfo.output_components) != channels)
        return false;
    run.out = QImage(size, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (run.out.isNull())
        return false;
    const QSize decoded(int(cinfo.output_width), int(cinfo.output_height));
    run.scaler = std::make_unique<AreaScaler>(decoded, &run.out, channels);
    run.row.resize(size_t(decoded.width()) * size_t(channels));
    run.converted.resize(run.row.size());
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {run.row.data()};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1)
            return false;
        if (cmyk) {
            cmykToRgb(run.row.data(), run.converted.data(), decoded.width(), cinfo.saw_Adobe_marker);
            run.scaler->addRow(run.converted.data());
        } else {
            run.scaler->addRow(run.row.data());
        }
    }
    jpeg_finish_decompress(&cinfo);
    return run.scaler->rowsTaken() == decoded.height();
}
} // namespace

QImage jpeg(QIODevice &device, QSize size, QString *error)
{
    if (size.isEmpty())
        return failed(error);
    auto run = std::make_unique<JpegRun>();
    run->cinfo.err = jpeg_std_error(&run->errors.pub);
    run->errors.pub.error_exit = errorExit;
    run->errors.pub.output_message = noMessage;
    run->source.device = &device;
    if (!decodeJpeg(*run, size)) {
        return failed(error, QString::fromLocal8Bit(run->errors.message));
    }
    return std::move(run->out);
}

qint64 jpegPixelsDecoded()
{
    return g_jpegPixels.load();
}

} // namespace ScaledDecoding
