// Small text rules of the data engine: trimming values and cleaning series names as the rest of
// the program does, and keeping line breaks out of one-line values.
#include "DataText.h"

#include "foundation/StringUtils.h"

QString DataText::trim(const QString &s)
{
    return Trim_Str(s);
}

QString DataText::cleanFileName(const QString &s)
{
    return Remove_Reserve_Char_In_File_Name(s);
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
