#include "barcode/NKDModifiedPlesseyBarcode.h"

bool NKDModifiedPlesseyBarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content.toUpper(), printsCaption))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

QByteArray NKDModifiedPlesseyBarcode::bitsOf(int value)
{
    QByteArray out;
    for (int bit = 0; bit < 4; ++bit)
        out += (value >> bit) & 1 ? "1110" : "1000";
    return out;
}

QByteArray NKDModifiedPlesseyBarcode::_encodeChar(char c) const
{
    if (c >= '0' && c <= '9')
        return bitsOf(c - '0');
    return {};
}

QByteArray NKDModifiedPlesseyBarcode::initiator() const
{
    return QByteArrayLiteral("1110111010001110"); // bits 1, 1, 0, 1
}

QByteArray NKDModifiedPlesseyBarcode::terminator() const
{
    return QByteArrayLiteral("111") + QByteArrayLiteral("1000100011101110"); // bits 0, 0, 1, 1
}

char NKDModifiedPlesseyBarcode::checkDigitFor(const QByteArray &content)
{
    // The odd positions, read from the rightmost leftwards as one number, are doubled; doubling
    // digit by digit and summing the digits of each product gives the same digit sum at any length.
    // The number ends at its first non-digit (the hexadecimal form's rule).
    int sum = 0;
    bool numberEnded = false;
    int position = 1;
    for (qsizetype i = content.size() - 1; i >= 0; --i, ++position) {
        const int v = content[i] - '0';
        if (position % 2 == 1) {
            if (numberEnded || v < 0 || v > 9) {
                numberEnded = true;
                continue;
            }
            const int d = 2 * v;
            sum += d / 10 + d % 10;
        } else {
            sum += v;
        }
    }
    const int last = ((sum % 10) + 10) % 10;
    return char('0' + (last == 0 ? 0 : 10 - last));
}

void NKDModifiedPlesseyBarcode::generateChecksum()
{
    m_checkDigit = checkDigitFor(bytes());
}
