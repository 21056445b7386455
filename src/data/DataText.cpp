// Small text rules of the data engine: trimming values and cleaning series names as the rest of
// the program does, and keeping line breaks out of one-line values.
#include "DataText.h"

namespace
{
bool trimmable(QChar c)
{
    const auto cat = c.category();
    return c.isSpace() || cat == QChar::Other_Control || cat == QChar::Other_Format;
}
bool reserved(QChar c)
{
    return QStringView(u"/\\?%*|\"<>").contains(c);
}
} // namespace

QString DataText::trim(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && trimmable(s[b]))
        ++b;
    while (e > b && trimmable(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

QString DataText::cleanFileName(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && reserved(s[b]))
        ++b;
    while (e > b && reserved(s[e - 1]))
        --e;
    return trim(s.mid(b, e - b));
}

QString DataText::oneLine(const QString &s)
{
    QString out = s;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x0B || u == 0x0C || u == 0x85 || u == 0x2028 || u == 0x2029)
            c = QLatin1Char(' ');
    }
    return out;
}
