#include "output/PngEncoder.h"

#include <spng.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

static_assert(std::endian::native == std::endian::little, "rows are packed for little-endian words");

namespace
{

// The encoder's memory (zlib's state and window, libspng's rows) is the same few blocks image after
// image. Handed back to the system after every card they were faulted in again on the next one, and
// with every worker giving memory back the kernel kept stopping all of them to flush their address
// translations. A thread keeps the blocks of its last images instead, within a small budget.
class BlockCache
{
public:
    ~BlockCache()
    {
        for (const Block &b : m_blocks)
            std::free(b.base);
    }

    static void *allocate(size_t size)
    {
        if (size > std::numeric_limits<size_t>::max() - Header)
            return nullptr;
        void *base = mine().take(size);
        if (!base)
            base = std::malloc(size + Header);
        if (!base)
            return nullptr;
        *static_cast<size_t *>(base) = size;
        return static_cast<char *>(base) + Header;
    }

    static void *allocateZeroed(size_t count, size_t size)
    {
        if (size && count > std::numeric_limits<size_t>::max() / size)
            return nullptr;
        void *p = allocate(count * size);
        if (p)
            std::memset(p, 0, count * size);
        return p;
    }

    static void *reallocate(void *p, size_t size)
    {
        if (!p)
            return allocate(size);
        if (size > std::numeric_limits<size_t>::max() - Header)
            return nullptr;
        void *base = std::realloc(static_cast<char *>(p) - Header, size + Header);
        if (!base)
            return nullptr;
        *static_cast<size_t *>(base) = size;
        return static_cast<char *>(base) + Header;
    }

    static void release(void *p)
    {
        if (!p)
            return;
        void *base = static_cast<char *>(p) - Header;
        mine().keep(base, *static_cast<size_t *>(base));
    }

private:
    static constexpr size_t Header = 16; // the block's size, keeping the caller's alignment
    static constexpr size_t Budget = size_t(4) << 20;
    static constexpr size_t MaxBlocks = 32;

    struct Block {
        void *base;
        size_t size;
    };

    static BlockCache &mine()
    {
        thread_local BlockCache cache;
        return cache;
    }

    void *take(size_t size)
    {
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            if (m_blocks[i].size != size)
                continue;
            void *base = m_blocks[i].base;
            m_bytes -= size;
            m_blocks[i] = m_blocks.back();
            m_blocks.pop_back();
            return base;
        }
        return nullptr;
    }

    void keep(void *base, size_t size)
    {
        if (size > Budget - m_bytes || m_blocks.size() >= MaxBlocks) {
            std::free(base);
            return;
        }
        if (m_blocks.capacity() < MaxBlocks)
            m_blocks.reserve(MaxBlocks); // never allocates while giving back
        m_blocks.push_back({base, size});
        m_bytes += size;
    }

    std::vector<Block> m_blocks;
    size_t m_bytes = 0;
};

spng_alloc cachedAllocation{&BlockCache::allocate, &BlockCache::reallocate, &BlockCache::allocateZeroed,
                            &BlockCache::release};

struct CtxDeleter {
    void operator()(spng_ctx *ctx) const { spng_ctx_free(ctx); }
};

QString spngError(int code)
{
    return QString::fromUtf8(spng_strerror(code));
}

// Appends what the encoder writes to the caller's buffer.
int appendTo(spng_ctx *, void *user, void *data, size_t length)
{
    auto *out = static_cast<QByteArray *>(user);
    if (length > size_t(std::numeric_limits<qsizetype>::max() - out->size()))
        return SPNG_IO_ERROR;
    out->append(static_cast<const char *>(data), qsizetype(length));
    return 0;
}

// How rows of 32-bit pixels (0xAARRGGBB) become the file's rows, packed one at a time.
enum class Packing { None, Rgb, Rgba, RgbaFromPremultiplied };

Packing packingFor(QImage::Format format, bool opaque)
{
    switch (format) {
    case QImage::Format_RGB32:
        return Packing::Rgb;
    case QImage::Format_ARGB32:
        return opaque ? Packing::Rgb : Packing::Rgba;
    case QImage::Format_ARGB32_Premultiplied:
        return opaque ? Packing::Rgb : Packing::RgbaFromPremultiplied;
    default:
        return Packing::None;
    }
}

// 0xAARRGGBB to the bytes R, G, B, A in memory (little-endian 0xAABBGGRR).
inline quint32 swapRedBlue(quint32 p)
{
    return (p & 0xff00ff00u) | ((p >> 16) & 0xffu) | ((p & 0xffu) << 16);
}

inline void store(uchar *to, quint32 word)
{
    std::memcpy(to, &word, sizeof word);
}

// Branch-free loops the compiler turns into vector code: a card row is packed in a small part of
// the time deflate takes for it.
void packRow(Packing packing, const quint32 *__restrict pixels, int width, uchar *__restrict to)
{
    if (packing == Packing::Rgb) {
        int x = 0;
        for (; x + 4 <= width; x += 4, to += 12) {
            const quint32 a = swapRedBlue(pixels[x]), b = swapRedBlue(pixels[x + 1]);
            const quint32 c = swapRedBlue(pixels[x + 2]), d = swapRedBlue(pixels[x + 3]);
            store(to, (a & 0xffffffu) | (b << 24));
            store(to + 4, ((b >> 8) & 0xffffu) | (c << 16));
            store(to + 8, ((c >> 16) & 0xffu) | (d << 8));
        }
        for (; x < width; ++x, to += 3) {
            const quint32 p = pixels[x];
            to[0] = uchar(p >> 16);
            to[1] = uchar(p >> 8);
            to[2] = uchar(p);
        }
        return;
    }
    // Fully opaque and fully clear pixels are the same premultiplied or not; only the edges of
    // shapes and text need alpha taken out again.
    auto *__restrict words = reinterpret_cast<quint32 *>(to);
    unsigned partial = 0;
    for (int x = 0; x < width; ++x) {
        const quint32 p = pixels[x];
        words[x] = swapRedBlue(p);
        partial |= (p >> 24) - 1u < 254u;
    }
    if (packing != Packing::RgbaFromPremultiplied || !partial)
        return;
    for (int x = 0; x < width; ++x) {
        const quint32 p = pixels[x];
        if ((p >> 24) - 1u < 254u)
            words[x] = swapRedBlue(qUnpremultiply(p));
    }
}

} // namespace

bool PngEncoder::isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return isOpaque(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    const int width = image.width(), height = image.height();
    const qsizetype stride = image.bytesPerLine();
    const uchar *bits = image.constBits();
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(bits + y * stride);
        quint32 all = 0xff000000u;
        for (int x = 0; x < width; ++x)
            all &= line[x];
        if ((all & 0xff000000u) != 0xff000000u)
            return false;
    }
    return true;
}

QByteArray PngEncoder::encode(const QImage &image, double dpi, QString *error)
{
    QByteArray out;
    encodeInto(image, dpi, out, error);
    return out;
}

bool PngEncoder::encodeInto(const QImage &image, double dpi, QByteArray &out, QString *error)
{
    out.resize(0); // keeps the memory of the last card
    // Room for about what the last card of this thread took, so the file is not copied as it grows.
    thread_local qsizetype lastSize = 0;
    out.reserve(lastSize + lastSize / 4);
    auto fail = [&](const QString &message) {
        out.resize(0);
        if (error)
            *error = message;
        return false;
    };
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return fail(QStringLiteral("The image is empty."));

    const bool opaque = isOpaque(image);
    // 32-bit pixels, as cards are drawn, are packed row by row; anything else is converted first.
    const Packing packing = packingFor(image.format(), opaque);
    const QImage::Format wanted = opaque ? QImage::Format_RGB888 : QImage::Format_RGBA8888;
    const QImage pixels =
        packing != Packing::None || image.format() == wanted ? image : image.convertToFormat(wanted);
    if (pixels.isNull())
        return fail(QStringLiteral("Not enough memory to encode the image."));

    std::unique_ptr<spng_ctx, CtxDeleter> ctx(spng_ctx_new2(&cachedAllocation, SPNG_CTX_ENCODER));
    if (!ctx)
        return fail(QStringLiteral("Not enough memory to encode the image."));
    int rc = spng_set_png_stream(ctx.get(), appendTo, &out);
    if (rc)
        return fail(spngError(rc));
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
    rc = spng_set_ihdr(ctx.get(), &ihdr);
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

    const int width = pixels.width();
    const size_t rowBytes = size_t(width) * (opaque ? 3 : 4);
    // The packed row lives as long as the worker does.
    thread_local std::vector<quint32> packed; // words, so that a row is aligned for them
    if (packing != Packing::None && packed.size() < size_t(width))
        packed.resize(size_t(width));
    rc = spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG,
                           SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    if (rc)
        return fail(spngError(rc));
    for (int y = 0; y < pixels.height(); ++y) {
        const uchar *row = pixels.constScanLine(y);
        if (packing != Packing::None) {
            auto *bytes = reinterpret_cast<uchar *>(packed.data());
            packRow(packing, reinterpret_cast<const quint32 *>(row), width, bytes);
            row = bytes;
        }
        rc = spng_encode_row(ctx.get(), row, rowBytes);
        if (rc && rc != SPNG_EOI)
            return fail(spngError(rc));
    }
    if (rc != SPNG_EOI)
        return fail(QStringLiteral("The image could not be encoded."));
    lastSize = out.size();
    return true;
}
