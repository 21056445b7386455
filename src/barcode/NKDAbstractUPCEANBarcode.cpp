#include "barcode/NKDAbstractUPCEANBarcode.h"

QByteArray NKDAbstractUPCEANBarcode::_encodeChar(char c) const
{
    static const char *const setA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                         "0110001", "0101111", "0111011", "0110111", "0001011"};
    if (c < '0' || c > '9')
        return {};
    return QByteArray(setA[c - '0']);
}

void NKDAbstractUPCEANBarcode::generateChecksum()
{
    const int check = expectedCheckDigit();
    if (check >= 0)
        m_checkDigit = check;
}

int NKDAbstractUPCEANBarcode::expectedCheckDigit() const
{
    const QByteArray b = bytes();
    if (b.size() != dataDigits() || !allDigits(b))
        return -1;
    return mod10CheckDigit(b);
}

bool NKDAbstractUPCEANBarcode::isContentValid() const
{
    const QByteArray b = bytes();
    if (!isAscii() || b.size() != dataDigits() || !allDigits(b))
        return false;
    return m_checkDigit == expectedCheckDigit();
}

QString NKDAbstractUPCEANBarcode::checkDigitText() const
{
    return m_checkDigit >= 0 ? QString(QChar(m_checkDigit)) : QString();
}

QByteArray NKDAbstractUPCEANBarcode::halves(const QByteArray &left, const QByteArray &right,
                                            const std::function<bool(int)> &evenParity) const
{
    QByteArray out;
    for (qsizetype i = 0; i < left.size(); ++i) {
        const QByteArray a = _encodeChar(left[i]);
        out += evenParity && evenParity(int(i)) ? swapParity(a) : a;
    }
    out += "01010";
    for (const char c : right + char(m_checkDigit))
        out += swapHandedness(_encodeChar(c));
    return out;
}

void NKDAbstractUPCEANBarcode::calculateWidth()
{
    // A quiet zone of one tenth of the width on each side.
    m_width = m_content.isEmpty() ? 0.0 : double(completeBarcode().size()) * m_barWidth * 1.2;
}

QString NKDAbstractUPCEANBarcode::rightCaption() const
{
    return checkDigitText();
}

QByteArray NKDAbstractUPCEANBarcode::swapHandedness(const QByteArray &pattern)
{
    QByteArray out(pattern.size(), '0');
    for (qsizetype i = 0; i < pattern.size(); ++i)
        out[i] = pattern[i] == '0' ? '1' : '0';
    return out;
}

QByteArray NKDAbstractUPCEANBarcode::swapParity(const QByteArray &pattern)
{
    QByteArray s = swapHandedness(pattern);
    std::reverse(s.begin(), s.end());
    return s;
}

char NKDAbstractUPCEANBarcode::mod10CheckDigit(const QByteArray &digits)
{
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += (digits[i] - '0') * weight;
        weight = weight == 3 ? 1 : 3;
    }
    return char('0' + (10 - sum % 10) % 10);
}
