// One date or time format code of a workbook's cell styles, taken apart once and applied to many
// cells: 44930 under "yyyy-mm-dd" reads 2023-01-04 as the spreadsheet shows it, and under
// "[$-407]d. mmmm yyyy" (a German locale tag) 4. Januar 2023, in any language Qt knows, and under
// "[$-411]ggge\"年\"m\"月\"d\"日\"" (Japanese eras) 令和6年3月1日, in the calendar the tag names.
#pragma once

#include "XlsxCalendar.h"
#include "XlsxNumerals.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class XlsxDateFormat
{
public:
    static constexpr int64_t MsPerDay = 86400000;

    // Null when the code shows no date or time: no d, m, y, h or s outside quotes, escapes and
    // brackets (other than the elapsed [h], [m], [s]), nor an era, era year, Buddhist year or day
    // name code (g, e, bb, aaa) in a code without digit placeholders.
    static std::unique_ptr<XlsxDateFormat> parse(QStringView code);

    // The serial number (days since the epoch, the fraction the time of day) as the format shows
    // it; "" when it cannot be a date (negative, past 9999-12-31, or not a number).
    std::string format(double serial, bool date1904) const;
    // A day of the calendar and a time of day, as a workbook writes them out: days before the
    // first serial number show too. The serial number gives the elapsed [h], [m] and [s].
    std::string format(const QDate &date, int64_t msOfDay, double serial) const;

private:
    enum class Kind {
        Literal,
        Year2,
        Year4,
        Month,
        MonthName,
        Day,
        DayName,
        Hour,
        Minute,
        Second,
        Fraction,
        AmPm,
        ElapsedHours,
        ElapsedMinutes,
        ElapsedSeconds,
        Era,          // g: width 1 its letter, 2 its first character, 3 its name
        EraYear,      // e: the year within the era
        BuddhistYear, // bb, bbbb
        DateSeparator // "/": the locale's own under a locale tag, a literal by the time it is written
    };
    struct Part {
        Kind kind;
        int width = 1;    // digits, or 3 short name, 4 full name, 5 first letter
        std::string text; // Literal: the text; AmPm: "AM/PM", "am/pm", "A/P" or "a/p"
    };
    // A moment as the format shows it; weekday 0 is a Sunday.
    struct Moment {
        int year, month, day, weekday;
        int64_t msOfDay, elapsedMs;
        QDate date; // the day in the calendar; invalid for the 1900 system's 29 February and day 0
    };
    // The month and day names of one language, days from Sunday; months alone and as a date
    // beside a day of the month writes them.
    struct Names {
        std::string months[12], shortMonths[12], datedMonths[12], shortDatedMonths[12], days[7], shortDays[7];
    };
    class Parser;

    static const Names *namesOf(const std::optional<QLocale> &locale);
    static Names namesFrom(const QLocale &locale);
    void takeCalendars(bool eras);
    std::string write(const Moment &m) const;
    std::string writeInCalendar(const Part &p, const Moment &m) const;
    std::string inNumerals(const Part &p, const std::string &shown) const;

    std::vector<Part> m_parts;
    const Names *m_names = namesOf(std::nullopt);
    std::optional<QLocale> m_locale;
    XlsxCalendar::Kind m_calendarKind = XlsxCalendar::Kind::Gregorian; // the tag's calendar
    std::unique_ptr<const XlsxCalendar> m_calendar;    // that calendar, when not the Gregorian
    std::unique_ptr<const XlsxCalendar> m_eraCalendar; // the calendar of the era codes g and e
    std::shared_ptr<const XlsxNumerals> m_numerals;    // null: Western digits
    bool m_firstYearNamed = false;                     // an era's first year shows as 元, not 1
    int m_fractionDigits = 0;
    bool m_twelveHour = false;
    bool m_monthsDated = false; // a day of the month shows: month names take their dated form
};
