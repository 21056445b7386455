// Taking a number format code apart: its sections, their conditions, and which of them show a
// negative number without its minus sign.
#include "XlsxNumberFormat.h"

#include "XlsxLocale.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>

// Reads one section of a code (up to its ';') into tokens.
class XlsxNumberFormat::Parser
{
public:
    explicit Parser(QStringView code) : m_code(code) {}
    // False when the section holds what is not shown here; text is set when it holds '@'.
    bool section(Section *s, bool *text);
    // The numerals of [DBNum1] to [DBNum3] and of the locale tag read; null for Western digits.
    std::shared_ptr<const XlsxNumerals> numerals() const
    {
        return XlsxNumerals::of(m_locale, m_dbnum, m_digitByte);
    }
    // Past the ';' ending the section read; false at the end of the code.
    bool next()
    {
        if (m_at >= m_code.size())
            return false;
        ++m_at;
        return true;
    }

private:
    enum class Part { Integer, Fraction, Exponent, Denominator, AfterDenominator };
    bool token(Section *s, bool *text);
    bool placeholderToken(Section *s, QChar c, bool afterDigits);
    void literal(Section *s, const QString &text);
    bool bracket(Section *s);
    void digit(Section *s, char placeholder);
    void comma(Section *s);
    bool slash(Section *s);
    static void settleFraction(Section *s);
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
    std::optional<QLocale> m_locale;
    unsigned m_digitByte = 0;
    int m_dbnum = 0;
};

bool XlsxNumberFormat::Parser::section(Section *s, bool *text)
{
    m_part = Part::Integer;
    m_afterDigits = false;
    m_integerHash = false;
    while (m_at < m_code.size() && m_code[m_at] != QLatin1Char(';')) {
        if (!token(s, text))
            return false;
    }
    // A fraction needs a denominator; spreadsheets show one with a percent in the General form.
    if (s->fraction && ((s->denominatorDigits == 0 && s->fixedDenominator == 0) || s->percent > 0))
        return false;
    s->engineering = s->scientific && s->integerDigits > 1 && m_integerHash;
    if (s->fraction)
        settleFraction(s);
    return true;
}

void XlsxNumberFormat::Parser::settleFraction(Section *s)
{
    for (size_t i = 0; i < s->tokens.size(); ++i) {
        const Token &t = s->tokens[i];
        if (t.kind == Kind::Digit)
            s->wholeEnd = i + 1;
        if (t.kind == Kind::Denominator)
            s->denominatorEnd = i;
        if (t.kind != Kind::Numerator)
            continue;
        if (s->numeratorDigits++ == 0)
            s->numeratorStart = i;
        if (t.placeholder == '0' || (t.placeholder == '?' && s->numeratorShows == '#'))
            s->numeratorShows = t.placeholder;
    }
}

bool XlsxNumberFormat::Parser::token(Section *s, bool *text)
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
    } else if (c == QLatin1Char('@')) {
        *text = true;
        ++m_at;
    } else if (m_code.mid(m_at, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
        s->tokens.push_back({Kind::General, 0, {}});
        s->showsNumber = true;
        m_at += 7;
    } else if (c == QLatin1Char('/') && s->integerDigits > 0) {
        return slash(s);
    } else if (!placeholderToken(s, c, afterDigits)) {
        if (c == QLatin1Char('%'))
            ++s->percent;
        const qsizetype length = c.isHighSurrogate() && m_at + 1 < m_code.size() ? 2 : 1;
        literal(s, m_code.mid(m_at, length).toString());
        m_at += length;
    }
    return m_part != Part::AfterDenominator || !isPlaceholder(m_at);
}

// Placeholders, the point, commas, an exponent and a fraction's denominator; false for any other
// character, which the caller reads.
bool XlsxNumberFormat::Parser::placeholderToken(Section *s, QChar c, bool afterDigits)
{
    if (m_part == Part::Denominator) {
        if (isPlaceholder(m_at)) {
            s->tokens.push_back({Kind::Denominator, char(c.unicode()), {}});
            ++s->denominatorDigits;
            ++m_at;
            return true;
        }
        m_part = Part::AfterDenominator;
    }
    if (m_part == Part::AfterDenominator)
        return false;
    if (isPlaceholder(m_at)) {
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
    } else {
        return false;
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

// [$€-407] shows its currency symbol; colours and locales show nothing; [>=1000] is the
// section's condition.
bool XlsxNumberFormat::Parser::bracket(Section *s)
{
    const qsizetype end = m_code.indexOf(QLatin1Char(']'), m_at + 1);
    const QStringView inner = m_code.mid(m_at + 1, (end < 0 ? m_code.size() : end) - m_at - 1);
    m_at = end < 0 ? m_code.size() : end + 1;
    using Op = Condition::Op;
    static const std::pair<const char *, Op> ops[] = {
        {"<>", Op::NotEqual}, {"<=", Op::LessEqual}, {">=", Op::GreaterEqual},
        {"<", Op::Less},      {">", Op::Greater},    {"=", Op::Equal},
    };
    for (const auto &[text, op] : ops) {
        if (inner.startsWith(QLatin1String(text))) {
            bool ok = false;
            s->condition = {op, inner.mid(qsizetype(std::strlen(text))).trimmed().toDouble(&ok)};
            return ok && std::isfinite(s->condition.value);
        }
    }
    if (inner.startsWith(QLatin1Char('$'))) {
        const qsizetype dash = inner.indexOf(QLatin1Char('-'));
        literal(s, inner.mid(1, (dash < 0 ? inner.size() : dash) - 1).toString());
        // The locale: a hexadecimal id, whose top byte asks for the language's digits, or a name.
        const QStringView tag = dash < 0 ? QStringView() : inner.mid(dash + 1);
        bool ok = false;
        const unsigned lcid = tag.toUInt(&ok, 16);
        if (ok) {
            m_locale = XlsxLocale::ofLcid(lcid);
            m_digitByte = lcid >> 24;
        } else if (!tag.isEmpty()) {
            m_locale = XlsxLocale::ofName(tag);
        }
    } else if (inner.size() == 6 && inner.startsWith(QLatin1String("dbnum"), Qt::CaseInsensitive) &&
               inner[5] >= QLatin1Char('1') && inner[5] <= QLatin1Char('9')) {
        m_dbnum = inner[5].digitValue();
    }
    return true;
}

void XlsxNumberFormat::Parser::digit(Section *s, char placeholder)
{
    s->tokens.push_back({Kind::Digit, placeholder, {}});
    s->showsNumber = true;
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
        m_afterDigits = true;
    } else {
        literal(s, QStringLiteral(","));
    }
    ++m_at;
}

// The placeholders right before the '/' are the numerator, those before them the whole part;
// after it come the denominator's placeholders or its digits. A fraction with decimals or an
// exponent is not read.
bool XlsxNumberFormat::Parser::slash(Section *s)
{
    if (m_part != Part::Integer || s->fraction || s->tokens.empty() || s->tokens.back().kind != Kind::Digit)
        return false;
    for (auto t = s->tokens.rbegin(); t != s->tokens.rend() && t->kind == Kind::Digit; ++t) {
        t->kind = Kind::Numerator;
        --s->integerDigits;
    }
    s->fraction = true;
    literal(s, QStringLiteral("/"));
    m_part = Part::Denominator;
    ++m_at;
    qsizetype end = m_at;
    while (end < m_code.size() && m_code[end].isDigit() && m_code[end].unicode() < 128)
        ++end;
    if (end > m_at && m_code[m_at] != QLatin1Char('0')) {
        const QString digits = m_code.mid(m_at, end - m_at).toString();
        s->fixedDenominator = digits.toDouble();
        s->tokens.push_back({Kind::Denominator, 0, digits.toStdString()});
        m_at = end;
        m_part = Part::AfterDenominator;
        return s->fixedDenominator < 1e9;
    }
    return true;
}

bool XlsxNumberFormat::Condition::holds(double v) const
{
    switch (op) {
    case Op::None:
        return true;
    case Op::Less:
        return v < value;
    case Op::LessEqual:
        return v <= value;
    case Op::Greater:
        return v > value;
    case Op::GreaterEqual:
        return v >= value;
    case Op::Equal:
        return v == value;
    case Op::NotEqual:
        return v != value;
    }
    return false;
}

std::unique_ptr<XlsxNumberFormat> XlsxNumberFormat::parse(QStringView code)
{
    if (code.trimmed().isEmpty() ||
        code.trimmed().compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
        return nullptr;
    auto f = std::make_unique<XlsxNumberFormat>();
    Parser parser(code);
    // A section holding '@' is for text cells, and so is always the fourth.
    for (int k = 0; k < 4; ++k) {
        Section s;
        bool text = k == 3;
        if (!parser.section(&s, &text))
            return nullptr;
        if (!text)
            f->m_sections.push_back(std::move(s));
        if (!parser.next())
            break;
    }
    if (f->m_sections.empty())
        return nullptr;
    f->m_numerals = parser.numerals();
    f->settleSigns();
    return f;
}

// Whether the value is shown by section k: the first section whose condition holds, a section
// without one taking every value the ones before it left.
bool XlsxNumberFormat::reaches(size_t k, double value) const
{
    for (size_t j = 0; j < k; ++j) {
        if (m_sections[j].condition.holds(value))
            return false;
    }
    return m_sections[k].condition.holds(value);
}

// Without conditions the second section is for negative numbers. With them, a section only
// negative numbers (or zero) reach shows none with its minus sign; a first section whose
// condition picks out some negative numbers only ("[<-1]") shows them signed, as spreadsheets do.
void XlsxNumberFormat::settleSigns()
{
    m_conditional = std::any_of(m_sections.begin(), m_sections.end(),
                                [](const Section &s) { return s.condition.op != Condition::Op::None; });
    if (!m_conditional) {
        if (m_sections.size() >= 2)
            m_sections[1].negative = true;
        return;
    }
    // The answer changes only at the conditions' values: one probe at each, on either side of
    // each, and at both ends of the line and of zero, tries every stretch between them.
    std::vector<double> probes = {DBL_TRUE_MIN, -DBL_TRUE_MIN, DBL_MAX, -DBL_MAX};
    for (const Section &s : m_sections) {
        const double t = s.condition.value;
        probes.insert(probes.end(), {t, std::nextafter(t, DBL_MAX), std::nextafter(t, -DBL_MAX)});
    }
    for (size_t k = 0; k < m_sections.size(); ++k) {
        bool positive = false, everyNegative = true;
        for (const double p : probes) {
            positive = positive || (p > 0 && reaches(k, p));
            everyNegative = everyNegative && (p >= 0 || reaches(k, p));
        }
        m_sections[k].negative = !positive && (k > 0 || everyNegative);
    }
}

const XlsxNumberFormat::Section *XlsxNumberFormat::sectionFor(double value) const
{
    if (m_conditional) {
        for (size_t k = 0; k < m_sections.size(); ++k) {
            if (m_sections[k].condition.holds(value))
                return &m_sections[k];
        }
        return nullptr;
    }
    if (value < 0 && m_sections.size() >= 2)
        return &m_sections[1];
    if (value == 0 && m_sections.size() >= 3)
        return &m_sections[2];
    return &m_sections[0];
}
