#include "barcode/BarcodeText.h"

#include "platform/FontCoverage.h"
#include "platform/FontResolver.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

#include <cmath>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace
{

// Fonts are laid out at a large pixel size and scaled down: whole-pixel sizes and hinting at
// small sizes would otherwise make widths depend on the size in steps.
constexpr double kReferencePixels = 1000.0;

QFont referenceFont(const FontDescriptor &font, double kern)
{
    QFont f = BarcodeText::resolve(font);
    f.setPixelSize(int(kReferencePixels));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    const double scale = kReferencePixels / std::max(font.size, 0.01);
    if (kern != 0.0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, kern * scale);
    return f;
}

double scaleOf(const FontDescriptor &font)
{
    return std::max(font.size, 0.01) / kReferencePixels;
}

// The layout's text on one line at the reference size, the characters its font lacks in the faces
// given (FontCoverage), so that every script shows.
QTextLine layOutLine(QTextLayout &layout, const QList<QTextLayout::FormatRange> &faces)
{
    layout.setFormats(faces);
    // Kept past endLayout: the glyph runs taken after it would shape the text again.
    layout.setCacheEnabled(true);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line;
}

// The outline of a laid-out line, baseline at (0, 0), at the reference size.
QPainterPath outlineOf(const QTextLine &line)
{
    QPainterPath path;
    for (const QGlyphRun &run : line.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < at.size(); ++i)
            path.addPath(raw.pathForGlyph(glyphs[i]).translated(at[i].x(), at[i].y() - line.ascent()));
    }
    return path;
}

// One glyph of a laid-out text: its face (a number given by GlyphStore), its index in the face,
// and where its origin lies at the reference size, the text's baseline at y = 0.
struct PlacedGlyph {
    int face = 0;
    quint32 glyph = 0;
    QPointF at;
};

// Glyph outlines at the reference size and glyph images in device pixels, as one thread has made
// them: a batch of barcodes draws the same few glyphs at one size over and over, and filling an
// outline costs a hundred times copying its pixels. Images and paths only, no fonts.
class GlyphStore
{
public:
    struct Image {
        QImage pixels; // premultiplied, the glyph filled in its colour
        QPoint at;     // its top-left corner from the glyph's origin pixel
    };
    static constexpr int kPhases = 16; // glyph origins are placed to 1/16 of a pixel

    static GlyphStore &local()
    {
        thread_local GlyphStore store;
        return store;
    }

    // The face's number, its glyph's outline kept from raw.
    int faceOf(const QRawFont &raw)
    {
        const QString name = raw.familyName() + QLatin1Char('\n') + raw.styleName() + QLatin1Char('\n') +
                             QString::number(raw.weight()) + QLatin1Char('/') +
                             QString::number(int(raw.style()));
        for (size_t i = 0; i < m_faces.size(); ++i)
            if (m_faces[i] == name)
                return int(i);
        m_faces.push_back(name);
        return int(m_faces.size()) - 1;
    }
    // Counts the times the outlines were let go: glyphs placed before then have none here.
    int generation() const { return m_generation; }
    // Outlines of many glyphs (a batch of names in a large script) are let go at a bound.
    void makeRoom()
    {
        if (m_paths.size() < kPaths)
            return;
        m_paths.clear();
        m_images.clear();
        m_bytes = 0;
        ++m_generation;
    }
    // The box of a kept outline at the reference size, null where none is kept or it is empty.
    QRectF bounds(int face, quint32 glyph) const
    {
        const auto found = m_paths.find(std::make_pair(face, glyph));
        return found == m_paths.end() ? QRectF() : found->second.boundingRect();
    }
    void keepOutline(int face, quint32 glyph, const QRawFont &raw)
    {
        const auto key = std::make_pair(face, glyph);
        if (m_paths.find(key) != m_paths.end())
            return;
        // Contours of a glyph and of overlapping glyphs add up, as a font's renderer fills them.
        QPainterPath path = raw.pathForGlyph(glyph);
        path.setFillRule(Qt::WindingFill);
        m_paths.emplace(key, std::move(path));
    }

    // The glyph filled at scale (kx, ky) from the reference size, its origin moved by the phases.
    const Image &image(const PlacedGlyph &g, double kx, double ky, int phaseX, int phaseY, QRgb color,
                       bool antialiased)
    {
        const auto key = std::make_tuple(g.face, g.glyph, kx, ky, phaseX, phaseY, color, antialiased);
        const auto found = m_images.find(key);
        if (found != m_images.end())
            return found->second;
        if (m_bytes > kBytes) {
            m_images.clear();
            m_bytes = 0;
        }
        Image made;
        const auto path = m_paths.find(std::make_pair(g.face, g.glyph));
        if (path != m_paths.end() && !path->second.isEmpty()) {
            const QPainterPath glyph =
                QTransform(kx, 0, 0, ky, double(phaseX) / kPhases, double(phaseY) / kPhases)
                    .map(path->second);
            const QRect box = glyph.controlPointRect().toAlignedRect().adjusted(-1, -1, 1, 1);
            made.at = box.topLeft();
            made.pixels = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
            made.pixels.fill(Qt::transparent);
            QPainter p(&made.pixels);
            p.setRenderHint(QPainter::Antialiasing, antialiased);
            p.translate(-box.topLeft());
            p.fillPath(glyph, QColor::fromRgba(color));
            m_bytes += size_t(made.pixels.sizeInBytes());
        }
        return m_images.emplace(key, std::move(made)).first->second;
    }

private:
    static constexpr size_t kBytes = 8u << 20;
    static constexpr size_t kPaths = 4096;
    int m_generation = 0;
    std::vector<QString> m_faces;
    std::map<std::pair<int, quint32>, QPainterPath> m_paths;
    std::map<std::tuple<int, quint32, double, double, int, int, QRgb, bool>, Image> m_images;
    size_t m_bytes = 0;
};

// The glyphs of a laid-out line, their outlines kept in the thread's GlyphStore.
std::vector<PlacedGlyph> placedGlyphs(const QTextLine &line)
{
    GlyphStore &store = GlyphStore::local();
    store.makeRoom();
    std::vector<PlacedGlyph> out;
    for (const QGlyphRun &run : line.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const int face = store.faceOf(raw);
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < at.size(); ++i) {
            store.keepOutline(face, glyphs[i], raw);
            out.push_back({face, glyphs[i], QPointF(at[i].x(), at[i].y() - line.ascent())});
        }
    }
    return out;
}

// What one thread has measured and outlined lately, per font and letter spacing. A batch draws the
// same fonts on every card, and the same header and footer: making a font, its metrics and a
// layout again each time cost more than the rest of the barcode. Only numbers and paths are
// kept (no fonts), so the caches can go whenever their thread ends, even after the application.
class TextCache
{
public:
    struct Entry {
        QString name;
        double size = 0;
        double kern = 0;
        double ascent = 0, descent = 0, capHeight = 0, height = 0; // points
        // The latest texts: their widths in points with their glyphs (one layout gives both), and
        // their outlines with the baseline at (0, 0).
        struct Shaped {
            double width = 0;
            std::vector<PlacedGlyph> glyphs;
            int generation = 0; // of the GlyphStore holding the glyphs' outlines
        };
        std::vector<std::pair<QString, Shaped>> shaped;
        std::vector<std::pair<QString, QPainterPath>> outlines;
    };

    static Entry &entryFor(const FontDescriptor &font, double kern)
    {
        thread_local TextCache cache;
        for (Entry &e : cache.m_entries)
            if (e.size == font.size && e.kern == kern && e.name == font.postScriptName)
                return e;
        if (cache.m_entries.size() >= kFonts)
            cache.m_entries.clear();
        Entry &e = cache.m_entries.emplace_back();
        e.name = font.postScriptName;
        e.size = font.size;
        e.kern = kern;
        const QFontMetricsF m(referenceFont(font, kern));
        const double s = scaleOf(font);
        e.ascent = m.ascent() * s;
        e.descent = m.descent() * s;
        e.capHeight = m.capHeight() * s;
        e.height = m.height() * s;
        return e;
    }

    // The value kept for text, or one made and kept in place of the oldest.
    template <typename T, typename Make>
    static const T &remember(std::vector<std::pair<QString, T>> &kept, const QString &text, Make make)
    {
        for (const auto &k : kept)
            if (k.first == text)
                return k.second;
        if (kept.size() >= kTexts)
            kept.erase(kept.begin());
        kept.emplace_back(text, make());
        return kept.back().second;
    }

private:
    static constexpr size_t kFonts = 16;
    static constexpr size_t kTexts = 8;
    std::vector<Entry> m_entries;
};

// The text's width and glyphs from the thread's cache, laid out once for both.
const TextCache::Entry::Shaped &shapedText(TextCache::Entry &e, const QString &text,
                                           const FontDescriptor &font, double kern)
{
    return TextCache::remember(e.shaped, text, [&] {
        const QFont reference = referenceFont(font, kern);
        const QList<QTextLayout::FormatRange> faces = FontCoverage::fallbackRanges(text, reference);
        QTextLayout layout(text, reference);
        const QTextLine line = layOutLine(layout, faces);
        // One font's advance is the metrics' own, trailing spaces included.
        const double width = faces.isEmpty() ? line.horizontalAdvance() : line.naturalTextWidth();
        std::vector<PlacedGlyph> glyphs = placedGlyphs(line);
        return TextCache::Entry::Shaped{width * scaleOf(font), std::move(glyphs),
                                        GlyphStore::local().generation()};
    });
}

} // namespace

QFont BarcodeText::resolve(const FontDescriptor &font)
{
    return FontResolver::font(font.postScriptName, std::max(font.size, 0.01));
}

double BarcodeText::capHeight(const FontDescriptor &font)
{
    return TextCache::entryFor(font, 0).capHeight;
}

QSizeF BarcodeText::size(const QString &text, const FontDescriptor &font, double kern)
{
    TextCache::Entry &e = TextCache::entryFor(font, kern);
    if (text.isEmpty())
        return QSizeF(0.0, e.height);
    const double width = shapedText(e, text, font, kern).width;
    return QSizeF(width, e.height);
}

double BarcodeText::ascent(const FontDescriptor &font)
{
    return TextCache::entryFor(font, 0).ascent;
}

double BarcodeText::descent(const FontDescriptor &font)
{
    return TextCache::entryFor(font, 0).descent;
}

QPainterPath BarcodeText::outline(const QString &text, const FontDescriptor &font, double kern,
                                  QPointF origin)
{
    if (text.isEmpty())
        return QPainterPath();
    TextCache::Entry &e = TextCache::entryFor(font, kern);
    const QPainterPath &atOrigin = TextCache::remember(e.outlines, text, [&] {
        const QFont reference = referenceFont(font, kern);
        const QList<QTextLayout::FormatRange> faces = FontCoverage::fallbackRanges(text, reference);
        QPainterPath path;
        if (faces.isEmpty()) {
            path.addText(QPointF(0, 0), reference, text);
        } else {
            QTextLayout layout(text, reference);
            path = outlineOf(layOutLine(layout, faces));
        }
        const double s = scaleOf(font);
        return QTransform::fromScale(s, s).map(path);
    });
    // Scaled, then moved: to the bit what one transform doing both gives.
    return atOrigin.translated(origin);
}

QRectF BarcodeText::inkBounds(const QString &text, const FontDescriptor &font, double kern, QPointF origin)
{
    if (text.isEmpty())
        return {};
    TextCache::Entry &e = TextCache::entryFor(font, kern);
    const TextCache::Entry::Shaped &shaped = shapedText(e, text, font, kern);
    const GlyphStore &store = GlyphStore::local();
    if (shaped.generation != store.generation())
        return outline(text, font, kern, origin).boundingRect();
    QRectF box;
    for (const PlacedGlyph &g : shaped.glyphs)
        box |= store.bounds(g.face, g.glyph).translated(g.at);
    if (box.isNull())
        return {};
    const double s = scaleOf(font);
    return QRectF(origin.x() + box.x() * s, origin.y() + box.y() * s, box.width() * s, box.height() * s);
}

void BarcodeText::draw(QPainter &painter, const QString &text, const FontDescriptor &font, double kern,
                       QPointF origin, const QColor &color)
{
    if (text.isEmpty())
        return;
    // Laid out as the outline is, at the reference size, and scaled down about the baseline. The
    // glyphs go out at the places the layout gives them: a PDF writer would space the letters
    // again by its own reading of the letter spacing.
    const QFont reference = referenceFont(font, kern);
    QTextLayout layout(text, reference);
    const QTextLine line = layOutLine(layout, FontCoverage::fallbackRanges(text, reference));
    const double s = scaleOf(font);
    painter.save();
    painter.translate(origin);
    painter.scale(s, s);
    painter.setPen(color);
    for (const QGlyphRun &run : line.glyphRuns())
        painter.drawGlyphRun(QPointF(0, -line.ascent()), run);
    painter.restore();
}

bool BarcodeText::drawInPixels(QPainter &painter, const QTransform &toDevice, const QString &text,
                               const FontDescriptor &font, double kern, QPointF origin, const QColor &color)
{
    const double s = scaleOf(font);
    const double kx = toDevice.m11() * s;
    const double ky = toDevice.m22() * s;
    // Glyphs larger than this are rare (a canvas zoomed far in) and filled as they come.
    constexpr double kLargestEm = 256.0;
    if (!(std::abs(kx) * kReferencePixels <= kLargestEm && std::abs(ky) * kReferencePixels <= kLargestEm))
        return false;
    // On a high-density device the painter's pixels are not the device's: outlines stay sharp.
    if (painter.device() && painter.device()->devicePixelRatio() != 1.0)
        return false;
    if (text.isEmpty())
        return true;
    TextCache::Entry &e = TextCache::entryFor(font, kern);
    const TextCache::Entry::Shaped &shaped = shapedText(e, text, font, kern);
    GlyphStore &store = GlyphStore::local();
    if (shaped.generation != store.generation())
        return false;
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    const QRgb rgba = color.rgba();
    painter.save();
    painter.resetTransform();
    for (const PlacedGlyph &g : shaped.glyphs) {
        const double x = toDevice.m11() * (origin.x() + g.at.x() * s) + toDevice.dx();
        const double y = toDevice.m22() * (origin.y() + g.at.y() * s) + toDevice.dy();
        if (!(std::abs(x) < 1e9 && std::abs(y) < 1e9))
            continue;
        const double fx = std::floor(x), fy = std::floor(y);
        const int phaseX = int(std::lround((x - fx) * GlyphStore::kPhases));
        const int phaseY = int(std::lround((y - fy) * GlyphStore::kPhases));
        // A phase of a whole pixel is the next pixel's first.
        const QPoint pixel(int(fx) + phaseX / GlyphStore::kPhases, int(fy) + phaseY / GlyphStore::kPhases);
        const GlyphStore::Image &image = store.image(g, kx, ky, phaseX % GlyphStore::kPhases,
                                                     phaseY % GlyphStore::kPhases, rgba, antialiased);
        if (!image.pixels.isNull())
            painter.drawImage(pixel + image.at, image.pixels);
    }
    painter.restore();
    return true;
}
