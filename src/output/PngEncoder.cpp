#include "output/PngEncoder.h"

#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <array>
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

// 0xAARRGGBB to the bytes R, G, B, A in memory (little-endian 0xAABBGGRR).
inline quint32 swapRedBlue(quint32 p)
{
    return (p & 0xff00ff00u) | ((p >> 16) & 0xffu) | ((p & 0xffu) << 16);
}

inline void store(uchar *to, quint32 word)
{
    std::memcpy(to, &word, sizeof word);
}

inline bool partlyClear(quint32 p)
{
    return (p >> 24) - 1u < 254u;
}

inline bool isGrey(quint32 p)
{
    return ((p >> 16) & 0xffu) == (p & 0xffu) && ((p >> 8) & 0xffu) == (p & 0xffu);
}

// The colours of a picture, found by one pass over its 32-bit pixels (as stored: straight or
// premultiplied). Card pictures are long runs of one colour, so a pixel is looked up only where the
// colour changes.
class ColourCensus
{
public:
    static constexpr int MaxColours = 256;

    ColourCensus() { m_index.fill(-1); }

    // Index of a colour already counted (0 for one that was not).
    int indexOf(quint32 p) const
    {
        for (quint32 slot = hash(p), probes = 0; probes < Slots && m_index[slot] >= 0;
             slot = (slot + 1) & (Slots - 1), ++probes)
            if (m_keys[slot] == p)
                return m_index[slot];
        return 0;
    }

    void take(const QImage &image, quint32 alwaysSet)
    {
        const int width = image.width(), height = image.height();
        quint32 alphas = 0xff000000u;
        const size_t rowBytes = size_t(width) * 4;
        for (int y = 0; y < height && !settled(); ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
            // Bars, modules and flat areas repeat a row many times over: a row like the one above
            // holds no colour that was not counted.
            if (y > 0 && std::memcmp(line, image.constScanLine(y - 1), rowBytes) == 0)
                continue;
            quint32 last = ~(line[0] | alwaysSet); // differs from the first pixel
            for (int x = 0; x < width; ++x) {
                const quint32 p = line[x] | alwaysSet;
                if (p == last)
                    continue;
                last = p;
                ++m_changes;
                alphas &= p;
                m_partlyClear = m_partlyClear || partlyClear(p);
                m_grey = m_grey && isGrey(p);
                if (m_colours.size() <= size_t(MaxColours))
                    insert(p);
            }
            m_opaque = (alphas & 0xff000000u) == 0xff000000u;
            m_examined += quint64(width);
        }
    }

    // Whether a pixel differs from its left neighbour in more than a quarter of the rows looked
    // at, as in photos and sideways gradients; drawn cards hold runs of one colour (one in 25).
    bool busy() const { return m_changes * 4 > m_examined; }

    bool opaque() const { return m_opaque; }
    bool anyPartlyClear() const { return m_partlyClear; }
    bool grey() const { return m_grey; }
    bool fewColours() const { return m_colours.size() <= size_t(MaxColours); }
    const std::vector<quint32> &colours() const { return m_colours; }

    // Puts the colours in the given order (a permutation of the indices).
    void reorder(const std::vector<int> &newIndexOf)
    {
        std::vector<quint32> colours(m_colours.size());
        for (size_t i = 0; i < m_colours.size(); ++i)
            colours[size_t(newIndexOf[i])] = m_colours[i];
        m_colours.swap(colours);
        for (int16_t &index : m_index)
            if (index >= 0)
                index = int16_t(newIndexOf[size_t(index)]);
    }

private:
    static constexpr quint32 Slots = 1024; // at most 257 used: probes stay short
    static quint32 hash(quint32 p) { return (p * 0x9E3779B1u) >> 22; }

    // Nothing more to learn: too many colours, not grey, not opaque, with partly clear pixels.
    bool settled() const { return !fewColours() && !m_grey && !m_opaque && m_partlyClear; }

    void insert(quint32 p)
    {
        quint32 slot = hash(p);
        while (m_index[slot] >= 0) {
            if (m_keys[slot] == p)
                return;
            slot = (slot + 1) & (Slots - 1);
        }
        m_keys[slot] = p;
        m_index[slot] = int16_t(m_colours.size());
        m_colours.push_back(p);
    }

    std::array<quint32, Slots> m_keys{};
    std::array<int16_t, Slots> m_index{};
    std::vector<quint32> m_colours;
    quint64 m_changes = 0;  // pixels unlike their left neighbour
    quint64 m_examined = 0; // pixels of the rows looked at
    bool m_grey = true;
    bool m_opaque = true;
    bool m_partlyClear = false;
};

// The smallest colour type that holds the pixels exactly, and the bits each sample takes.
struct ColourPlan {
    int colourType = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    int bitDepth = 8;
    int channels = 4; // bytes a pixel at 8 bits
    bool premultiplied = false;
};

// Bits a grey sample needs when every grey level is a multiple of 255 / (2^bits - 1).
int greyBits(const std::vector<quint32> &colours)
{
    int bits = 1;
    for (const quint32 p : colours) {
        const int v = int(p & 0xffu);
        while (bits < 8 && v % (255 / ((1 << bits) - 1)) != 0)
            bits *= 2;
    }
    return bits;
}

int indexBits(size_t count)
{
    return count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8;
}

ColourPlan planFor(ColourCensus &census, bool premultiplied)
{
    ColourPlan plan;
    plan.premultiplied = premultiplied;
    if (census.opaque() && census.grey()) { // never more than 256 greys
        const int grey = greyBits(census.colours());
        const int indexed = indexBits(census.colours().size());
        if (grey <= indexed) {
            plan.colourType = SPNG_COLOR_TYPE_GRAYSCALE;
            plan.bitDepth = grey;
            plan.channels = 1;
            return plan;
        }
    }
    if (census.fewColours()) {
        // Partly clear colours first, so the transparency chunk lists only them.
        const std::vector<quint32> &colours = census.colours();
        std::vector<int> order(colours.size());
        int next = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (size_t i = 0; i < colours.size(); ++i)
                if ((colours[i] >> 24 != 0xffu) == (pass == 0))
                    order[i] = next++;
        census.reorder(order);
        plan.colourType = SPNG_COLOR_TYPE_INDEXED;
        plan.bitDepth = indexBits(colours.size());
        plan.channels = 1;
        return plan;
    }
    if (census.grey()) {
        plan.colourType = SPNG_COLOR_TYPE_GRAYSCALE_ALPHA;
        plan.channels = 2;
        return plan;
    }
    plan.colourType = census.opaque() ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    plan.channels = census.opaque() ? 3 : 4;
    return plan;
}

inline quint32 straight(quint32 p, bool premultiplied)
{
    return premultiplied && partlyClear(p) ? qUnpremultiply(p) : p;
}

// Samples of fewer than 8 bits, packed from the left of each byte: whole bytes in fixed loops the
// compiler unrolls, then the row's last, partly filled byte.
template <int Bits> void packBitsOf(const uchar *__restrict samples, int width, uchar *__restrict to)
{
    constexpr int PerByte = 8 / Bits;
    const int whole = width / PerByte;
    for (int b = 0; b < whole; ++b) {
        unsigned byte = 0;
        for (int i = 0; i < PerByte; ++i)
            byte = (byte << Bits) | samples[b * PerByte + i];
        to[b] = uchar(byte);
    }
    if (const int rest = width - whole * PerByte) {
        unsigned byte = 0;
        for (int i = 0; i < rest; ++i)
            byte = (byte << Bits) | samples[whole * PerByte + i];
        to[whole] = uchar(byte << (Bits * (PerByte - rest)));
    }
}

void packBits(const uchar *samples, int width, int bits, uchar *to)
{
    if (bits == 1)
        packBitsOf<1>(samples, width, to);
    else if (bits == 2)
        packBitsOf<2>(samples, width, to);
    else
        packBitsOf<4>(samples, width, to);
}

// Branch-free loops the compiler turns into vector code: a card row is packed in a small part of
// the time deflate takes for it.
void packRgb(const quint32 *__restrict pixels, int width, uchar *__restrict to)
{
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
}

// Fully opaque and fully clear pixels are the same premultiplied or not; only the edges of shapes
// and text need alpha taken out again.
void packRgba(const quint32 *__restrict pixels, int width, bool premultiplied, uchar *__restrict to)
{
    auto *__restrict words = reinterpret_cast<quint32 *>(to);
    unsigned partial = 0;
    for (int x = 0; x < width; ++x) {
        const quint32 p = pixels[x];
        words[x] = swapRedBlue(p);
        partial |= partlyClear(p);
    }
    if (!premultiplied || !partial)
        return;
    for (int x = 0; x < width; ++x)
        if (partlyClear(pixels[x]))
            words[x] = swapRedBlue(qUnpremultiply(pixels[x]));
}

// One row of the picture in the plan's layout; `samples` holds a byte a pixel for packing.
void packRow(const ColourPlan &plan, const ColourCensus &census, quint32 alwaysSet, const quint32 *pixels,
             int width, uchar *samples, uchar *to)
{
    switch (plan.colourType) {
    case SPNG_COLOR_TYPE_TRUECOLOR:
        packRgb(pixels, width, to);
        return;
    case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
        packRgba(pixels, width, plan.premultiplied, to);
        return;
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
        for (int x = 0; x < width; ++x) {
            const quint32 p = straight(pixels[x], plan.premultiplied);
            to[2 * x] = uchar(p);
            to[2 * x + 1] = uchar(p >> 24);
        }
        return;
    case SPNG_COLOR_TYPE_GRAYSCALE: {
        uchar *grey = plan.bitDepth == 8 ? to : samples;
        for (int x = 0; x < width; ++x)
            grey[x] = uchar((pixels[x] & 0xffu) >> (8 - plan.bitDepth));
        if (plan.bitDepth < 8)
            packBits(samples, width, plan.bitDepth, to);
        return;
    }
    default: { // indexed
        uchar *indices = plan.bitDepth == 8 ? to : samples;
        quint32 last = ~(pixels[0] | alwaysSet);
        uchar index = 0;
        for (int x = 0; x < width; ++x) {
            const quint32 p = pixels[x] | alwaysSet;
            if (p != last) {
                last = p;
                index = uchar(census.indexOf(p));
            }
            indices[x] = index;
        }
        if (plan.bitDepth < 8)
            packBits(samples, width, plan.bitDepth, to);
        return;
    }
    }
}

// The chunks before the pixels: the header, the palette with its alpha, and the resolution.
int writeHeader(spng_ctx *ctx, const QImage &pixels, const ColourPlan &plan, const ColourCensus &census,
                double dpi)
{
    spng_ihdr ihdr = {};
    ihdr.width = quint32(pixels.width());
    ihdr.height = quint32(pixels.height());
    ihdr.bit_depth = uint8_t(plan.bitDepth);
    ihdr.color_type = uint8_t(plan.colourType);
    int rc = spng_set_ihdr(ctx, &ihdr);
    if (rc)
        return rc;

    if (plan.colourType == SPNG_COLOR_TYPE_INDEXED) {
        spng_plte plte = {};
        spng_trns trns = {};
        const std::vector<quint32> &colours = census.colours();
        plte.n_entries = quint32(colours.size());
        for (size_t i = 0; i < colours.size(); ++i) {
            const quint32 p = straight(colours[i], plan.premultiplied);
            plte.entries[i] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 255};
            if (p >> 24 != 0xffu)
                trns.type3_alpha[trns.n_type3_entries++] = uint8_t(p >> 24);
        }
        rc = spng_set_plte(ctx, &plte);
        if (!rc && trns.n_type3_entries > 0)
            rc = spng_set_trns(ctx, &trns);
        if (rc)
            return rc;
    }

    if (dpi > 0) {
        spng_phys phys = {};
        const auto perMetre = quint32(std::lround(dpi / 0.0254));
        phys.ppu_x = perMetre;
        phys.ppu_y = perMetre;
        phys.unit_specifier = 1;
        spng_set_phys(ctx, &phys);
    }
    return 0;
}

// The pixels, packed and handed over row by row: SPNG_EOI after the last one, or the error.
int writeRows(spng_ctx *ctx, const QImage &pixels, const ColourPlan &plan, const ColourCensus &census,
              quint32 alwaysSet)
{
    const int width = pixels.width();
    const size_t rowBytes = (size_t(width) * size_t(plan.channels) * size_t(plan.bitDepth) + 7) / 8;
    // The packed row and the samples before bit packing live as long as the worker does; words,
    // so that a row is aligned for them.
    thread_local std::vector<quint32> packed;
    thread_local std::vector<uchar> samples;
    if (packed.size() < size_t(width))
        packed.resize(size_t(width));
    if (plan.bitDepth < 8 && samples.size() < size_t(width))
        samples.resize(size_t(width));
    int rc = spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    if (rc)
        return rc;
    auto *row = reinterpret_cast<uchar *>(packed.data());
    const size_t sourceBytes = size_t(width) * 4;
    for (int y = 0; y < pixels.height(); ++y) {
        // A row like the one above is packed as that one was, and still lies packed.
        const uchar *source = pixels.constScanLine(y);
        if (y == 0 || std::memcmp(source, pixels.constScanLine(y - 1), sourceBytes) != 0)
            packRow(plan, census, alwaysSet, reinterpret_cast<const quint32 *>(source), width, samples.data(),
                    row);
        rc = spng_encode_row(ctx, row, rowBytes);
        if (rc && rc != SPNG_EOI)
            return rc;
    }
    return rc;
}

// Qt's conversions and drawing run AVX code on this thread that can leave the upper halves of the
// vector registers marked in use; zlib's SSE loops that follow then ran at half speed (deflating
// a card took twice as long right after Qt converted its pixels here). Clearing them costs nothing.
inline void clearVectorUpperHalves()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        // Every vector register is named: the compiler keeps no value in one across this.
        asm volatile("vzeroupper" ::
                         : "memory", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8",
                           "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
}

// The image in another format, converted on the calling thread. Qt hands a conversion of 65,536
// pixels or more to its global pool of threads, where every export worker's cards queued one
// behind another (and a one-thread export spread over all cores). Qt converts row by row, so
// bands small enough for Qt to keep converting here give the very pixels of one whole conversion.
QImage convertedHere(const QImage &image, QImage::Format format)
{
    const int width = image.width(), height = image.height();
    QImage out(width, height, format);
    if (out.isNull())
        return out;
    const int band = std::max(1, 65535 / std::max(1, width));
    for (int y = 0; y < height; y += band) {
        const int rows = std::min(band, height - y);
        QImage part(image.constScanLine(y), width, rows, image.bytesPerLine(), image.format());
        if (image.colorCount() > 0)
            part.setColorTable(image.colorTable());
        const QImage done = part.convertToFormat(format);
        if (done.isNull())
            return {};
        const size_t bytes = size_t(std::min(done.bytesPerLine(), out.bytesPerLine()));
        for (int r = 0; r < rows; ++r)
            std::memcpy(out.scanLine(y + r), done.constScanLine(r), bytes);
    }
    return out;
}
} // namespace

bool PngEncoder::isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return isOpaque(convertedHere(image, QImage::Format_ARGB32_Premultiplied));
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

    // Cards are drawn in 32-bit pixels and read as they are; anything else is converted first.
    const QImage::Format format = image.format();
    const bool native = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                        format == QImage::Format_ARGB32_Premultiplied;
    QImage pixels =
        native ? image
               : convertedHere(image, image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (pixels.isNull())
        return fail(QStringLiteral("Not enough memory to encode the image."));
    const quint32 alwaysSet = pixels.format() == QImage::Format_RGB32 ? 0xff000000u : 0u;

    auto census = std::make_unique<ColourCensus>();
    census->take(pixels, alwaysSet);
    // Partly clear premultiplied pixels are taken back to straight alpha by Qt's own conversion,
    // whose rounding differs from pixel to pixel (its vector road and its tail): so that a reader
    // gets the very pixels Qt gives for the picture. Cards drawn opaque or with hard edges skip it.
    if (pixels.format() == QImage::Format_ARGB32_Premultiplied && census->anyPartlyClear()) {
        pixels = convertedHere(pixels, QImage::Format_ARGB32);
        if (pixels.isNull())
            return fail(QStringLiteral("Not enough memory to encode the image."));
        census = std::make_unique<ColourCensus>();
        census->take(pixels, 0);
    }
    const ColourPlan plan = planFor(*census, pixels.format() == QImage::Format_ARGB32_Premultiplied);

    std::unique_ptr<spng_ctx, CtxDeleter> ctx(spng_ctx_new2(&cachedAllocation, SPNG_CTX_ENCODER));
    if (!ctx)
        return fail(QStringLiteral("Not enough memory to encode the image."));
    int rc = spng_set_png_stream(ctx.get(), appendTo, &out);
    if (rc)
        return fail(spngError(rc));
    // Palette indices and samples of under 8 bits are never filtered: their bytes are not amounts
    // that differences could shrink. For 8-bit grey, RGB and RGBA the filters were measured on
    // card pictures (bars and text on white, a gradient page with a picture, text on a clear page,
    // a shipped template): trying every filter per row took 2 to 4 times as long and gave files no
    // smaller, "up" alone or "up" with run-length matching was slower and mostly larger, so their
    // rows go unfiltered as well, deflated at a low level (one kind of grey excepted, below).
    spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 3);
    // Photos are the exception: each sample taken from its left neighbour's and the differences
    // deflated as runs (zlib's Z_RLE) encoded the photo card's RGBA in about three quarters of the
    // time, in about half the bytes (430 KB against 809 KB); "up" or Paeth were slower.
    const bool fullColour =
        plan.colourType == SPNG_COLOR_TYPE_TRUECOLOR || plan.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    // One-channel 8-bit grey (bars and smoothed text on an opaque page, a barcode picture above
    // all) takes each row's differences from the row above, deflated as runs: a row like the one
    // above becomes one run of zeros. Code 128 pictures deflated in 55-70 % of the time into
    // 10 % fewer bytes, grey text cards in about the time into a quarter fewer bytes.
    const bool greyBytes = plan.colourType == SPNG_COLOR_TYPE_GRAYSCALE && plan.bitDepth == 8;
    if (fullColour && census->busy()) {
        spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_SUB);
        spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_STRATEGY, Z_RLE);
    } else if (greyBytes) {
        spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
        spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_STRATEGY, Z_RLE);
    } else {
        spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);
    }

    rc = writeHeader(ctx.get(), pixels, plan, *census, dpi);
    if (rc)
        return fail(spngError(rc));
    clearVectorUpperHalves();
    rc = writeRows(ctx.get(), pixels, plan, *census, alwaysSet);
    if (rc != SPNG_EOI)
        return fail(rc ? spngError(rc) : QStringLiteral("The image could not be encoded."));
    lastSize = out.size();
    return true;
}
