#include "barcode/BarcodeText.h"

#include "platform/FontCoverage.h"
#include "platform/FontResolver.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

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
        // The latest texts: their widths in points, and their outlines with the baseline at (0, 0).
        std::vector<std::pair<QString, double>> widths;
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
    const double width = TextCache::remember(e.widths, text, [&] {
        const QFont reference = referenceFont(font, kern);
        const QList<QTextLayout::FormatRange> faces = FontCoverage::fallbackRanges(text, reference);
        if (faces.isEmpty())
            return QFontMetricsF(reference).horizontalAdvance(text) * scaleOf(font);
        QTextLayout layout(text, reference);
        return layOutLine(layout, faces).naturalTextWidth() * scaleOf(font);
    });
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
