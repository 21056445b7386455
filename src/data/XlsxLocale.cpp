#include "XlsxLocale.h"

#include <QString>

#include <algorithm>
#include <iterator>

namespace
{
struct LcidTag {
    unsigned id;
    const char *name; // a BCP 47 tag as QLocale reads it
};

// Languages by their primary id (the low ten bits), each in the territory its names are taken from
// when the sub-language is none of those named below.
constexpr LcidTag kLanguages[] = {
    {0x01, "ar-SA"},   {0x02, "bg"},    {0x03, "ca"},      {0x04, "zh-CN"},   {0x05, "cs"},
    {0x06, "da"},      {0x07, "de-DE"}, {0x08, "el"},      {0x09, "en-US"},   {0x0A, "es-ES"},
    {0x0B, "fi"},      {0x0C, "fr-FR"}, {0x0D, "he"},      {0x0E, "hu"},      {0x0F, "is"},
    {0x10, "it-IT"},   {0x11, "ja"},    {0x12, "ko"},      {0x13, "nl-NL"},   {0x14, "nb"},
    {0x15, "pl"},      {0x16, "pt-BR"}, {0x17, "rm"},      {0x18, "ro"},      {0x19, "ru"},
    {0x1A, "hr"},      {0x1B, "sk"},    {0x1C, "sq"},      {0x1D, "sv-SE"},   {0x1E, "th"},
    {0x1F, "tr"},      {0x20, "ur-PK"}, {0x21, "id"},      {0x22, "uk"},      {0x23, "be"},
    {0x24, "sl"},      {0x25, "et"},    {0x26, "lv"},      {0x27, "lt"},      {0x28, "tg"},
    {0x29, "fa"},      {0x2A, "vi"},    {0x2B, "hy"},      {0x2C, "az-Latn"}, {0x2D, "eu"},
    {0x2E, "hsb"},     {0x2F, "mk"},    {0x32, "tn"},      {0x34, "xh"},      {0x35, "zu"},
    {0x36, "af"},      {0x37, "ka"},    {0x38, "fo"},      {0x39, "hi"},      {0x3A, "mt"},
    {0x3B, "se"},      {0x3C, "ga"},    {0x3E, "ms"},      {0x3F, "kk"},      {0x40, "ky"},
    {0x41, "sw"},      {0x42, "tk"},    {0x43, "uz-Latn"}, {0x44, "tt"},      {0x45, "bn-IN"},
    {0x46, "pa-Guru"}, {0x47, "gu"},    {0x48, "or"},      {0x49, "ta"},      {0x4A, "te"},
    {0x4B, "kn"},      {0x4C, "ml"},    {0x4D, "as"},      {0x4E, "mr"},      {0x4F, "sa"},
    {0x50, "mn"},      {0x51, "bo"},    {0x52, "cy"},      {0x53, "km"},      {0x54, "lo"},
    {0x55, "my"},      {0x56, "gl"},    {0x57, "kok"},     {0x5B, "si"},      {0x5C, "chr"},
    {0x5E, "am"},      {0x60, "ks"},    {0x61, "ne"},      {0x62, "fy"},      {0x63, "ps"},
    {0x64, "fil"},     {0x67, "ff"},    {0x68, "ha"},      {0x6A, "yo"},      {0x6C, "nso"},
    {0x6D, "ba"},      {0x6E, "lb"},    {0x6F, "kl"},      {0x70, "ig"},      {0x73, "ti"},
    {0x75, "haw"},     {0x78, "ii"},    {0x7E, "br"},      {0x80, "ug"},      {0x81, "mi"},
    {0x82, "oc"},      {0x83, "co"},    {0x84, "gsw"},     {0x85, "sah"},     {0x87, "rw"},
    {0x88, "wo"},      {0x8C, "fa-AF"}, {0x91, "gd"},      {0x92, "ckb"},
};

// Whole locale ids whose names differ from their language's above: another script, or a
// territory that writes some names its own way.
constexpr LcidTag kLocales[] = {
    {0x0404, "zh-TW"},      {0x0814, "nn"},         {0x0816, "pt-PT"},      {0x0820, "ur-IN"},
    {0x082C, "az-Cyrl"},    {0x0843, "uz-Cyrl"},    {0x0845, "bn-BD"},      {0x0846, "pa-Arab"},
    {0x0850, "mn-Mong"},    {0x081A, "sr-Latn"},    {0x0C04, "zh-HK"},      {0x0C07, "de-AT"},
    {0x0C1A, "sr-Cyrl"},    {0x101A, "hr-BA"},      {0x1004, "zh-SG"},      {0x1404, "zh-MO"},
    {0x141A, "bs-Latn"},    {0x181A, "sr-Latn-BA"}, {0x1C1A, "sr-Cyrl-BA"}, {0x201A, "bs-Cyrl"},
    {0x241A, "sr-Latn-RS"}, {0x281A, "sr-Cyrl-RS"}, {0x2C1A, "sr-Latn-ME"}, {0x301A, "sr-Cyrl-ME"},
};

template <size_t N> const char *lcidTagName(const LcidTag (&table)[N], unsigned id)
{
    const auto it =
        std::find_if(std::begin(table), std::end(table), [id](const LcidTag &t) { return t.id == id; });
    return it == std::end(table) ? nullptr : it->name;
}
} // namespace

std::optional<QLocale> XlsxLocale::ofLcid(unsigned lcid)
{
    const unsigned id = lcid & 0xFFFF;
    const char *name = lcidTagName(kLocales, id);
    if (!name)
        name = lcidTagName(kLanguages, id & 0x3FF);
    if (!name)
        return std::nullopt;
    const QLocale locale{QString::fromLatin1(name)};
    if (locale.language() == QLocale::C)
        return std::nullopt; // a language this Qt has no data for
    return locale;
}

std::optional<QLocale> XlsxLocale::ofName(QStringView name)
{
    const QLocale locale{name.toString()};
    if (locale.language() == QLocale::C || name.isEmpty() || !name.front().isLetter())
        return std::nullopt;
    return locale;
}

QString XlsxLocale::dateSeparatorOf(const QLocale &locale)
{
    // The first mark after the first field of the locale's short date, past spaces, quoted text
    // and direction marks ("d\u200f/M\u200f/yyyy").
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    bool fieldSeen = false;
    for (const QChar c : pattern) {
        if (c.isLetter()) {
            fieldSeen = true;
            continue;
        }
        if (fieldSeen && !c.isSpace() && c != u'\'' && c.category() != QChar::Other_Format)
            return QString(c);
    }
    return QStringLiteral("/");
}
