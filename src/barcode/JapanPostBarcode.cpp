#include "barcode/JapanPostBarcode.h"

#include "platform/Units.h"

namespace
{

constexpr double kPostalPointsPerMm = 1.0 / Units::MillimetresPerPointPostal;
// Code characters by value: digits, hyphen, CC1 to CC8.
constexpr char kCodes[] = "0123456789-:;<=>?./";
constexpr int kBars[19][3] = {{3, 0, 0}, {3, 3, 0}, {3, 1, 2}, {1, 3, 2}, {3, 2, 1}, {3, 0, 3}, {1, 2, 3},
                              {2, 3, 1}, {2, 1, 3}, {0, 3, 3}, {0, 3, 0}, {1, 2, 0}, {1, 0, 2}, {2, 1, 0},
                              {0, 1, 2}, {2, 0, 1}, {0, 2, 1}, {0, 0, 3}, {3, 3, 3}};

} // namespace

bool JapanPostBarcode::initWithContent(const QString &content, bool)
{
    if (content.isNull())
        return false;
    setContent(content);
    // The short initialiser's height argument is 36, outside 8 to 11.5, so the standard size.
    setSymbolSize(10.0);
    return true;
}

void JapanPostBarcode::setContent(const QString &text)
{
    const QString upper = text.toUpper();
    QString codes;
    QString shown;
    for (const QChar ch : upper) {
        const char16_t c = ch.unicode();
        if (c >= 'A' && c <= 'J') {
            codes += QLatin1Char(':');
            codes += QChar(u'0' + (c - u'A'));
        } else if (c >= 'K' && c <= 'T') {
            codes += QLatin1Char(';');
            codes += QChar(u'0' + (c - u'K'));
        } else if (c >= 'U' && c <= 'Z') {
            codes += QLatin1Char('<');
            codes += QChar(u'0' + (c - u'U'));
        } else if ((c >= '0' && c <= '9') || c == '-') {
            codes += ch;
        } else {
            continue;
        }
        shown += ch;
    }
    if (codes.size() > 20) {
        codes.truncate(20);
        // The shown text keeps as many characters as the kept codes hold digits and hyphens.
        int kept = 0;
        for (const QChar c : codes) {
            if (c.isDigit() || c == QLatin1Char('-'))
                ++kept;
        }
        shown.truncate(kept);
    }
    while (codes.size() < 20)
        codes += QLatin1Char('=');
    m_codes = codes;
    m_content = shown;
    generateChecksum();
}

void JapanPostBarcode::setSymbolSize(double size)
{
    m_size = std::clamp(size, 8.5, 11.5);
    m_barWidth = m_size / 6.0;
    calculateWidth();
}

void JapanPostBarcode::setBarWidth(double barWidth)
{
    m_barWidth = std::clamp(barWidth, 1.3333334, 1.9166666);
    m_size = 6.0 * m_barWidth;
    calculateWidth();
}

int JapanPostBarcode::valueOf(char code)
{
    for (int i = 0; kCodes[i]; ++i) {
        if (kCodes[i] == code)
            return i;
    }
    return -1;
}

std::array<int, 3> JapanPostBarcode::statesOf(char code)
{
    const int v = valueOf(code);
    if (v < 0)
        return {0, 0, 0};
    return {kBars[v][0], kBars[v][1], kBars[v][2]};
}

void JapanPostBarcode::generateChecksum()
{
    int sum = 0;
    for (const QChar c : m_codes)
        sum += std::max(0, valueOf(char(c.unicode())));
    const int check = (19 - sum % 19) % 19;
    m_checkDigit = kCodes[check];
}

bool JapanPostBarcode::isContentValid() const
{
    if (m_content.size() < 7)
        return false;
    for (int i = 0; i < 7; ++i) {
        if (m_content.at(i) < QLatin1Char('0') || m_content.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

QByteArray JapanPostBarcode::barcode() const
{
    return QByteArrayLiteral("101010").repeated(21);
}

int JapanPostBarcode::_barDescriptor(int index) const
{
    const int n = 4 + 6 * 21 + 3;
    if (index < 0 || index >= n)
        return 0;
    if (index < 4)
        return index < 2 ? 3 : 1;
    if (index >= n - 3)
        return index < n - 1 ? 1 : 3;
    const int character = (index - 4) / 6;
    const int bar = ((index - 4) % 6) / 2;
    const char code = character < 20 ? char(m_codes.at(character).unicode()) : char(m_checkDigit);
    return statesOf(code)[bar];
}

double JapanPostBarcode::barTop(int index) const
{
    return ((_barDescriptor(index) & 2) ? 3.6 : 2.4) * m_size / 10.0 * kPostalPointsPerMm;
}

double JapanPostBarcode::barBottom(int index) const
{
    return ((_barDescriptor(index) & 1) ? 0.0 : 1.2 * m_size / 10.0) * kPostalPointsPerMm;
}

double JapanPostBarcode::fixedBarHeight() const
{
    return 3.6 * m_size / 10.0 * kPostalPointsPerMm;
}
