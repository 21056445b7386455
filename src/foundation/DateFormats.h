// The date and time patterns the editor offers for text objects, and formatting the current time
// with such a pattern (the design's patterns are TR35; Qt spells a few differently).
#pragma once

#include <QDateTime>
#include <QStringList>

#include <functional>

class DateFormats
{
public:
    // "M-d-yyyy" ... "d-M-yy", in the order the editor lists them.
    static QStringList dateFormats();
    // "h:mm:ss a" ... "HH:mm:ss".
    static QStringList timeFormats();

    // A TR35 pattern in Qt's spelling: "a" becomes "AP", "EEEE"/"EEE" the day names; quoted text
    // is kept as it stands.
    static QString toQt(const QString &pattern);
    // The current date and time through the pattern, in the default locale.
    static QString Get_date_Value(const QString &pattern);
    static QString Get_time_Value(const QString &pattern);

    // What "now" is; tests fix it. An empty function restores the clock.
    static void setClock(std::function<QDateTime()> clock);
    static QDateTime now();
};
