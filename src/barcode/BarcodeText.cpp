#include "barcode/BarcodeText.h"

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
    const QString name = font.postScriptName;
    const QString lower = name.toLower();
    QString family;
    if (lower.contains(QLatin1String("times")) ||
        (lower.contains(QLatin1String("serif")) && !lower.contains(QLatin1String("sans"))))
        family = QStringLiteral("Liberation Serif");
    else if (lower.contains(QLatin1String("courier")) || lower.contains(QLatin1String("mono")))
        family = QStringLiteral("Liberation Mono");
    else if (lower.contains(QLatin1String("arial")) || lower.contains(QLatin1String("helvetica")) ||
             lower.contains(QLatin1String("sans")))
        family = QStringLiteral("Liberation Sans");
    else
        family = name.section(QLatin1Char('-'), 0, 0);
    QFont f(family);
    const QString style = name.section(QLatin1Char('-'), 1).toLower();
    f.setBold(style.contains(QLatin1String("bold")));
    f.setItalic(style.contains(QLatin1String("italic")) || style.contains(QLatin1String("oblique")));
    f.setPointSizeF(std::max(font.size, 0.01));
    return f;
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
