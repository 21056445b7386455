#include "XlsxCellFormats.h"

#include "XlsxXmlScanner.h"

#include <QDate>

#include <charconv>
#include <cmath>

namespace
{

struct BuiltInFormatCode {
    int id;
    const char *code;
};

constexpr BuiltInFormatCode kBuiltInDateCodes[] = {
    {14, "m/d/yyyy"},      {15, "d-mmm-yy"},      {16, "d-mmm"},     {17, "mmm-yy"},
    {18, "h:mm AM/PM"},    {19, "h:mm:ss AM/PM"}, {20, "h:mm"},      {21, "h:mm:ss"},
    {22, "m/d/yyyy h:mm"}, {45, "mm:ss"},         {46, "[h]:mm:ss"}, {47, "mm:ss.0"},
};

// The currency and accounting ids (5-8, 41-44) as an English (United States) spreadsheet shows them.
constexpr BuiltInFormatCode kBuiltInNumberCodes[] = {
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {5, "\"$\"#,##0_);(\"$\"#,##0)"},
    {6, "\"$\"#,##0_);[Red](\"$\"#,##0)"},
    {7, "\"$\"#,##0.00_);(\"$\"#,##0.00)"},
    {8, "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13, "# ??"
         "/??"}, // split so that no trigraph is read
    {37, "#,##0 ;(#,##0)"},
    {38, "#,##0 ;[Red](#,##0)"},
    {39, "#,##0.00;(#,##0.00)"},
    {40, "#,##0.00;[Red](#,##0.00)"},
    {41, "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
    {42, "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)"},
    {43, "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)"},
    {44, "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)"},
    {48, "##0.0E+0"},
    {49, "@"},
};

template <size_t N> QString builtInCodeOf(const BuiltInFormatCode (&codes)[N], int numFmtId)
{
    for (const BuiltInFormatCode &c : codes) {
        if (c.id == numFmtId)
            return QString::fromLatin1(c.code);
    }
    return {};
}

bool digitsAt(std::string_view s, size_t at, size_t count, int *value)
{
    if (at + count > s.size())
        return false;
    *value = 0;
    for (size_t k = at; k < at + count; ++k) {
        if (s[k] < '0' || s[k] > '9')
            return false;
        *value = *value * 10 + (s[k] - '0');
    }
    return true;
}

bool charAt(std::string_view s, size_t at, char c)
{
    return at < s.size() && s[at] == c;
}

// hh:mm, hh:mm:ss or hh:mm:ss.fff from `at`, moving it past the time. The fraction of a second
// is dropped, as spreadsheets read such cells.
bool readTime(std::string_view s, size_t *at, qint64 *ms)
{
    int hour = 0, minute = 0, second = 0;
    if (!digitsAt(s, *at, 2, &hour) || !charAt(s, *at + 2, ':') || !digitsAt(s, *at + 3, 2, &minute))
        return false;
    *at += 5;
    if (charAt(s, *at, ':')) {
        if (!digitsAt(s, *at + 1, 2, &second))
            return false;
        *at += 3;
        if (charAt(s, *at, '.') || charAt(s, *at, ',')) {
            const size_t start = ++*at;
            while (*at < s.size() && s[*at] >= '0' && s[*at] <= '9')
                ++*at;
            if (*at == start)
                return false;
        }
    }
    if (hour > 24 || minute > 59 || second > 59 || (hour == 24 && minute + second > 0))
        return false;
    *ms = ((hour * 60 + minute) * 60 + second) * qint64(1000);
    return true;
}

// Z, +hh:mm, +hhmm or +hh from `at` to the end: the offset from UTC; nothing is no offset.
bool readZone(std::string_view s, size_t at, qint64 *ms)
{
    *ms = 0;
    if (at == s.size() || (s[at] == 'Z' && at + 1 == s.size()))
        return true;
    int hours = 0, minutes = 0;
    if ((s[at] != '+' && s[at] != '-') || !digitsAt(s, at + 1, 2, &hours))
        return false;
    const size_t rest = at + 3 + (charAt(s, at + 3, ':') ? 1 : 0);
    if (rest < s.size() && (!digitsAt(s, rest, 2, &minutes) || rest + 2 != s.size()))
        return false;
    if (rest == s.size() && rest != at + 3)
        return false;
    *ms = (hours * 60 + minutes) * qint64(60000) * (s[at] == '-' ? -1 : 1);
    return hours <= 23 && minutes <= 59;
}

} // namespace

// A date cell's text: a date, a date and time, or a time alone (its date left invalid), the time
// moved to UTC when an offset is written.
bool XlsxCellFormats::readIsoMoment(std::string_view s, IsoMoment *m)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    size_t at = 0;
    int year = 0, month = 0, day = 0;
    if (digitsAt(s, 0, 4, &year) && charAt(s, 4, '-') && digitsAt(s, 5, 2, &month) && charAt(s, 7, '-') &&
        digitsAt(s, 8, 2, &day)) {
        m->date = QDate(year, month, day);
        if (!m->date.isValid())
            return false;
        if (s.size() == 10)
            return true;
        if (!charAt(s, 10, 'T'))
            return false;
        at = 11;
    }
    qint64 offset = 0;
    if (!readTime(s, &at, &m->msOfDay) || !readZone(s, at, &offset))
        return false;
    m->msOfDay -= offset;
    const qint64 days = m->msOfDay < 0 ? -1 : m->msOfDay / XlsxDateFormat::MsPerDay;
    m->msOfDay -= days * XlsxDateFormat::MsPerDay;
    if (m->date.isValid())
        m->date = m->date.addDays(days);
    return true;
}

QString XlsxCellFormats::builtInDateCode(int numFmtId)
{
    return builtInCodeOf(kBuiltInDateCodes, numFmtId);
}

QString XlsxCellFormats::builtInNumberCode(int numFmtId)
{
    return builtInCodeOf(kBuiltInNumberCodes, numFmtId);
}

const XlsxCellFormats::CellFormat *XlsxCellFormats::formatOfId(int numFmtId)
{
    const auto found = m_byId.constFind(numFmtId);
    if (found != m_byId.constEnd())
        return found->get();
    // A code the workbook declares wins over the built-in one of the same id.
    QString code = m_codes.value(numFmtId);
    if (!m_codes.contains(numFmtId)) {
        code = builtInDateCode(numFmtId);
        if (code.isEmpty())
            code = builtInNumberCode(numFmtId);
    }
    std::shared_ptr<CellFormat> f;
    if (!code.isEmpty() && code.size() <= LongestCode) {
        auto date = XlsxDateFormat::parse(code);
        auto number = date ? nullptr : XlsxNumberFormat::parse(code);
        auto text = XlsxTextFormat::parse(code);
        if (date || number || text)
            f = std::make_shared<CellFormat>(CellFormat{std::move(date), std::move(number), std::move(text)});
    }
    m_byId.insert(numFmtId, f);
    return f.get();
}

bool XlsxCellFormats::read(XlsxXmlScanner &xml)
{
    using Token = XlsxXmlScanner::Token;
    bool inCellXfs = false;
    int xfDepth = 0;
    std::string value;
    for (Token t = xml.next(); t != Token::EndOfDocument; t = xml.next()) {
        if (t == Token::Invalid)
            return false;
        if (xml.name() == "cellXfs") {
            inCellXfs = t == Token::StartElement;
            xfDepth = xml.depth() + 1;
            continue;
        }
        if (t != Token::StartElement)
            continue;
        if (xml.name() == "numFmt" && m_codes.size() < MaxStyles) {
            int id = -1;
            if (xml.attribute("numFmtId", &value))
                std::from_chars(value.data(), value.data() + value.size(), id);
            if (id >= 0 && xml.attribute("formatCode", &value))
                m_codes.insert(id, QString::fromStdString(value));
        } else if (inCellXfs && xml.name() == "xf" && xml.depth() == xfDepth) {
            if (m_styles.size() >= size_t(MaxStyles))
                return false;
            int id = 0;
            if (xml.attribute("numFmtId", &value))
                std::from_chars(value.data(), value.data() + value.size(), id);
            m_styles.push_back(formatOfId(id));
        }
    }
    return true;
}

const XlsxCellFormats::CellFormat *XlsxCellFormats::styleFormat(int style) const
{
    return style >= 0 && size_t(style) < m_styles.size() ? m_styles[size_t(style)] : nullptr;
}

const XlsxDateFormat *XlsxCellFormats::dateFormat(int style) const
{
    const CellFormat *f = styleFormat(style);
    return f ? f->date.get() : nullptr;
}

bool XlsxCellFormats::formatCell(int style, std::string_view stored, std::string *out) const
{
    while (!stored.empty() && (stored.front() == ' ' || stored.front() == '+'))
        stored.remove_prefix(1);
    while (!stored.empty() && stored.back() == ' ')
        stored.remove_suffix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (ec != std::errc() || end != stored.data() + stored.size() || !std::isfinite(value))
        return false;
    *out = formatValue(styleFormat(style), value);
    return true;
}

std::string XlsxCellFormats::formatValue(const CellFormat *f, double value) const
{
    if (f && f->number)
        return f->number->format(value); // may be "": an empty section shows nothing
    std::string shown;
    if (f && f->date)
        shown = f->date->format(value, m_date1904); // "" out of the calendar: General then
    return shown.empty() ? XlsxNumberFormat::general(value) : shown;
}

const XlsxTextFormat *XlsxCellFormats::textFormat(int style) const
{
    const CellFormat *f = styleFormat(style);
    return f ? f->text.get() : nullptr;
}

bool XlsxCellFormats::formatIsoDate(int style, std::string_view stored, std::string *out) const
{
    IsoMoment m;
    if (!readIsoMoment(stored, &m))
        return false;
    qint64 days = 0;
    if (m.date.isValid()) {
        days = m_date1904 ? QDate(1904, 1, 1).daysTo(m.date) : QDate(1899, 12, 30).daysTo(m.date);
        if (!m_date1904 && m.date < QDate(1900, 3, 1))
            --days; // the 1900 system counts a 29 February 1900
    }
    const double serial = double(days) + double(m.msOfDay) / double(XlsxDateFormat::MsPerDay);
    const CellFormat *f = styleFormat(style);
    if (f && f->date && m.date.isValid()) {
        *out = f->date->format(m.date, m.msOfDay, serial);
        if (!out->empty())
            return true;
    }
    *out = formatValue(f, serial);
    return true;
}
