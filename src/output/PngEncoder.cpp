#include "output/PngEncoder.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

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

// PNG colour types and row filters.
constexpr int GreyType = 0, RgbType = 2, IndexedType = 3, GreyAlphaType = 4, RgbaType = 6;
constexpr uchar NoFilter = 0, SubFilter = 1, UpFilter = 2;

// ISA-L's deflate state and the buffer its fast level works in, kept by the thread: made anew for
// every card they were faulted in again each time.
class Deflater
{
public:
    Deflater() : m_buffer(ISAL_DEF_LVL1_DEFAULT) {}

    // A stream at the fast level that writes the zlib stream's header and checksum itself, or null
    // when its memory could not be had.
    static isal_zstream *start()
    {
        thread_local std::unique_ptr<Deflater> mine;
        if (!mine) {
            try {
                mine = std::make_unique<Deflater>();
            } catch (const std::bad_alloc &) {
                return nullptr;
            }
        }
        isal_zstream &s = mine->m_stream;
        isal_deflate_init(&s);
        s.level = 1;
        s.level_buf = mine->m_buffer.data();
        s.level_buf_size = uint32_t(mine->m_buffer.size());
        s.gzip_flag = IGZIP_ZLIB;
        s.flush = NO_FLUSH;
        return &s;
    }

private:
    isal_zstream m_stream{};
    std::vector<uint8_t> m_buffer;
};

void appendWord(QByteArray &out, quint32 v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

// A chunk: its length, type, data and the CRC of type and data.
void appendChunk(QByteArray &out, const char *type, const uchar *data, size_t length)
{
    appendWord(out, quint32(length));
    out.append(type, 4);
    if (length)
        out.append(reinterpret_cast<const char *>(data), qsizetype(length));
    quint32 crc = crc32_gzip_refl(0, reinterpret_cast<const uchar *>(type), 4);
    if (length)
        crc = crc32_gzip_refl(crc, data, length);
    appendWord(out, crc);
}

// The deflated pixels, written as IDAT chunks each time the buffer fills.
class IdatWriter
{
public:
    explicit IdatWriter(QByteArray &out)
        : m_stream(Deflater::start()), m_out(out), m_buffer(buffer()), m_pending(gathered())
    {
        m_next = m_buffer.data();
        m_room = Capacity;
    }

    // False when the deflater's state could not be made.
    bool ready() const { return m_stream != nullptr; }

    // Rows are gathered and handed to the deflater in large pieces: a call of deflate for each
    // filter byte and each row cost more than the deflating of a barcode's repeated rows.
    bool write(const uchar *data, size_t length)
    {
        if (m_pending.size() + length > Gather && !m_pending.empty() && !feed(false))
            return false;
        if (length > Gather)
            return feed(data, length, false);
        m_pending.insert(m_pending.end(), data, data + length);
        return true;
    }

    bool finish()
    {
        if (!feed(true))
            return false;
        flushChunk();
        return true;
    }

private:
    static constexpr uint32_t Capacity = 1u << 16;

    static constexpr size_t Gather = 1u << 15;

    static std::vector<uchar> &buffer()
    {
        thread_local std::vector<uchar> kept(Capacity);
        return kept;
    }
    static std::vector<uchar> &gathered()
    {
        thread_local std::vector<uchar> kept;
        kept.clear();
        kept.reserve(Gather);
        return kept;
    }

    // The gathered rows, deflated and let go.
    bool feed(bool last)
    {
        const bool ok = feed(m_pending.data(), m_pending.size(), last);
        m_pending.clear();
        return ok;
    }

    bool feed(const uchar *data, size_t length, bool last)
    {
        m_stream->next_in = const_cast<uint8_t *>(data);
        m_stream->avail_in = uint32_t(length);
        m_stream->end_of_stream = last ? 1 : 0;
        for (;;) {
            if (m_room == 0)
                flushChunk();
            m_stream->next_out = m_next;
            m_stream->avail_out = m_room;
            const int rc = isal_deflate(m_stream);
            m_next = m_stream->next_out;
            m_room = m_stream->avail_out;
            if (rc != COMP_OK)
                return false;
            if (last ? m_stream->internal_state.state == ZSTATE_END : m_stream->avail_in == 0)
                return true;
        }
    }

    void flushChunk()
    {
        const size_t used = Capacity - m_room;
        if (used)
            appendChunk(m_out, "IDAT", m_buffer.data(), used);
        m_next = m_buffer.data();
        m_room = Capacity;
    }

    isal_zstream *m_stream;
    uchar *m_next = nullptr; // where the deflated bytes go on in m_buffer
    uint32_t m_room = 0;     // bytes left there
    QByteArray &m_out;
    std::vector<uchar> &m_buffer;  // the thread's own
    std::vector<uchar> &m_pending; // rows not yet given to the deflater, the thread's own
};

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
        m_repeated.assign(size_t(height), 0);
        m_rowsSeen = 0;
        for (int y = 0; y < height && !settled(); ++y) {
            m_rowsSeen = y + 1;
            const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
            // Bars, modules and flat areas repeat a row many times over: a row like the one above
            // holds no colour that was not counted.
            if (y > 0 && std::memcmp(line, image.constScanLine(y - 1), rowBytes) == 0) {
                m_repeated[size_t(y)] = 1;
                continue;
            }
            quint32 last = ~(line[0] | alwaysSet); // differs from the first pixel
            // Counted in locals: kept in the object, every pixel of smoothed text waited for the
            // last one's stores.
            quint64 changes = 0;
            bool partly = m_partlyClear, grey = m_grey, few = fewColours();
            for (int x = 0; x < width; ++x) {
                const quint32 p = line[x] | alwaysSet;
                if (p == last)
                    continue;
                last = p;
                ++changes;
                alphas &= p;
                partly |= partlyClear(p);
                grey &= isGrey(p);
                if (few) {
                    insert(p);
                    few = fewColours();
                }
            }
            m_changes += changes;
            m_partlyClear = partly;
            m_grey = grey;
            m_opaque = (alphas & 0xff000000u) == 0xff000000u;
            m_examined += quint64(width);
        }
    }

    // Whether a pixel differs from its left neighbour in more than a quarter of the rows looked
    // at, as in photos and sideways gradients; drawn cards hold runs of one colour (one in 25).
    bool busy() const { return m_changes * 4 > m_examined; }

    // Whether row y of the picture taken is the same as the row above: read from the pass over
    // the rows where it went that far, else compared.
    bool repeatedRow(const QImage &image, int y) const
    {
        if (y < m_rowsSeen)
            return m_repeated[size_t(y)] != 0;
        return y > 0 && std::memcmp(image.constScanLine(y), image.constScanLine(y - 1),
                                    size_t(image.width()) * 4) == 0;
    }

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
    std::vector<uchar> m_repeated; // per row: the same as the row above
    int m_rowsSeen = 0;            // rows the pass went over
    quint64 m_changes = 0;         // pixels unlike their left neighbour
    quint64 m_examined = 0;        // pixels of the rows looked at
    bool m_grey = true;
    bool m_opaque = true;
    bool m_partlyClear = false;
};

// The smallest colour type that holds the pixels exactly, and the bits each sample takes.
struct ColourPlan {
    int colourType = RgbaType;
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
            plan.colourType = GreyType;
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
        plan.colourType = IndexedType;
        plan.bitDepth = indexBits(colours.size());
        plan.channels = 1;
        return plan;
    }
    if (census.grey()) {
        plan.colourType = GreyAlphaType;
        plan.channels = 2;
        return plan;
    }
    plan.colourType = census.opaque() ? RgbType : RgbaType;
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
    case RgbType:
        packRgb(pixels, width, to);
        return;
    case RgbaType:
        packRgba(pixels, width, plan.premultiplied, to);
        return;
    case GreyAlphaType:
        for (int x = 0; x < width; ++x) {
            const quint32 p = straight(pixels[x], plan.premultiplied);
            to[2 * x] = uchar(p);
            to[2 * x + 1] = uchar(p >> 24);
        }
        return;
    case GreyType: {
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

// The signature and the chunks before the pixels: the header, the palette with its alpha, and
// the resolution.
void writeHeader(QByteArray &out, const QImage &pixels, const ColourPlan &plan, const ColourCensus &census,
                 double dpi)
{
    static const char signature[8] = {char(0x89), 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out.append(signature, 8);
    uchar ihdr[13] = {};
    const quint32 size[2] = {quint32(pixels.width()), quint32(pixels.height())};
    for (int i = 0; i < 8; ++i)
        ihdr[i] = uchar(size[i / 4] >> (24 - 8 * (i % 4)));
    ihdr[8] = uchar(plan.bitDepth);
    ihdr[9] = uchar(plan.colourType); // then deflate, adaptive filtering, no interlace: all 0
    appendChunk(out, "IHDR", ihdr, sizeof ihdr);

    if (plan.colourType == IndexedType) {
        const std::vector<quint32> &colours = census.colours();
        std::vector<uchar> plte, trns;
        for (const quint32 colour : colours) {
            const quint32 p = straight(colour, plan.premultiplied);
            plte.insert(plte.end(), {uchar(p >> 16), uchar(p >> 8), uchar(p)});
            if (p >> 24 != 0xffu) // partly clear colours come first
                trns.push_back(uchar(p >> 24));
        }
        appendChunk(out, "PLTE", plte.data(), plte.size());
        if (!trns.empty())
            appendChunk(out, "tRNS", trns.data(), trns.size());
    }

    if (dpi > 0) {
        const auto perMetre = quint32(std::lround(dpi / 0.0254));
        uchar phys[9];
        for (int i = 0; i < 8; ++i)
            phys[i] = uchar(perMetre >> (24 - 8 * (i % 4)));
        phys[8] = 1; // per metre
        appendChunk(out, "pHYs", phys, sizeof phys);
    }
}

// Each byte of row less the byte of `from` at the same place (for "sub" the row itself a pixel
// back, for "up" the row above), in a loop the compiler turns into vector code.
void subtract(const uchar *__restrict row, const uchar *__restrict from, size_t length, uchar *__restrict to)
{
    for (size_t i = 0; i < length; ++i)
        to[i] = uchar(row[i] - from[i]);
}

// The pixels, packed, filtered and deflated row by row. False when deflating fails.
bool writeRows(IdatWriter &idat, const QImage &pixels, const ColourPlan &plan, const ColourCensus &census,
               quint32 alwaysSet, uchar filter)
{
    const int width = pixels.width();
    const size_t rowBytes = (size_t(width) * size_t(plan.channels) * size_t(plan.bitDepth) + 7) / 8;
    // Packed rows (this one and the last), the filtered row and the samples before bit packing
    // live as long as the worker does; words, so that a row is aligned for them.
    thread_local std::vector<quint32> packed, last;
    thread_local std::vector<uchar> filtered, samples;
    const size_t words = (rowBytes + 3) / 4;
    if (packed.size() < words)
        packed.resize(words);
    if (filter == UpFilter)
        last.assign(words, 0); // the row above the first is zeros
    if (filter != NoFilter && filtered.size() < rowBytes)
        filtered.resize(rowBytes);
    if (plan.bitDepth < 8 && samples.size() < size_t(width))
        samples.resize(size_t(width));
    auto *row = reinterpret_cast<uchar *>(packed.data());
    const uchar *sent = filter == NoFilter ? row : filtered.data();
    bool zeros = false; // whether the filtered row holds zeros alone
    for (int y = 0; y < pixels.height(); ++y) {
        // A row like the one above is packed and filtered as that one was, and still lies so;
        // its differences from the row above are zeros.
        const uchar *source = pixels.constScanLine(y);
        const bool repeated = census.repeatedRow(pixels, y);
        if (repeated && filter == UpFilter) {
            if (!zeros)
                std::memset(filtered.data(), 0, rowBytes);
            zeros = true;
        } else if (!repeated) {
            zeros = false;
            packRow(plan, census, alwaysSet, reinterpret_cast<const quint32 *>(source), width, samples.data(),
                    row);
            if (filter == SubFilter) {
                const size_t back = size_t(plan.channels);
                std::memcpy(filtered.data(), row, std::min(back, rowBytes));
                if (rowBytes > back)
                    subtract(row + back, row, rowBytes - back, filtered.data() + back);
            } else if (filter == UpFilter) {
                subtract(row, reinterpret_cast<const uchar *>(last.data()), rowBytes, filtered.data());
                packed.swap(last);
                row = reinterpret_cast<uchar *>(packed.data());
            }
        }
        if (!idat.write(&filter, 1) || !idat.write(sent, rowBytes))
            return false;
    }
    return idat.finish();
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

    // Palette indices and samples of under 8 bits are never filtered: their bytes are not amounts
    // that differences could shrink. For 8-bit grey, RGB and RGBA the filters were measured on
    // card pictures (bars and text on white, a gradient page with a picture, text on a clear page,
    // a shipped template): trying every filter per row took 2 to 4 times as long and gave files no
    // smaller, "up" alone or "up" with run-length matching was slower and mostly larger, so their
    // rows go unfiltered as well (two kinds excepted, below).
    // Every picture is deflated by ISA-L's fast level. Against zlib's level 3 it deflated a drawn
    // card in under half the time into about a quarter more bytes, a photo in a third to a half
    // of the time into up to an eighth more; libdeflate (levels 1 to 6) was slower than both.
    uchar filter = NoFilter;
    // Photos: each sample taken from its left neighbour's; "up" or Paeth were slower.
    const bool fullColour = plan.colourType == RgbType || plan.colourType == RgbaType;
    // One-channel 8-bit grey (bars and smoothed text on an opaque page, a barcode picture above
    // all) takes each row's differences from the row above: a row like the one above becomes one
    // run of zeros. Unfiltered, a Code 128 picture took half again the time and twice the bytes.
    const bool greyBytes = plan.colourType == GreyType && plan.bitDepth == 8;
    if (fullColour && census->busy())
        filter = SubFilter;
    else if (greyBytes)
        filter = UpFilter;

    writeHeader(out, pixels, plan, *census, dpi);
    IdatWriter idat(out);
    if (!idat.ready())
        return fail(QStringLiteral("Not enough memory to encode the image."));
    if (!writeRows(idat, pixels, plan, *census, alwaysSet, filter))
        return fail(QStringLiteral("The image could not be encoded."));
    appendChunk(out, "IEND", nullptr, 0);
    lastSize = out.size();
    return true;
}
