#include "XlsxCalendar.h"
#include "data/IcuText.h"

#include <QString>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <map>
#include <mutex>

namespace
{
// ICU's name of each calendar. Hijri dates are reckoned from the moon's sighting as ICU's
// "islamic" calendar does, which gives the days LibreOffice shows.
const char *calendarName(XlsxCalendar::Kind kind)
{
    switch (kind) {
    case XlsxCalendar::Kind::Japanese:
        return "japanese";
    case XlsxCalendar::Kind::Roc:
        return "roc";
    case XlsxCalendar::Kind::Buddhist:
        return "buddhist";
    case XlsxCalendar::Kind::Hijri:
        return "islamic";
    case XlsxCalendar::Kind::Hebrew:
        return "hebrew";
    case XlsxCalendar::Kind::UmAlQura:
        return "islamic-umalqura";
    case XlsxCalendar::Kind::Tangun: // the Gregorian days, counted in years from Dangun's founding
    case XlsxCalendar::Kind::Gregorian:
        break;
    }
    return "gregorian";
}

// Noon of the day, in milliseconds since 1970 (UTC): far from either midnight.
UDate noonOf(const QDate &date)
{
    return (double(date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) + 0.5) * 86400000.0;
}

using IcuText::utf8;
} // namespace

// ICU's calendar and formats are not safe to share between threads: one lock guards them all.
struct XlsxCalendar::Impl {
    icu::Locale locale;
    std::mutex lock;
    std::unique_ptr<icu::Calendar> calendar;
    std::map<std::string, std::unique_ptr<icu::SimpleDateFormat>> formats;
};

XlsxCalendar::Kind XlsxCalendar::ofLcid(unsigned lcid)
{
    // The calendar ids of Windows locale data.
    switch ((lcid >> 16) & 0xFF) {
    case 3:
        return Kind::Japanese;
    case 4:
        return Kind::Roc;
    case 6:
        return Kind::Hijri;
    case 7:
        return Kind::Buddhist;
    case 5:
        return Kind::Tangun;
    case 8:
        return Kind::Hebrew;
    case 0x17:
        return Kind::UmAlQura;
    default:
        return Kind::Gregorian;
    }
}

XlsxCalendar::XlsxCalendar(Kind kind, const QString &locale) : m_kind(kind), m_impl(std::make_unique<Impl>())
{
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale base = locale.isEmpty() ? icu::Locale::getEnglish()
                                        : icu::Locale::forLanguageTag(locale.toStdString(), status);
    if (U_FAILURE(status) || base.isBogus())
        base = icu::Locale::getEnglish();
    status = U_ZERO_ERROR;
    base.setKeywordValue("calendar", calendarName(kind), status);
    base.setKeywordValue("numbers", "latn", status); // the code's own digits are Western
    m_impl->locale = base;
    status = U_ZERO_ERROR;
    m_impl->calendar.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), base, status));
    if (U_FAILURE(status))
        m_impl->calendar.reset();
}

XlsxCalendar::~XlsxCalendar() = default;

XlsxCalendar::Day XlsxCalendar::dayOf(const QDate &date) const
{
    const std::lock_guard<std::mutex> hold(m_impl->lock);
    icu::Calendar *c = m_impl->calendar.get();
    UErrorCode status = U_ZERO_ERROR;
    if (!c)
        return {date.year(), date.month(), date.day()};
    c->setTime(noonOf(date), status);
    // The Tangun era counts its years from 2333 BC; no calendar of ICU reckons them so.
    constexpr int TangunYears = 2333;
    Day d{c->get(UCAL_YEAR, status) + (m_kind == Kind::Tangun ? TangunYears : 0),
          c->get(UCAL_MONTH, status) + 1, c->get(UCAL_DATE, status)};
    if (U_FAILURE(status))
        return {date.year(), date.month(), date.day()};
    return d;
}

std::string XlsxCalendar::formatted(const QDate &date, const char *pattern) const
{
    const std::lock_guard<std::mutex> hold(m_impl->lock);
    auto &format = m_impl->formats[pattern];
    UErrorCode status = U_ZERO_ERROR;
    if (!format) {
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(pattern, -1, US_INV),
                                                         m_impl->locale, status);
        if (U_FAILURE(status)) {
            format.reset();
            return {};
        }
        format->adoptTimeZone(icu::TimeZone::getGMT()->clone());
    }
    icu::UnicodeString out;
    format->format(noonOf(date), out);
    return utf8(out);
}

std::string XlsxCalendar::eraOf(const QDate &date, int width) const
{
    if (width == 1)
        return formatted(date, "GGGGG");
    if (width >= 3)
        return formatted(date, "GGGG");
    const QString abbreviated = QString::fromStdString(formatted(date, "G"));
    if (abbreviated.isEmpty())
        return {};
    const qsizetype n = abbreviated.front().isHighSurrogate() ? 2 : 1;
    return abbreviated.left(n).toStdString();
}

std::string XlsxCalendar::monthOf(const QDate &date, int width, bool dated) const
{
    if (width == 3)
        return formatted(date, dated ? "MMM" : "LLL");
    return formatted(date, dated ? "MMMM" : "LLLL");
}
