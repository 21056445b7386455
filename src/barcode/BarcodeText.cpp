#include "barcode/BarcodeText.h"

#include "platform/FontResolver.h"

#include <QFontMetricsF>
#include <QTransform>

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

} // namespace

QFont BarcodeText::resolve(const FontDescriptor &font)
{
    return FontResolver::font(font.postScriptName, std::max(font.size, 0.01));
}

double BarcodeText::capHeight(const FontDescriptor &font)
{
    return QFontMetricsF(referenceFont(font, 0)).capHeight() * scaleOf(font);
}

QSizeF BarcodeText::size(const QString &text, const FontDescriptor &font, double kern)
{
    const QFontMetricsF m(referenceFont(font, kern));
    const double width = text.isEmpty() ? 0.0 : m.horizontalAdvance(text);
    return QSizeF(width * scaleOf(font), m.height() * scaleOf(font));
}

double BarcodeText::ascent(const FontDescriptor &font)
{
    return QFontMetricsF(referenceFont(font, 0)).ascent() * scaleOf(font);
}

double BarcodeText::descent(const FontDescriptor &font)
{
    return QFontMetricsF(referenceFont(font, 0)).descent() * scaleOf(font);
}

QPainterPath BarcodeText::outline(const QString &text, const FontDescriptor &font, double kern,
                                  QPointF origin)
{
    QPainterPath path;
    if (text.isEmpty())
        return path;
    path.addText(QPointF(0, 0), referenceFont(font, kern), text);
    const double s = scaleOf(font);
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.scale(s, s);
    return t.map(path);
}
