#include "XlsxText.h"

namespace
{

bool isHex(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// An escape sequence _xHHHH_ starting at i.
bool escapeAt(const QString &s, qsizetype i)
{
    return i + 7 <= s.size() && s[i] == QLatin1Char('_') && s[i + 1] == QLatin1Char('x') && isHex(s[i + 2]) &&
           isHex(s[i + 3]) && isHex(s[i + 4]) && isHex(s[i + 5]) && s[i + 6] == QLatin1Char('_');
}

bool xmlCannotCarry(char16_t u)
{
    // \t and \n travel as they are; \r would be turned into \n by every parser.
    return (u < 0x20 && u != 0x09 && u != 0x0A) || u == 0xFFFE || u == 0xFFFF;
}

QString hex4(char16_t u)
{
    return QStringLiteral("_x%1_")
        .arg(unsigned(u), 4, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("_X"), QLatin1String("_x"));
}

} // namespace

QString XlsxText::ColumnIndexToName(int n)
{
    QString letters;
    while (n > 0) {
        letters.prepend(QChar(char16_t(u'A' + (n - 1) % 26)));
        n = (n - 1) / 26;
    }
    return letters;
}

namespace
{

// Column letters at the start of a reference, whatever the characters are held in.
template <typename Text, typename Code> int columnOfLetters(const Text &ref, Code code)
{
    qsizetype i = 0;
    if (i < qsizetype(ref.size()) && code(ref[i]) == '$')
        ++i;
    int col = 0;
    int letters = 0;
    for (; i < qsizetype(ref.size()); ++i) {
        const char16_t c = code(ref[i]);
        int v;
        if (c >= u'A' && c <= u'Z')
            v = c - u'A' + 1;
        else if (c >= u'a' && c <= u'z')
            v = c - u'a' + 1;
        else
            break;
        if (++letters > 3)
            return 0;
        col = col * 26 + v;
    }
    return col > XlsxText::MaxColumns ? 0 : col;
}

} // namespace

int XlsxText::columnOfReference(QStringView ref)
{
    return columnOfLetters(ref, [](QChar c) { return c.unicode(); });
}

int XlsxText::columnOfReference(std::string_view ref)
{
    return columnOfLetters(ref, [](char c) { return char16_t(static_cast<unsigned char>(c)); });
}

QString XlsxText::unescape(const QString &stored)
{
    if (!stored.contains(QLatin1String("_x")))
        return stored;
    QString out;
    out.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size();) {
        if (escapeAt(stored, i)) {
            out += QChar(char16_t(stored.mid(i + 2, 4).toUShort(nullptr, 16)));
            i += 7;
        } else {
            out += stored[i++];
        }
    }
    return out;
}

QString XlsxText::escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (xmlCannotCarry(u) || QChar::isSurrogate(u)) {
            out += hex4(u);
        } else if (escapeAt(text, i)) {
            out += QLatin1String("_x005F");
            out += text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

bool XlsxText::isPlainNumber(const QString &text)
{
    // -?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?, not "-0", at most 15 digits
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && text[i] == QLatin1Char('-'))
        ++i;
    const qsizetype intStart = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == QLatin1Char('0')))
        return false;
    qsizetype fracDigits = 0;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        const qsizetype fracStart = i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        fracDigits = i - fracStart;
        if (fracDigits == 0 || text[i - 1] == QLatin1Char('0'))
            return false;
    }
    if (i != n || intDigits + fracDigits > 15)
        return false;
    return text != QLatin1String("-0");
}
