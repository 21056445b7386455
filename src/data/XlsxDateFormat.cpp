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

// The names of the language the locale id names (XlsxLocale), English for none. A month beside a
// day of the month takes the form the locale writes in a date, where a language declines it
// ("1 марта"); alone it takes its own form ("март"). A form that only puts a preposition before
// the name (Catalan "de març") is left aside, since format codes write their own.
const XlsxDateFormat::Names *XlsxDateFormat::namesOf(unsigned lcid)
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
    const std::optional<QLocale> locale = XlsxLocale::ofLcid(lcid);
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
        n.shortMonths[k] = shortAlone.toStdString();
        n.datedMonths[k] = dated(locale.monthName(k + 1, QLocale::LongFormat), alone);
        // A dated short name that only adds a period ("1 Jan.") is written as spreadsheets
        // write it, without one; a real dated form ("15 мая") is kept.
        const QString shortInDate = locale.monthName(k + 1, QLocale::ShortFormat);
        const bool onlyPeriod = shortInDate == shortAlone + QLatin1Char('.');
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
    bool fractionFollows() const;
    void fraction();
    static void resolveMinutes(std::vector<Part> &parts);

    XlsxDateFormat &m_format;
    std::vector<Part> &m_parts;
    QStringView m_code;
    qsizetype m_at = 0;
    bool m_shows = false;
};

bool XlsxDateFormat::Parser::run()
{
    // Only the first section counts: dates are never negative.
    while (m_at < m_code.size() && m_code[m_at] != QLatin1Char(';')) {
        if (!token())
            return false;
    }
    if (!m_shows)
        return false;
    resolveMinutes(m_parts);
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
    } else if (fractionFollows()) {
        fraction();
    } else {
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
    } else if (first == QLatin1Char('$')) {
        // [$€-407]: a currency symbol, which is shown, and a locale, whose names are written.
        const qsizetype dash = inner.indexOf(QLatin1Char('-'));
        literal(inner.mid(1, (dash < 0 ? inner.size() : dash) - 1).toUtf8().toStdString());
        bool ok = false;
        const unsigned lcid = dash < 0 ? 0 : inner.mid(dash + 1).toUInt(&ok, 16);
        if (ok)
            m_format.m_names = namesOf(lcid);
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
    return write({d.year, d.month, d.day, d.weekday, ms % XlsxDateFormat::MsPerDay, ms});
}

std::string XlsxDateFormat::format(const QDate &date, int64_t msOfDay, double serial) const
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return write({date.year(), date.month(), date.day(), date.dayOfWeek() % 7, msOfDay,
                  std::llround(serial * double(XlsxDateFormat::MsPerDay))});
}

std::string XlsxDateFormat::write(const Moment &m) const
{
    const int hour = int(m.msOfDay / 3600000);
    const int minute = int(m.msOfDay / 60000 % 60);
    const int second = int(m.msOfDay / 1000 % 60);
    const int millis = int(m.msOfDay % 1000);

    std::string out;
    for (const Part &p : m_parts) {
        switch (p.kind) {
        case Kind::Literal:
            out += p.text;
            break;
        case Kind::Year2:
            out += padded(m.year % 100, 2);
            break;
        case Kind::Year4:
            out += padded(m.year, 4);
            break;
        case Kind::Month:
            out += padded(m.month, p.width);
            break;
        case Kind::MonthName: {
            const int k = m.month - 1;
            if (p.width == 5)
                out += firstLetter(m_names->months[k]);
            else if (p.width == 3)
                out += m_monthsDated ? m_names->shortDatedMonths[k] : m_names->shortMonths[k];
            else
                out += m_monthsDated ? m_names->datedMonths[k] : m_names->months[k];
            break;
        }
        case Kind::Day:
            out += padded(m.day, p.width);
            break;
        case Kind::DayName:
            out += p.width == 3 ? m_names->shortDays[m.weekday] : m_names->days[m.weekday];
            break;
        case Kind::Hour: {
            int h = hour;
            if (m_twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            out += padded(h, p.width);
            break;
        }
        case Kind::Minute:
            out += padded(minute, p.width);
            break;
        case Kind::Second:
            out += padded(second, p.width);
            break;
        case Kind::Fraction:
            out += '.' + padded(millis, 3).substr(0, size_t(p.width));
            break;
        case Kind::AmPm: {
            const bool pm = hour >= 12;
            const bool upper = p.text.front() == 'A' || p.text.front() == 'P';
            if (p.text.size() == 3)
                out += upper ? (pm ? "P" : "A") : (pm ? "p" : "a");
            else
                out += upper ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
            break;
        }
        case Kind::ElapsedHours:
            out += padded(m.elapsedMs / 3600000, p.width);
            break;
        case Kind::ElapsedMinutes:
            out += padded(m.elapsedMs / 60000, p.width);
            break;
        case Kind::ElapsedSeconds:
            out += padded(m.elapsedMs / 1000, p.width);
            break;
        }
    }
    return out;
}
