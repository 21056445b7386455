#include "XlsxDateFormat.h"

#include "XlsxLocale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>

namespace
{

const char *const monthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
const char *const dayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

constexpr double kLastSerial = 2958466.0; // the day after 9999-12-31 in the 1900 system

std::string padded(int64_t value, int width)
{
    std::string s = std::to_string(value);
    if (int(s.size()) < width)
        s.insert(0, size_t(width) - s.size(), '0');
    return s;
}

// A calendar day with the weekday a spreadsheet gives it (0 Sunday).
struct Day {
    int year = 1900, month = 1, day = 0, weekday = 6;
};

// Days from the epoch to a calendar day. The 1900 system counts 1900-01-01 as day 1 and, as the
// first spreadsheets did, a 29 February 1900 as day 60; day 0 reads 1900-01-00.
Day dayOf(int64_t days, bool date1904)
{
    Day d;
    if (!date1904 && days < 61) {
        d.weekday = int((days + 6) % 7); // day 1 is a Sunday there
        if (days == 0)
            return d;
        if (days == 60) {
            d.month = 2;
            d.day = 29;
            return d;
        }
        const QDate q = QDate(1899, 12, 31).addDays(days);
        d.year = q.year();
        d.month = q.month();
        d.day = q.day();
        return d;
    }
    const QDate q = date1904 ? QDate(1904, 1, 1).addDays(days) : QDate(1899, 12, 30).addDays(days);
    d.year = q.year();
    d.month = q.month();
    d.day = q.day();
    d.weekday = q.dayOfWeek() % 7;
    return d;
}

// The first letter of a name, as "mmmmm" shows it.
std::string firstLetter(const std::string &utf8)
{
    size_t end = utf8.empty() ? 0 : 1;
    while (end < utf8.size() && (uchar(utf8[end]) & 0xC0) == 0x80)
        ++end;
    return utf8.substr(0, end);
}

bool lowerIs(QStringView code, qsizetype at, QLatin1String word)
{
    return code.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

qsizetype runOf(QStringView code, qsizetype at, QChar lower)
{
    qsizetype n = 0;
    while (at + n < code.size() && code[at + n].toLower() == lower)
        ++n;
    return n;
}

} // namespace

// The names of the locale's language (XlsxLocale), English for none. A month beside a
// day of the month takes the form the locale writes in a date, where a language declines it
// ("1 марта"); alone it takes its own form ("март"). A form that only puts a preposition before
// the name (Catalan "de març") is left aside, since format codes write their own.
const XlsxDateFormat::Names *XlsxDateFormat::namesOf(const std::optional<QLocale> &locale)
{
    static const Names english = [] {
        Names n;
        for (int k = 0; k < 12; ++k) {
            n.months[k] = n.datedMonths[k] = monthNames[k];
            n.shortMonths[k] = n.shortDatedMonths[k] = n.months[k].substr(0, 3);
        }
        for (int k = 0; k < 7; ++k) {
            n.days[k] = dayNames[k];
            n.shortDays[k] = n.days[k].substr(0, 3);
        }
        return n;
    }();
    if (!locale)
        return &english;
    static std::mutex lock;
    static std::map<QString, Names> known; // by locale name; nodes stay where they are
    const std::lock_guard<std::mutex> hold(lock);
    const auto [it, added] = known.try_emplace(locale->bcp47Name());
    if (added)
        it->second = namesFrom(*locale);
    return &it->second;
}

XlsxDateFormat::Names XlsxDateFormat::namesFrom(const QLocale &locale)
{
    const auto dated = [](const QString &inDate, const QString &alone) {
        const bool preposition = inDate.size() > alone.size() && inDate.endsWith(alone, Qt::CaseInsensitive);
        return (preposition ? alone : inDate).toStdString();
    };
    Names n;
    for (int k = 0; k < 12; ++k) {
        const QString alone = locale.standaloneMonthName(k + 1, QLocale::LongFormat);
        const QString shortAlone = locale.standaloneMonthName(k + 1, QLocale::ShortFormat);
        n.months[k] = alone.toStdString();
        n.datedMonths[k] = dated(locale.monthName(k + 1, QLocale::LongFormat), alone);
        // Short names are the locale's abbreviations, their period kept where it has one alone
        // as in a date ("1 mrt. 2024", "1 мар. 2024", "janv."); only a dated form that does no
        // more than add a period to the name alone ("1 Jan." beside "Jan") is not taken. A real
        // dated form ("15 мая") is.
        const QString shortInDate = locale.monthName(k + 1, QLocale::ShortFormat);
        const bool onlyPeriod = shortInDate == shortAlone + QLatin1Char('.');
        n.shortMonths[k] = shortAlone.toStdString();
        n.shortDatedMonths[k] = onlyPeriod ? shortAlone.toStdString() : dated(shortInDate, shortAlone);
    }
    for (int k = 0; k < 7; ++k) { // Qt counts from Monday (1), a workbook from Sunday (0)
        n.days[k] = locale.standaloneDayName(k == 0 ? 7 : k, QLocale::LongFormat).toStdString();
        n.shortDays[k] = locale.standaloneDayName(k == 0 ? 7 : k, QLocale::ShortFormat).toStdString();
    }
    return n;
}

// Reads the first section of a format code into parts, one token at a time.
class XlsxDateFormat::Parser
{
public:
    Parser(XlsxDateFormat &format, QStringView code) : m_format(format), m_parts(format.m_parts), m_code(code)
    {
    }
    // False when the code is a number format: "General", or nothing of a date or time.
    bool run();

private:
    bool token();
    void literal(const std::string &text);
    void quoted();
    void bracket();
    void amPm(qsizetype length);
    void field(QChar lower);
    bool eastAsian(QChar lower);
    bool fractionFollows() const;
    void fraction();
    static void resolveMinutes(std::vector<Part> &parts);

    XlsxDateFormat &m_format;
    std::vector<Part> &m_parts;
    QStringView m_code;
    qsizetype m_at = 0;
    bool m_shows = false;
    bool m_eras = false;   // an era, era year, Buddhist year or day name code
    bool m_digits = false; // a digit placeholder: such codes are a number's
    unsigned m_digitByte = 0;
    int m_dbnum = 0;
    bool m_gannen = false; // the locale tag names the first year of an era
};

bool XlsxDateFormat::Parser::run()
{
    // Only the first section counts: dates are never negative.
    while (m_at < m_code.size() && m_code[m_at] != QLatin1Char(';')) {
        if (!token())
            return false;
    }
    if (!m_shows && (!m_eras || m_digits))
        return false;
    resolveMinutes(m_parts);
    // A "/" stands for the date separator of the tag's locale, as spreadsheets write and read it:
    // "[$-419]dd/mm/yyyy" shows 10.03.2024.
    const std::string separator =
        m_format.m_locale ? XlsxLocale::dateSeparatorOf(*m_format.m_locale).toStdString() : std::string("/");
    for (Part &p : m_parts) {
        if (p.kind == Kind::DateSeparator)
            p = {Kind::Literal, 1, separator};
    }
    m_format.m_numerals = XlsxNumerals::of(m_format.m_locale, m_dbnum, m_digitByte);
    const bool japanese = m_format.m_locale && m_format.m_locale->language() == QLocale::Japanese;
    m_format.m_firstYearNamed = japanese && (m_gannen || (m_dbnum > 0 && m_format.m_numerals));
    m_format.takeCalendars(std::any_of(m_parts.begin(), m_parts.end(), [](const Part &p) {
        return p.kind == Kind::Era || p.kind == Kind::EraYear;
    }));
    m_format.m_monthsDated =
        std::any_of(m_parts.begin(), m_parts.end(), [](const Part &p) { return p.kind == Kind::Day; });
    return true;
}

// Reads the token at m_at and moves past it; false at "General".
bool XlsxDateFormat::Parser::token()
{
    const QChar c = m_code[m_at];
    const QChar lower = c.toLower();
    if (c == QLatin1Char('"')) {
        quoted();
    } else if (c == QLatin1Char('\\')) {
        if (m_at + 1 < m_code.size())
            literal(m_code.mid(m_at + 1, 1).toUtf8().toStdString());
        m_at += 2;
    } else if (c == QLatin1Char('_')) {
        literal(" ");
        m_at += 2;
    } else if (c == QLatin1Char('*')) {
        m_at += 2;
    } else if (c == QLatin1Char('[')) {
        bracket();
    } else if (lowerIs(m_code, m_at, QLatin1String("am/pm"))) {
        amPm(5);
    } else if (lowerIs(m_code, m_at, QLatin1String("a/p"))) {
        amPm(3);
    } else if (lowerIs(m_code, m_at, QLatin1String("general"))) {
        return false;
    } else if (lower == QLatin1Char('y') || lower == QLatin1Char('m') || lower == QLatin1Char('d') ||
               lower == QLatin1Char('h') || lower == QLatin1Char('s')) {
        field(lower);
    } else if (c == QLatin1Char('/')) {
        m_parts.push_back({Kind::DateSeparator, 1, {}});
        ++m_at;
    } else if (fractionFollows()) {
        fraction();
    } else if (!eastAsian(lower)) {
        m_digits = m_digits || c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('?');
        literal(m_code.mid(m_at, 1).toUtf8().toStdString());
        ++m_at;
    }
    return true;
}

void XlsxDateFormat::Parser::literal(const std::string &text)
{
    if (text.empty())
        return;
    if (!m_parts.empty() && m_parts.back().kind == Kind::Literal)
        m_parts.back().text += text;
    else
        m_parts.push_back({Kind::Literal, 1, text});
}

void XlsxDateFormat::Parser::quoted()
{
    const qsizetype end = m_code.indexOf(QLatin1Char('"'), m_at + 1);
    const qsizetype stop = end < 0 ? m_code.size() : end;
    literal(m_code.mid(m_at + 1, stop - m_at - 1).toUtf8().toStdString());
    m_at = stop + 1;
}

void XlsxDateFormat::Parser::bracket()
{
    const qsizetype end = m_code.indexOf(QLatin1Char(']'), m_at + 1);
    const QStringView inner = m_code.mid(m_at + 1, (end < 0 ? m_code.size() : end) - m_at - 1);
    m_at = end < 0 ? m_code.size() : end + 1;
    const QChar first = inner.isEmpty() ? QChar() : inner.front().toLower();
    if ((first == QLatin1Char('h') || first == QLatin1Char('m') || first == QLatin1Char('s')) &&
        runOf(inner, 0, first) == inner.size()) {
        const Kind k = first == QLatin1Char('h')   ? Kind::ElapsedHours
                       : first == QLatin1Char('m') ? Kind::ElapsedMinutes
                                                   : Kind::ElapsedSeconds;
        m_parts.push_back({k, int(inner.size()), {}});
        m_shows = true;
    } else if (inner.size() == 6 && inner.startsWith(QLatin1String("dbnum"), Qt::CaseInsensitive) &&
               inner[5] >= QLatin1Char('1') && inner[5] <= QLatin1Char('9')) {
        m_dbnum = inner[5].digitValue();
    } else if (first == QLatin1Char('$')) {
        // [$€-407]: a currency symbol, which is shown, and a locale, whose names are written.
        // The locale is a hexadecimal id or a name ("[$-ja-JP]").
        const qsizetype dash = inner.indexOf(QLatin1Char('-'));
        literal(inner.mid(1, (dash < 0 ? inner.size() : dash) - 1).toUtf8().toStdString());
        bool ok = false;
        QStringView tag = dash < 0 ? QStringView() : inner.mid(dash + 1);
        const unsigned lcid = tag.toUInt(&ok, 16);
        // "ja-JP-x-gannen": Japanese, the first year of an era named 元.
        const QLatin1String gannen("-x-gannen");
        if (!ok && tag.endsWith(gannen, Qt::CaseInsensitive)) {
            tag.chop(gannen.size());
            m_gannen = true;
        }
        if (ok) {
            m_format.m_locale = XlsxLocale::ofLcid(lcid);
            m_format.m_calendarKind = XlsxCalendar::ofLcid(lcid);
            m_digitByte = lcid >> 24;
        } else if (!tag.isEmpty()) {
            m_format.m_locale = XlsxLocale::ofName(tag);
        }
        if (ok || !tag.isEmpty())
            m_format.m_names = namesOf(m_format.m_locale);
    } // colours, conditions and other bracketed codes show nothing
}

void XlsxDateFormat::Parser::amPm(qsizetype length)
{
    m_parts.push_back({Kind::AmPm, 1, m_code.mid(m_at, length).toUtf8().toStdString()});
    m_format.m_twelveHour = true;
    m_at += length;
}

// A run of one of y, m, d, h and s; "m" is taken for a month until resolveMinutes.
void XlsxDateFormat::Parser::field(QChar lower)
{
    const int n = int(runOf(m_code, m_at, lower));
    m_at += n;
    m_shows = true;
    if (lower == QLatin1Char('y'))
        m_parts.push_back({n <= 2 ? Kind::Year2 : Kind::Year4, n <= 2 ? 2 : 4, {}});
    else if (lower == QLatin1Char('m'))
        m_parts.push_back({n >= 3 ? Kind::MonthName : Kind::Month, std::min(n, 5), {}});
    else if (lower == QLatin1Char('d'))
        m_parts.push_back({n >= 3 ? Kind::DayName : Kind::Day, std::min(n, 4), {}});
    else if (lower == QLatin1Char('h'))
        m_parts.push_back({Kind::Hour, std::min(n, 2), {}});
    else
        m_parts.push_back({Kind::Second, std::min(n, 2), {}});
}

// The codes of East-Asian dates: g (the era), e (the year within it), bb and bbbb (the Buddhist
// year), b1 and b2 (the Gregorian and Hijri calendars), aaa and aaaa (the day's name). False for
// a letter that is none of them; "e" before a sign is a number's exponent.
bool XlsxDateFormat::Parser::eastAsian(QChar lower)
{
    const int n = int(runOf(m_code, m_at, lower));
    const QChar next = m_at + 1 < m_code.size() ? m_code[m_at + 1] : QChar();
    if (lower == QLatin1Char('g')) {
        m_parts.push_back({Kind::Era, std::min(n, 3), {}});
    } else if (lower == QLatin1Char('e') && next != QLatin1Char('+') && next != QLatin1Char('-')) {
        m_parts.push_back({Kind::EraYear, std::min(n, 2), {}});
    } else if (lower == QLatin1Char('b') && n >= 2) {
        m_parts.push_back({Kind::BuddhistYear, n >= 3 ? 4 : 2, {}});
    } else if (lower == QLatin1Char('b') && (next == QLatin1Char('1') || next == QLatin1Char('2'))) {
        m_format.m_calendarKind =
            next == QLatin1Char('2') ? XlsxCalendar::Kind::Hijri : XlsxCalendar::Kind::Gregorian;
        m_at += 2;
        return true;
    } else if (lower == QLatin1Char('a') && n >= 3) {
        m_parts.push_back({Kind::DayName, n == 3 ? 3 : 4, {}});
    } else {
        return false;
    }
    m_at += n;
    m_eras = true;
    return true;
}

// ".0" right after seconds: their fraction.
bool XlsxDateFormat::Parser::fractionFollows() const
{
    return m_code[m_at] == QLatin1Char('.') && m_at + 1 < m_code.size() &&
           m_code[m_at + 1] == QLatin1Char('0') && !m_parts.empty() &&
           (m_parts.back().kind == Kind::Second || m_parts.back().kind == Kind::ElapsedSeconds);
}

void XlsxDateFormat::Parser::fraction()
{
    const int n = int(runOf(m_code, m_at + 1, QLatin1Char('0')));
    m_parts.push_back({Kind::Fraction, std::min(n, 3), {}});
    m_format.m_fractionDigits = std::min(n, 3);
    m_at += 1 + n;
}

// "m" and "mm" are minutes right after hours or right before seconds, months otherwise.
void XlsxDateFormat::Parser::resolveMinutes(std::vector<Part> &parts)
{
    for (size_t k = 0; k < parts.size(); ++k) {
        if (parts[k].kind != Kind::Month)
            continue;
        Kind before = Kind::Literal, after = Kind::Literal;
        for (size_t j = k; j-- > 0;) {
            if (parts[j].kind != Kind::Literal) {
                before = parts[j].kind;
                break;
            }
        }
        for (size_t j = k + 1; j < parts.size(); ++j) {
            if (parts[j].kind != Kind::Literal) {
                after = parts[j].kind;
                break;
            }
        }
        if (before == Kind::Hour || before == Kind::ElapsedHours || after == Kind::Second ||
            after == Kind::ElapsedSeconds)
            parts[k].kind = Kind::Minute;
    }
}

std::unique_ptr<XlsxDateFormat> XlsxDateFormat::parse(QStringView code)
{
    auto f = std::make_unique<XlsxDateFormat>();
    if (!Parser(*f, code).run())
        return nullptr;
    return f;
}

std::string XlsxDateFormat::format(double serial, bool date1904) const
{
    if (!std::isfinite(serial) || serial < 0 || serial >= kLastSerial)
        return {};
    // Round once to what the format shows, so 59.6 s under "ss" reads as the next minute.
    int64_t unit = 1000;
    for (int k = 0; k < m_fractionDigits; ++k)
        unit /= 10;
    const int64_t ms = std::llround(serial * double(XlsxDateFormat::MsPerDay) / double(unit)) * unit;
    const Day d = dayOf(ms / XlsxDateFormat::MsPerDay, date1904);
    const QDate date(d.year, d.month, d.day); // invalid on the days no calendar has
    return write({d.year, d.month, d.day, d.weekday, ms % XlsxDateFormat::MsPerDay, ms, date});
}

std::string XlsxDateFormat::format(const QDate &date, int64_t msOfDay, double serial) const
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return write({date.year(), date.month(), date.day(), date.dayOfWeek() % 7, msOfDay,
                  std::llround(serial * double(XlsxDateFormat::MsPerDay)), date});
}

// The calendars the tag names: the era codes reckon in it, or else in the Japanese eras under a
// Japanese locale and the Republic of China's under a Taiwanese one. The year, month and day
// reckon in a Buddhist, Hijri or Hebrew calendar; under a Japanese or Taiwanese one they stay
// Gregorian, whose eras only the era codes show, as spreadsheets show them.
void XlsxDateFormat::takeCalendars(bool eras)
{
    using Calendar = XlsxCalendar::Kind;
    const QString tag = m_locale ? m_locale->bcp47Name() : QString();
    if (m_calendarKind != Calendar::Gregorian && m_calendarKind != Calendar::Japanese &&
        m_calendarKind != Calendar::Roc)
        m_calendar = std::make_unique<XlsxCalendar>(m_calendarKind, tag);
    if (!eras)
        return;
    Calendar era = m_calendarKind;
    if (era == Calendar::Gregorian && m_locale && m_locale->language() == QLocale::Japanese)
        era = Calendar::Japanese;
    else if (era == Calendar::Gregorian && m_locale && m_locale->language() == QLocale::Chinese &&
             m_locale->territory() == QLocale::Taiwan)
        era = Calendar::Roc;
    m_eraCalendar = std::make_unique<XlsxCalendar>(era, tag);
}

// A part the calendar writes: the era codes, and the year, month and day in the tag's calendar.
std::string XlsxDateFormat::writeInCalendar(const Part &p, const Moment &m) const
{
    const XlsxCalendar *era = m.date.isValid() ? m_eraCalendar.get() : nullptr;
    const XlsxCalendar::Day day = m_calendar && m.date.isValid() ? m_calendar->dayOf(m.date)
                                                                 : XlsxCalendar::Day{m.year, m.month, m.day};
    switch (p.kind) {
    case Kind::Era:
        return era ? era->eraOf(m.date, p.width) : std::string();
    case Kind::EraYear:
        return padded(era ? era->dayOf(m.date).year : m.year, p.width);
    case Kind::BuddhistYear:
        return p.width == 2 ? padded((m.year + 543) % 100, 2) : padded(m.year + 543, 4);
    case Kind::Year2:
        return padded(day.year % 100, 2);
    case Kind::Year4:
        return padded(day.year, 4);
    case Kind::Month:
        return padded(day.month, p.width);
    case Kind::Day:
        return padded(day.day, p.width);
    case Kind::MonthName: {
        const std::string name = m_calendar->monthOf(m.date, p.width == 3 ? 3 : 4, m_monthsDated);
        return p.width == 5 ? firstLetter(name) : name;
    }
    default:
        return {};
    }
}

// A part in the numerals of the code: a year digit by digit (二〇二四), the other numbers as
// values (十二), an era's first year by its name where it has one (元年).
std::string XlsxDateFormat::inNumerals(const Part &p, const std::string &shown) const
{
    if (p.kind == Kind::EraYear && m_firstYearNamed && (shown == "1" || shown == "01"))
        return XlsxNumerals::firstEraYear();
    if (!m_numerals)
        return shown;
    switch (p.kind) {
    case Kind::Year2:
    case Kind::Year4:
    case Kind::BuddhistYear:
    case Kind::Fraction:
        return m_numerals->digits(shown);
    case Kind::EraYear:
    case Kind::Month:
    case Kind::Day:
    case Kind::Hour:
    case Kind::Minute:
    case Kind::Second:
    case Kind::ElapsedHours:
    case Kind::ElapsedMinutes:
    case Kind::ElapsedSeconds:
        return m_numerals->value(shown);
    default:
        return shown;
    }
}

std::string XlsxDateFormat::write(const Moment &m) const
{
    const int hour = int(m.msOfDay / 3600000);
    const int minute = int(m.msOfDay / 60000 % 60);
    const int second = int(m.msOfDay / 1000 % 60);
    const int millis = int(m.msOfDay % 1000);

    // The Japanese, Taiwanese and Buddhist calendars name the Gregorian months; the others their own.
    const bool ownMonths = m_calendar && (m_calendarKind == XlsxCalendar::Kind::Hijri ||
                                          m_calendarKind == XlsxCalendar::Kind::Hebrew ||
                                          m_calendarKind == XlsxCalendar::Kind::UmAlQura);
    const auto inCalendar = [&](Kind k) {
        return k == Kind::Era || k == Kind::EraYear || k == Kind::BuddhistYear ||
               (m_calendar && m.date.isValid() &&
                (k == Kind::Year2 || k == Kind::Year4 || k == Kind::Month || k == Kind::Day ||
                 (k == Kind::MonthName && ownMonths)));
    };
    std::string out;
    for (const Part &p : m_parts) {
        if (inCalendar(p.kind)) {
            out += inNumerals(p, writeInCalendar(p, m));
            continue;
        }
        std::string piece;
        switch (p.kind) {
        case Kind::Literal:
            piece += p.text;
            break;
        case Kind::Year2:
            piece += padded(m.year % 100, 2);
            break;
        case Kind::Year4:
            piece += padded(m.year, 4);
            break;
        case Kind::Month:
            piece += padded(m.month, p.width);
            break;
        case Kind::MonthName: {
            const int k = m.month - 1;
            if (p.width == 5)
                piece += firstLetter(m_names->months[k]);
            else if (p.width == 3)
                piece += m_monthsDated ? m_names->shortDatedMonths[k] : m_names->shortMonths[k];
            else
                piece += m_monthsDated ? m_names->datedMonths[k] : m_names->months[k];
            break;
        }
        case Kind::Day:
            piece += padded(m.day, p.width);
            break;
        case Kind::DayName:
            piece += p.width == 3 ? m_names->shortDays[m.weekday] : m_names->days[m.weekday];
            break;
        case Kind::Hour: {
            int h = hour;
            if (m_twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            piece += padded(h, p.width);
            break;
        }
        case Kind::Minute:
            piece += padded(minute, p.width);
            break;
        case Kind::Second:
            piece += padded(second, p.width);
            break;
        case Kind::Fraction:
            piece += '.' + padded(millis, 3).substr(0, size_t(p.width));
            break;
        case Kind::AmPm: {
            const bool pm = hour >= 12;
            const bool upper = p.text.front() == 'A' || p.text.front() == 'P';
            if (p.text.size() == 3)
                piece += upper ? (pm ? "P" : "A") : (pm ? "p" : "a");
            else
                piece += upper ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
            break;
        }
        case Kind::ElapsedHours:
            piece += padded(m.elapsedMs / 3600000, p.width);
            break;
        case Kind::ElapsedMinutes:
            piece += padded(m.elapsedMs / 60000, p.width);
            break;
        case Kind::ElapsedSeconds:
            piece += padded(m.elapsedMs / 1000, p.width);
            break;
        default: // the calendar's parts, written above
            break;
        }
        out += inNumerals(p, piece);
    }
    return out;
}
