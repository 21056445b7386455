#include "XlsxNumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

namespace
{

// Writes place `index` (counted from the left) of `places` placeholders holding the digits
// right-aligned: the first place also takes every digit beyond the places; a place without a
// digit shows 0 under '0', a space under '?' and nothing under '#'.
void putPlace(std::string &out, const std::string &digits, int places, int index, char placeholder,
              bool grouping)
{
    const int n = int(digits.size());
    const int position = places - 1 - index;
    auto put = [&](char c, int at) {
        out += c;
        if (grouping && at > 0 && at % 3 == 0)
            out += ',';
    };
    if (index == 0) {
        for (int q = n - 1; q > position; --q)
            put(digits[size_t(n - 1 - q)], q);
    }
    if (position < n)
        put(digits[size_t(n - 1 - position)], position);
    else if (placeholder == '0')
        put('0', position);
    else if (placeholder == '?')
        out += ' ';
}

size_t codePoints(std::string_view utf8)
{
    return size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (uchar(c) & 0xC0) != 0x80; }));
}

// The fraction closest to x (x >= 0) whose denominator is at most `largest`: the last convergent
// of x's continued fraction within the bound, or the semiconvergent after it when that is closer.
void closestFraction(double x, double largest, double *numerator, double *denominator)
{
    double p0 = 1, q0 = 0, p1 = std::floor(x), q1 = 1;
    double rest = x - p1;
    for (int step = 0; step < 64 && rest > 1e-12; ++step) {
        const double y = 1 / rest;
        const double a = std::floor(y);
        const double q2 = q0 + a * q1;
        if (q2 > largest)
            break;
        const double p2 = p0 + a * p1;
        p0 = std::exchange(p1, p2);
        q0 = std::exchange(q1, q2);
        rest = y - a;
    }
    const double k = std::floor((largest - q0) / q1);
    const double p = p0 + k * p1, q = q0 + k * q1;
    if (q >= 1 && std::fabs(p / q - x) < std::fabs(p1 / q1 - x)) {
        *numerator = p;
        *denominator = q;
    } else {
        *numerator = p1;
        *denominator = q1;
    }
}

} // namespace

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

// The decimals as shown: trailing zeros under # are left out ('\0'), under ? blank; a # before a
// blank ? shows its zero.
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
    bool blanked = false;
    for (size_t j = places.size(); j-- > 0;) {
        if (fraction[j] != '0' || places[j] == '0' || (places[j] == '#' && blanked))
            break;
        blanked = blanked || places[j] == '?';
        shown[j] = places[j] == '?' ? ' ' : '\0';
    }
    return shown;
}

std::string XlsxNumberFormat::format(double value) const
{
    const std::string shown = formatWestern(value);
    return m_numerals ? m_numerals->number(shown) : shown;
}

std::string XlsxNumberFormat::formatWestern(double value) const
{
    if (!std::isfinite(value))
        return general(value);
    const Section *s = sectionFor(value);
    if (!s)
        return general(value);
    const bool minus = value < 0 && !s->negative;
    return s->fraction ? formatFraction(*s, std::fabs(value), minus)
                       : formatSection(*s, std::fabs(value), minus);
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
    std::string whole = d.integerPart();
    if (s.scientific && whole.empty())
        whole = "0"; // a zero mantissa shows its 0 even under #
    const std::string fraction = shownFraction(s, d.fractionPart(s.fractionDigits));
    // The point shows only with a decimal place after it, as in "5" under "0.##".
    const bool point = std::any_of(fraction.begin(), fraction.end(), [](char c) { return c != '\0'; });
    const bool hasGeneral =
        std::any_of(s.tokens.begin(), s.tokens.end(), [](const Token &t) { return t.kind == Kind::General; });
    // What shows as zero, or shows no number at all, has no minus sign.
    const bool nonzero = s.showsNumber && (!d.digits.empty() || (hasGeneral && magnitude != 0));

    std::string out = minus && nonzero ? "-" : "";
    int integerIndex = 0, fractionIndex = 0;
    bool inFraction = false, inExponent = false;
    for (const Token &t : s.tokens) {
        if (t.kind == Kind::Literal) {
            out += t.text;
        } else if (t.kind == Kind::General) {
            out += general(magnitude);
        } else if (t.kind == Kind::Point) {
            if (s.integerDigits == 0)
                out += whole;
            if (point)
                out += '.';
            inFraction = true;
        } else if (t.kind == Kind::Exponent) {
            std::string e = std::to_string(std::abs(exponent));
            if (int(e.size()) < s.exponentZeros)
                e.insert(0, size_t(s.exponentZeros - int(e.size())), '0');
            out += t.text + (exponent < 0 ? "-" : s.exponentPlus ? "+" : "") + e;
            inExponent = true;
        } else if (inExponent) {
            continue; // the exponent's digits were written with it
        } else if (inFraction) {
            if (const char c = fraction[size_t(fractionIndex++)])
                out += c;
        } else {
            putPlace(out, whole, s.integerDigits, integerIndex++, t.placeholder, s.grouping);
        }
    }
    return out;
}

// A fraction's value: the whole part (when the code has places for one) and the closest fraction
// of the rest, or the rest in the denominator the code writes out, its halves rounded down as
// spreadsheets do.
void XlsxNumberFormat::fractionOf(const Section &s, double magnitude, double *whole, double *n, double *d)
{
    const double x = magnitude / std::pow(1000.0, s.scale);
    *whole = s.integerDigits > 0 ? std::floor(x) : 0;
    const double rest = x - *whole;
    if (s.fixedDenominator > 0) {
        *d = s.fixedDenominator;
        *n = std::floor(rest * *d);
        *n += rest * *d - *n > 0.5 ? 1 : 0;
    } else {
        closestFraction(rest, std::pow(10.0, s.denominatorDigits) - 1, n, d);
    }
    if (s.integerDigits > 0 && *n >= *d) {
        *whole += 1;
        *n = 0;
    }
}

// A zero fraction after a whole part is left blank (under ?) or out (under #); a zero number
// shows its whole part 0.
std::string XlsxNumberFormat::formatFraction(const Section &s, double magnitude, bool minus)
{
    double whole = 0, n = 0, d = 1;
    fractionOf(s, magnitude, &whole, &n, &d);
    const bool hasWhole = s.integerDigits > 0;
    const bool zero = whole == 0 && n == 0;
    const std::string wholeText = zero ? "0" : Digits::of(whole).integerPart();
    const std::string numerator = n == 0 ? "0" : Digits::of(n).integerPart();
    const std::string denominator = Digits::of(d).integerPart();
    const bool blank = hasWhole && n == 0 && s.numeratorShows != '0';

    std::string out = minus && !zero ? "-" : "";
    std::string part; // what follows the whole part up to the denominator's end
    int wholeIndex = 0, numeratorIndex = 0, denominatorIndex = 0;
    bool wholeShows = false;
    for (size_t i = 0; i < s.tokens.size(); ++i) {
        const Token &t = s.tokens[i];
        const bool inPart = hasWhole && i >= s.wholeEnd && i <= s.denominatorEnd;
        std::string &to = inPart ? part : out;
        if (t.kind == Kind::Literal) {
            // Without a whole part shown, a # numerator needs no room before it.
            const bool separator = hasWhole && i >= s.wholeEnd && i < s.numeratorStart;
            if (!separator || wholeShows || s.numeratorShows != '#')
                to += t.text;
        } else if (t.kind == Kind::Digit) {
            const size_t before = out.size();
            putPlace(out, wholeText, s.integerDigits, wholeIndex++, t.placeholder, s.grouping);
            wholeShows = wholeShows || out.size() > before;
        } else if (t.kind == Kind::Numerator) {
            putPlace(to, numerator, s.numeratorDigits, numeratorIndex++, t.placeholder, false);
        } else if (t.kind == Kind::Denominator && !t.text.empty()) {
            if (!blank) // a blank fraction keeps no room for a written-out denominator
                to += t.text;
        } else if (t.kind == Kind::Denominator) {
            const int at = denominatorIndex++;
            if (at < int(denominator.size()))
                to += denominator[size_t(at)];
            else if (t.placeholder == '0')
                to.insert(to.size() - size_t(at), 1, '0');
            else if (t.placeholder == '?')
                to += ' ';
        }
        if (inPart && i == s.denominatorEnd) {
            out += !blank                    ? part
                   : s.numeratorShows == '?' ? std::string(codePoints(part), ' ')
                                             : std::string();
            part.clear();
        }
    }
    return out;
}
