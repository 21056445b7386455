#include "foundation/DateFormats.h"

#include <QLocale>

namespace
{
std::function<QDateTime()> &fixedClock()
{
    static std::function<QDateTime()> c;
    return c;
}
} // namespace

QStringList DateFormats::dateFormats()
{
    return {QStringLiteral("M-d-yyyy"),   QStringLiteral("M-d-yy"),     QStringLiteral("MM-dd-yy"),
            QStringLiteral("MM-dd-yyyy"), QStringLiteral("yy-MM-dd"),   QStringLiteral("yyyy-MM-dd"),
            QStringLiteral("dd-MMM-yy"),  QStringLiteral("dd-MM-yyyy"), QStringLiteral("d-M-yy")};
}

QStringList DateFormats::timeFormats()
{
    return {QStringLiteral("h:mm:ss a"), QStringLiteral("hh:mm:ss a"), QStringLiteral("H:mm:ss"),
            QStringLiteral("HH:mm:ss")};
}

QString DateFormats::toQt(const QString &pattern)
{
    QString out;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) { // quoted literal, '' is a quote
            const int end = pattern.indexOf(QLatin1Char('\''), i + 1);
            const int stop = end < 0 ? int(pattern.size()) : end + 1;
            out += pattern.mid(i, stop - i);
            i = stop;
            continue;
        }
        int run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        if (c == QLatin1Char('a'))
            out += QStringLiteral("AP");
        else if (c == QLatin1Char('E'))
            out += run >= 4 ? QStringLiteral("dddd") : QStringLiteral("ddd");
        else if (c == QLatin1Char('A') || c == QLatin1Char('P') || c == QLatin1Char('t') ||
                 c == QLatin1Char('z'))
            out += QLatin1Char('\'') + QString(run, c) + QLatin1Char('\''); // letters Qt would read
        else
            out += QString(run, c);
        i += run;
    }
    return out;
}

QString DateFormats::Get_date_Value(const QString &pattern)
{
    return QLocale().toString(now(), toQt(pattern));
}

QString DateFormats::Get_time_Value(const QString &pattern)
{
    return QLocale().toString(now(), toQt(pattern));
}

void DateFormats::setClock(std::function<QDateTime()> c)
{
    fixedClock() = std::move(c);
}

QDateTime DateFormats::now()
{
    return fixedClock() ? fixedClock()() : QDateTime::currentDateTime();
}
