#include "XlsxTextFormat.h"

#include <QList>

namespace
{

// Where the element at `at` ends: past a quoted text, an escaped character or a bracket.
qsizetype elementEnd(QStringView code, qsizetype at)
{
    const QChar c = code[at];
    if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
        const qsizetype end =
            code.indexOf(c == QLatin1Char('"') ? QLatin1Char('"') : QLatin1Char(']'), at + 1);
        return end < 0 ? code.size() : end + 1;
    }
    if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*') || c.isHighSurrogate())
        return std::min(at + 2, code.size());
    return at + 1;
}

QList<QStringView> sectionsOf(QStringView code)
{
    QList<QStringView> sections;
    qsizetype start = 0;
    for (qsizetype at = 0; at < code.size(); at = elementEnd(code, at)) {
        if (code[at] == QLatin1Char(';')) {
            sections.append(code.mid(start, at - start));
            start = at + 1;
        }
    }
    sections.append(code.mid(start));
    return sections;
}

// The text of a quoted element, its closing quote missing at the end of a damaged code.
std::string quoted(QStringView element)
{
    QStringView text = element.mid(1);
    if (text.endsWith(QLatin1Char('"')))
        text.chop(1);
    return text.toUtf8().toStdString();
}

bool holdsText(QStringView section)
{
    for (qsizetype at = 0; at < section.size(); at = elementEnd(section, at)) {
        if (section[at] == QLatin1Char('@'))
            return true;
    }
    return false;
}

} // namespace

std::unique_ptr<XlsxTextFormat> XlsxTextFormat::parse(QStringView code)
{
    const QList<QStringView> sections = sectionsOf(code);
    QStringView section;
    bool found = sections.size() >= 4;
    if (found)
        section = sections[3];
    for (qsizetype k = 0; !found && k < sections.size(); ++k) {
        found = holdsText(sections[k]);
        section = sections[k];
    }
    if (!found || section == QLatin1String("@"))
        return nullptr;
    auto f = std::make_unique<XlsxTextFormat>();
    f->m_literals.emplace_back();
    for (qsizetype at = 0; at < section.size();) {
        const qsizetype end = elementEnd(section, at);
        const QChar c = section[at];
        std::string &literal = f->m_literals.back();
        if (c == QLatin1Char('@'))
            f->m_literals.emplace_back();
        else if (c == QLatin1Char('"'))
            literal += quoted(section.mid(at, end - at));
        else if (c == QLatin1Char('\\') && end > at + 1)
            literal += section.mid(at + 1, 1).toUtf8().toStdString();
        else if (c == QLatin1Char('_'))
            literal += ' ';
        else if (c != QLatin1Char('*') && c != QLatin1Char('['))
            literal += section.mid(at, end - at).toUtf8().toStdString();
        at = end;
    }
    for (const std::string &literal : f->m_literals)
        f->m_literalBytes += literal.size();
    return f;
}

std::string XlsxTextFormat::format(std::string_view text) const
{
    std::string out = m_literals.front();
    for (size_t k = 1; k < m_literals.size(); ++k) {
        out += text;
        out += m_literals[k];
    }
    return out;
}
