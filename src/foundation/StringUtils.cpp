#include "foundation/StringUtils.h"

namespace
{
template <typename Pred> QString trimWhere(const QString &s, Pred remove)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && remove(s[begin]))
        ++begin;
    while (end > begin && remove(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

bool isWhiteOrLineBreak(QChar c)
{
    // Unicode separators plus tab, line feed, vertical tab, form feed, carriage return and U+0085.
    return c.isSpace();
}

bool isControl(QChar c)
{
    const QChar::Category cat = c.category();
    return cat == QChar::Other_Control || cat == QChar::Other_Format;
}
} // namespace

QString Trim_Str(const QString &s)
{
    if (s.isNull())
        return QString();
    return trimWhere(trimWhere(s, isWhiteOrLineBreak), isControl);
}

QString Replace_Char_For_valid(const QString &s)
{
    return Trim_Str(s);
}

QString Remove_Reserve_Char_In_File_Name(const QString &s)
{
    if (s.isNull())
        return QString();
    static const QString reserved = QStringLiteral("/\\?%*|\"<>");
    return Trim_Str(trimWhere(s, [](QChar c) { return reserved.contains(c); }));
}

QString Left_Str_substringToIndex(const QString &s, int n)
{
    if (s.isNull())
        return QString();
    return s.left(qMax(n, 0)); // the whole string when n reaches past its end
}

QString Right_Str_substringFromIndex(const QString &s, int n)
{
    if (s.isNull())
        return QString();
    return s.right(qMax(n, 0)); // the whole string when n reaches past its end
}

QString Read_Str_FromIndex(const QString &s, int i)
{
    if (s.isNull())
        return QString();
    if (i < 0 || i >= s.size())
        return QStringLiteral("");
    return s.mid(i);
}

QString Replace_char_in_string(const QString &s, const QString &a, const QString &b)
{
    if (s.isNull())
        return QString();
    if (a.isEmpty())
        return s;
    QString out = s;
    return out.replace(a, b, Qt::CaseSensitive);
}

bool Find_Str(const QString &s, const QString &sub)
{
    if (s.isEmpty() || sub.isEmpty())
        return false;
    return s.contains(sub, Qt::CaseSensitive);
}
