// The calendar a workbook's date code reckons in: a locale id's calendar byte ("[$-1060401]":
// Hijri; "[$-1170401]": Um al-Qura; "[$-50412]": the Korean Tangun era), or the era codes g and e of a
// Japanese or Taiwanese locale. The reckoning, the era and month names come from ICU's calendars, so each
// reads as the locale's own calendar writes it.
#pragma once

#include <QDate>

#include <memory>
#include <string>

class XlsxCalendar
{
public:
    enum class Kind { Gregorian, Japanese, Roc, Buddhist, Hijri, Hebrew, UmAlQura, Tangun };
    // The calendar a locale id's calendar byte (bits 16 to 23) names; Gregorian for the
    // Gregorian ones and those not read here.
    static Kind ofLcid(unsigned lcid);

    // A calendar of `kind` whose names are those of the locale (a BCP 47 tag; "" English).
    XlsxCalendar(Kind kind, const QString &locale);
    ~XlsxCalendar();
    XlsxCalendar(const XlsxCalendar &) = delete;
    XlsxCalendar &operator=(const XlsxCalendar &) = delete;

    Kind kind() const { return m_kind; }

    // A day of the Gregorian calendar in this one: the year within its era, month (from 1) and day.
    struct Day {
        int year = 0, month = 0, day = 0;
    };
    Day dayOf(const QDate &date) const;
    // The era's name: width 1 its letter ("R"), 2 its first character ("令"), 3 in full ("令和").
    std::string eraOf(const QDate &date, int width) const;
    // The month's name: width 3 short, else in full; `dated` in the form a date gives it.
    std::string monthOf(const QDate &date, int width, bool dated) const;

private:
    struct Impl;
    std::string formatted(const QDate &date, const char *pattern) const;

    Kind m_kind;
    std::unique_ptr<Impl> m_impl;
};
