// Turns the PostScript font names stored in designs into fonts to draw with, and back.
// Results are cached under a lock, since worker threads draw text too.
#include "platform/FontResolver.h"

#include <QFontDatabase>
#include <QStringList>

#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace
{
// Every text drawn on every worker asks: known names are read side by side, so workers do not
// queue here.
std::shared_mutex g_cacheMutex;
std::unordered_map<QString, FontResolver::Face> g_cache;

const QString kSerif = QStringLiteral("Liberation Serif");
const QString kSans = QStringLiteral("Liberation Sans");
const QString kMono = QStringLiteral("Liberation Mono");

// Drops the vendor marks PostScript names end with ("TimesNewRomanPSMT" -> "TimesNewRoman").
QString stripVendorSuffix(QString s)
{
    static const QString suffixes[] = {QStringLiteral("PSMT"), QStringLiteral("MT"), QStringLiteral("PS")};
    for (bool again = true; again;) {
        again = false;
        for (const QString &suf : suffixes) {
            if (s.size() > suf.size() && s.endsWith(suf)) {
                s.chop(suf.size());
                again = true;
            }
        }
    }
    return s;
}

// "LiberationSerif" -> "Liberation Serif": PostScript names drop the spaces of the family name.
QString spacedName(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (i > 0 && c.isUpper() && s[i - 1].isLower())
            out += QLatin1Char(' ');
        out += c;
    }
    return out;
}

QString spelt(QString style)
{
    style.remove(QLatin1Char(' '));
    return style.toLower();
}

// The installed family a PostScript name's family part names: as written, with spaces before its
// capitals, or any family spelt alike without spaces ("DejaVuSerif" -> "DejaVu Serif"); "" for none.
QString installedFamily(const QString &base)
{
    for (const QString &candidate : {base, spacedName(base)}) {
        if (QFontDatabase::hasFamily(candidate))
            return candidate;
    }
    const QString wanted = spelt(base);
    for (const QString &family : QFontDatabase::families()) {
        if (spelt(family) == wanted)
            return family;
    }
    return {};
}

// Styles that bold and italic name by themselves, spelt without spaces in lower case.
bool isPlainStyle(const QString &spelled)
{
    static const QStringList plain = {QString(),
                                      QStringLiteral("regular"),
                                      QStringLiteral("normal"),
                                      QStringLiteral("book"),
                                      QStringLiteral("roman"),
                                      QStringLiteral("bold"),
                                      QStringLiteral("italic"),
                                      QStringLiteral("oblique"),
                                      QStringLiteral("bolditalic"),
                                      QStringLiteral("boldoblique")};
    return plain.contains(spelled);
}

// The installed style of a family a PostScript name's style part spells, when bold and italic
// alone do not name it; "" otherwise.
QString familyStyle(const QString &family, const QString &stylePart)
{
    const QString wanted = spelt(stylePart);
    if (isPlainStyle(wanted))
        return {};
    for (const QString &style : QFontDatabase::styles(family)) {
        if (spelt(style) == wanted)
            return style;
    }
    return {};
}

FontResolver::Face resolve(const QString &name)
{
    FontResolver::Face face;
    QString base = name.trimmed();
    QString style;
    const qsizetype dash = base.indexOf(QLatin1Char('-'));
    if (dash >= 0) {
        style = base.mid(dash + 1);
        base = base.left(dash);
    }
    base = stripVendorSuffix(base);
    // Some names carry the style without a dash ("ArialRoundedMTBold").
    for (const QString &s : {QStringLiteral("BoldItalic"), QStringLiteral("BoldOblique"),
                             QStringLiteral("Bold"), QStringLiteral("Italic"), QStringLiteral("Oblique")}) {
        if (base.size() > s.size() && base.endsWith(s)) {
            style = s + style;
            base.chop(s.size());
            base = stripVendorSuffix(base);
            break;
        }
    }
    const QString lowStyle = style.toLower();
    face.bold = lowStyle.contains(QLatin1String("bold")) || lowStyle.contains(QLatin1String("black")) ||
                lowStyle.contains(QLatin1String("heavy")) || lowStyle.contains(QLatin1String("demi"));
    face.italic = lowStyle.contains(QLatin1String("italic")) || lowStyle.contains(QLatin1String("oblique"));

    QString key = base.toLower();
    key.remove(QLatin1Char(' '));
    if (key.startsWith(QLatin1String("times")) || key.startsWith(QLatin1String("liberationserif")))
        face.family = kSerif;
    else if (key.startsWith(QLatin1String("arial")) || key.startsWith(QLatin1String("helvetica")) ||
             key.startsWith(QLatin1String("liberationsans")))
        face.family = kSans;
    else if (key.startsWith(QLatin1String("courier")) || key.startsWith(QLatin1String("liberationmono")))
        face.family = kMono;
    else if (!base.isEmpty()) {
        face.family = installedFamily(base);
        if (!face.family.isEmpty())
            face.style = familyStyle(face.family, style);
    }
    if (face.family.isEmpty())
        face.family = FontResolver::defaultFamily();
    return face;
}
} // namespace

FontResolver::Face FontResolver::faceFor(const QString &postScriptName)
{
    {
        const std::shared_lock lock(g_cacheMutex);
        const auto it = g_cache.find(postScriptName);
        if (it != g_cache.end())
            return it->second;
    }
    const Face face = resolve(postScriptName);
    const std::unique_lock lock(g_cacheMutex);
    g_cache.insert_or_assign(postScriptName, face);
    return face;
}

QFont FontResolver::font(const QString &postScriptName, double pointSize)
{
    const Face face = faceFor(postScriptName);
    QFont f(face.family);
    f.setBold(face.bold);
    f.setItalic(face.italic);
    if (!face.style.isEmpty())
        f.setStyleName(face.style);
    f.setPointSizeF(pointSize > 0 ? pointSize : 12.0);
    // Unhinted outlines keep text widths the same at every resolution we render at.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QString FontResolver::postScriptNameFor(const QFont &chosen)
{
    return postScriptNameFor(chosen.family(), chosen.bold(), chosen.italic(), chosen.styleName());
}

QString FontResolver::postScriptNameFor(const QString &family, bool bold, bool italic,
                                        const QString &styleName)
{
    const QString styles[4] = {QString(), QStringLiteral("Bold"), QStringLiteral("Italic"),
                               QStringLiteral("BoldItalic")};
    const QString &st = styles[(bold ? 1 : 0) + (italic ? 2 : 0)];
    if (family == kSerif)
        return st.isEmpty() ? QStringLiteral("TimesNewRomanPSMT")
                            : QStringLiteral("TimesNewRomanPS-%1MT").arg(st);
    if (family == kSans)
        return st.isEmpty() ? QStringLiteral("ArialMT") : QStringLiteral("Arial-%1MT").arg(st);
    if (family == kMono)
        return st.isEmpty() ? QStringLiteral("CourierNewPSMT") : QStringLiteral("CourierNewPS-%1MT").arg(st);
    QString base = family;
    base.remove(QLatin1Char(' '));
    if (!isPlainStyle(spelt(styleName))) {
        QString own = styleName;
        own.remove(QLatin1Char(' '));
        return base + QLatin1Char('-') + own;
    }
    return st.isEmpty() ? base : base + QLatin1Char('-') + st;
}
