#include "barcode/NKDBarcode.h"

#include "barcode/BarcodeText.h"
#include "platform/Units.h"

namespace
{

// The height in inches of a line of text: the font's cap height and 35 % more.
double textHeight(const FontDescriptor &font)
{
    const double c = BarcodeText::capHeight(font);
    return float(Units::pointsToInches(c) + 0.35 * Units::pointsToInches(c));
}

} // namespace

bool NKDBarcode::initWithContent(const QString &content, bool printsCaption)
{
    return initWithContent(content, printsCaption, 0.936f, 36.0f, 6.0f, -1);
}

bool NKDBarcode::initWithContent(const QString &content, bool printsCaption, float, float, float,
                                 int checkDigit)
{
    // Sizes start at 0 until generation sets them; only content, flag and check digit are kept.
    if (content.isNull())
        return false;
    m_content = content;
    m_printsCaption = printsCaption;
    calculateWidth();
    m_checkDigit = checkDigit;
    return true;
}

void NKDBarcode::setCaptionFontSize(double size, const FontDescriptor &font)
{
    m_captionFontSize = size;
    m_captionHeight = textHeight(font);
}

void NKDBarcode::setHeaderFontSize(double size, const FontDescriptor &font, double kern)
{
    m_headerFontSize = size;
    m_headerHeight = textHeight(font);
    m_headerWidth = BarcodeText::size(m_header, font, kern).width();
}

void NKDBarcode::setFooterFontSize(double size, const FontDescriptor &font, double kern)
{
    m_footerFontSize = size;
    m_footerHeight = textHeight(font);
    m_footerWidth = BarcodeText::size(m_footer, font, kern).width();
}

QByteArray NKDBarcode::_encodeChar(char) const
{
    return QByteArrayLiteral("1010");
}

bool NKDBarcode::isAscii() const
{
    for (const QChar c : m_content) {
        if (c.unicode() > 127)
            return false;
    }
    return true;
}

bool NKDBarcode::allDigits(const QByteArray &text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

QByteArray NKDBarcode::wideNarrowModules(const char *wide)
{
    QByteArray out;
    for (int i = 0; wide[i]; ++i)
        out += QByteArray(wide[i] == '1' ? 2 : 1, i % 2 == 0 ? '1' : '0');
    out += '0';
    return out;
}

bool NKDBarcode::isContentValid() const
{
    if (!isAscii())
        return false;
    const QByteArray b = bytes();
    for (const char c : b) {
        if (_encodeChar(c).isEmpty())
            return false;
    }
    return true;
}

QByteArray NKDBarcode::barcode() const
{
    QByteArray out;
    const QByteArray b = bytes();
    for (const char c : b)
        out += _encodeChar(c);
    if (m_checkDigit != -1)
        out += _encodeChar(char(m_checkDigit));
    return out;
}

QByteArray NKDBarcode::completeBarcode() const
{
    return initiator() + barcode() + terminator();
}

void NKDBarcode::calculateWidth()
{
    m_width = double(completeBarcode().size()) * m_barWidth;
}

QString NKDBarcode::leftCaption() const
{
    return m_content.left(digitsToLeft());
}

QString NKDBarcode::caption() const
{
    const int left = digitsToLeft();
    const int right = digitsToRight();
    if (left == 0 && right == 0)
        return m_content;
    return m_content.mid(left, std::max<qsizetype>(0, m_content.size() - left - right));
}

QString NKDBarcode::rightCaption() const
{
    const int right = digitsToRight();
    return right > 0 ? m_content.right(right) : QString();
}

double NKDBarcode::barTop(int) const
{
    double h = m_height;
    if (m_printsCaption)
        h -= Units::inchesToPoints(m_captionHeight) + m_margins.value;
    if (m_printsHeader)
        h -= Units::inchesToPoints(m_headerHeight) + m_margins.header;
    if (m_printsFooter)
        h -= Units::inchesToPoints(m_footerHeight) + m_margins.footer;
    return h - 2.0 * m_margins.topBottom;
}

double NKDBarcode::barBottom(int) const
{
    double b = 0;
    if (m_printsCaption)
        b += Units::inchesToPoints(m_captionHeight);
    if (m_printsHeader)
        b += Units::inchesToPoints(m_headerHeight);
    if (m_printsFooter)
        b += Units::inchesToPoints(m_footerHeight);
    return b;
}
