#include "XlsxNumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

// A magnitude as the decimal digits a spreadsheet keeps of it: 15 significant ones. Rounding is
// done on these digits, half away from zero, so 2.675 under "0.00" reads 2.68 as it does there,
// where the binary value (2.67499...) would give 2.67.
struct XlsxNumberFormat::Digits {
    std::string digits; // significant digits without trailing zeros; empty for zero
    int point = 0;      // the value is 0.digits x 10^point

    static Digits of(double magnitude)
    {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", magnitude); // d.dddddddddddddde+XX
        Digits d;
        d.digits.push_back(buf[0]);
        d.digits.append(buf + 2, 14);
        d.point = std::atoi(std::strchr(buf, 'e') + 1) + 1;
        d.trim();
        return d;
    }

    void trim()
    {
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        if (digits.empty())
            point = 0;
    }

    Digits rounded(int fractionDigits) const
    {
        const int keep = point + fractionDigits;
        if (keep >= int(digits.size()))
            return *this;
        Digits r;
        if (keep < 0)
            return r;
        r.digits = digits.substr(0, size_t(keep));
        r.point = point;
        if (digits[size_t(keep)] >= '5') {
            while (!r.digits.empty() && r.digits.back() == '9')
                r.digits.pop_back();
            if (r.digits.empty()) {
                r.digits = "1";
                r.point = point + 1;
            } else {
                ++r.digits.back();
            }
        }
        r.trim();
        return r;
    }

    // The digits before the point, without leading zeros; "" below 1.
    std::string integerPart() const
    {
        if (point <= 0)
            return {};
        std::string s = digits.substr(0, std::min(digits.size(), size_t(point)));
        s.append(size_t(point) - s.size(), '0');
        return s;
    }

    std::string fractionPart(int count) const
    {
        std::string s;
        for (int i = 0; i < count; ++i) {
            const int at = point + i;
            s.push_back(at >= 0 && at < int(digits.size()) ? digits[size_t(at)] : '0');
        }
        return s;
    }
};

// Reads one section of a code (up to its ';') into tokens.
class XlsxNumberFormat::Parser
{
public:
    explicit Parser(QStringView code) : m_code(code) {}
    // False when the section holds what is not shown here.
    bool section(Section *s);
    // Past the ';' ending the section read; false at the end of the code.
    bool next()
    {
        if (m_at >= m_code.size())
            return false;
        ++m_at;
        return true;
    }

private:
    enum class Part { Integer, Fraction, Exponent };
    bool token(Section *s);
    void literal(Section *s, const QString &text);
    bool bracket(Section *s);
    void digit(Section *s, char placeholder);
    void comma(Section *s);
    bool isPlaceholder(qsizetype at) const
    {
        return at < m_code.size() && (m_code[at] == QLatin1Char('0') || m_code[at] == QLatin1Char('#') ||
                                      m_code[at] == QLatin1Char('?'));
    }

    QStringView m_code;
    qsizetype m_at = 0;
    Part m_part = Part::Integer;
    bool m_afterDigits = false; // right after a placeholder or a scaling comma
    bool m_integerHash = false;
};

bool XlsxNumberFormat::Parser::section(Section *s)
{
    m_part = Part::Integer;
    m_afterDigits = false;
    m_integerHash = false;
    while (m_at < m_code.size() && m_code[m_at] != QLatin1Char(';')) {
        if (!token(s))
            return false;
    }
    s->engineering = s->scientific && s->integerDigits > 1 && m_integerHash;
    return true;
}

bool XlsxNumberFormat::Parser::token(Section *s)
{
    const QChar c = m_code[m_at];
    const bool afterDigits = std::exchange(m_afterDigits, false);
    if (c == QLatin1Char('"')) {
        const qsizetype end = m_code.indexOf(QLatin1Char('"'), m_at + 1);
        const qsizetype stop = end < 0 ? m_code.size() : end;
        literal(s, m_code.mid(m_at + 1, stop - m_at - 1).toString());
        m_at = stop + 1;
    } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
        // An escaped character shows itself; _x leaves the room of an x; *x fills, here nothing.
        if (m_at + 1 < m_code.size() && c != QLatin1Char('*'))
            literal(s, c == QLatin1Char('_') ? QStringLiteral(" ") : m_code.mid(m_at + 1, 1).toString());
        m_at += 2;
    } else if (c == QLatin1Char('[')) {
        return bracket(s);
    } else if (isPlaceholder(m_at)) {
        digit(s, char(c.unicode()));
    } else if (c == QLatin1Char('.') && m_part == Part::Integer) {
        s->tokens.push_back({Kind::Point, 0, {}});
        m_part = Part::Fraction;
        ++m_at;
    } else if (c == QLatin1Char(',')) {
        m_afterDigits = afterDigits;
        comma(s);
    } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && m_part != Part::Exponent &&
               m_at + 1 < m_code.size() &&
               (m_code[m_at + 1] == QLatin1Char('+') || m_code[m_at + 1] == QLatin1Char('-')) &&
               s->integerDigits + s->fractionDigits > 0) {
        s->tokens.push_back({Kind::Exponent, 0, QString(c).toStdString()});
        s->scientific = true;
        s->exponentPlus = m_code[m_at + 1] == QLatin1Char('+');
        m_part = Part::Exponent;
        m_at += 2;
    } else if (c == QLatin1Char('@') || (c == QLatin1Char('/') && s->integerDigits + s->fractionDigits > 0) ||
               m_code.mid(m_at, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
        return false; // text, fractions and General sections read in the General form
    } else {
        if (c == QLatin1Char('%'))
            ++s->percent;
        const qsizetype length = c.isHighSurrogate() && m_at + 1 < m_code.size() ? 2 : 1;
        literal(s, m_code.mid(m_at, length).toString());
        m_at += length;
    }
    return true;
}

void XlsxNumberFormat::Parser::literal(Section *s, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!s->tokens.empty() && s->tokens.back().kind == Kind::Literal)
        s->tokens.back().text += text.toStdString();
    else
        s->tokens.push_back({Kind::Literal, 0, text.toStdString()});
}

// [$€-407] shows its currency symbol; colours and locales show nothing; conditions are not
// followed here.
bool XlsxNumberFormat::Parser::bracket(Section *s)
{
    const qsizetype end = m_code.indexOf(QLatin1Char(']'), m_at + 1);
    const QStringView inner = m_code.mid(m_at + 1, (end < 0 ? m_code.size() : end) - m_at - 1);
    m_at = end < 0 ? m_code.size() : end + 1;
    if (inner.startsWith(QLatin1Char('<')) || inner.startsWith(QLatin1Char('>')) ||
        inner.startsWith(QLatin1Char('=')))
        return false;
    if (inner.startsWith(QLatin1Char('$'))) {
        const qsizetype dash = inner.indexOf(QLatin1Char('-'));
        literal(s, inner.mid(1, (dash < 0 ? inner.size() : dash) - 1).toString());
    }
    return true;
}

void XlsxNumberFormat::Parser::digit(Section *s, char placeholder)
{
    s->tokens.push_back({Kind::Digit, placeholder, {}});
    if (m_part == Part::Integer) {
        ++s->integerDigits;
        m_integerHash = m_integerHash || placeholder == '#';
    } else if (m_part == Part::Fraction) {
        ++s->fractionDigits;
    } else if (placeholder == '0') {
        ++s->exponentZeros;
    }
    m_afterDigits = true;
    ++m_at;
}

// Between integer placeholders a comma groups thousands; after the last placeholder each one
// divides by a thousand; elsewhere it shows itself.
void XlsxNumberFormat::Parser::comma(Section *s)
{
    if (m_part == Part::Integer && m_afterDigits && isPlaceholder(m_at + 1)) {
        s->grouping = true;
        m_afterDigits = false;
    } else if (m_afterDigits) {
        ++s->scale;
    } else {
        literal(s, QStringLiteral(","));
    }
    ++m_at;
}

std::unique_ptr<XlsxNumberFormat> XlsxNumberFormat::parse(QStringView code)
{
    if (code.trimmed().isEmpty())
        return nullptr;
    auto f = std::make_unique<XlsxNumberFormat>();
    Parser parser(code);
    // The fourth section is for text cells; numbers never use it.
    for (int k = 0; k < 3; ++k) {
        Section s;
        if (!parser.section(&s))
            return nullptr;
        f->m_sections.push_back(std::move(s));
        if (!parser.next())
            break;
    }
    return f;
}

std::string XlsxNumberFormat::general(double value)
{
    if (!std::isfinite(value))
        return {};
    const Digits d = Digits::of(std::fabs(value));
    if (d.digits.empty())
        return "0";
    std::string out = value < 0 ? "-" : "";
    const int exponent = d.point - 1;
    if (exponent >= 15 || exponent < -4) {
        out += d.digits.front();
        if (d.digits.size() > 1)
            out += '.' + d.digits.substr(1);
        const std::string e = std::to_string(std::abs(exponent));
        out += exponent < 0 ? "E-" : "E+";
        out += (e.size() < 2 ? "0" : "") + e;
        return out;
    }
    const std::string whole = d.integerPart();
    out += whole.empty() ? "0" : whole;
    const int decimals = int(d.digits.size()) - d.point;
    if (decimals > 0)
        out += '.' + d.fractionPart(decimals);
    return out;
}

std::string XlsxNumberFormat::format(double value) const
{
    if (!std::isfinite(value) || m_sections.empty())
        return general(value);
    if (value < 0 && m_sections.size() >= 2)
        return formatSection(m_sections[1], -value, false);
    if (value == 0 && m_sections.size() >= 3)
        return formatSection(m_sections[2], 0, false);
    return formatSection(m_sections[0], std::fabs(value), value < 0);
}

// Moves the point for the exponent of s and rounds the mantissa; returns the exponent.
int XlsxNumberFormat::mantissa(const Section &s, Digits *d)
{
    if (d->digits.empty())
        return 0;
    // The mantissa keeps as many integer digits as the code has places for, or with # among
    // them moves the exponent in steps of that many (engineering notation).
    const int places = std::max(1, s.integerDigits);
    const int first = d->point - 1;
    int exponent = s.engineering ? int(std::floor(double(first) / places)) * places : first - (places - 1);
    for (;;) {
        Digits m = *d;
        m.point -= exponent;
        m = m.rounded(s.fractionDigits);
        if (m.point <= places) {
            *d = m;
            return exponent;
        }
        exponent += s.engineering ? places : 1; // rounding carried into another digit: 9.99 to 10.0
    }
}

// The fraction digits as shown: trailing zeros under # are left out ('\0') and under ? blank.
std::string XlsxNumberFormat::shownFraction(const Section &s, const std::string &fraction)
{
    std::vector<char> places;
    bool inFraction = false;
    for (const Token &t : s.tokens) {
        if (t.kind == Kind::Point)
            inFraction = true;
        else if (t.kind == Kind::Exponent)
            inFraction = false;
        else if (t.kind == Kind::Digit && inFraction)
            places.push_back(t.placeholder);
    }
    std::string shown = fraction;
    for (size_t j = places.size(); j-- > 0;) {
        if (fraction[j] != '0' || places[j] == '0')
            break;
        shown[j] = places[j] == '?' ? ' ' : '\0';
    }
    return shown;
}

std::string XlsxNumberFormat::formatSection(const Section &s, double magnitude, bool minus)
{
    Digits d = Digits::of(magnitude);
    if (!d.digits.empty())
        d.point += 2 * s.percent - 3 * s.scale;
    int exponent = 0;
    if (s.scientific)
        exponent = mantissa(s, &d);
    else
        d = d.rounded(s.fractionDigits);
    const std::string whole = d.integerPart();
    const std::string fraction = shownFraction(s, d.fractionPart(s.fractionDigits));

    std::string out = minus ? "-" : "";
    const int n = int(whole.size());
    auto putDigit = [&](char c, int position) {
        out += c;
        if (s.grouping && position > 0 && position % 3 == 0)
            out += ',';
    };
    int integerIndex = 0, fractionIndex = 0;
    bool inFraction = false, inExponent = false;
    for (const Token &t : s.tokens) {
        if (t.kind == Kind::Literal) {
            out += t.text;
        } else if (t.kind == Kind::Point) {
            if (s.integerDigits == 0)
                out += whole;
            out += '.';
            inFraction = true;
        } else if (t.kind == Kind::Exponent) {
            std::string e = std::to_string(std::abs(exponent));
            if (int(e.size()) < s.exponentZeros)
                e.insert(0, size_t(s.exponentZeros - int(e.size())), '0');
            out += t.text + (exponent < 0 ? "-" : s.exponentPlus ? "+" : "") + e;
            inExponent = true;
        } else if (inFraction && !inExponent) {
            if (const char c = fraction[size_t(fractionIndex++)])
                out += c;
        } else if (!inExponent) {
            // The first integer place takes every digit beyond the places of the code.
            const int position = s.integerDigits - 1 - integerIndex;
            if (integerIndex++ == 0) {
                for (int q = n - 1; q > position; --q)
                    putDigit(whole[size_t(n - 1 - q)], q);
            }
            if (position < n)
                putDigit(whole[size_t(n - 1 - position)], position);
            else if (t.placeholder == '0')
                putDigit('0', position);
            else if (t.placeholder == '?')
                out += ' ';
        }
    }
    return out;
}
