#include "barcode/NKDPostnetBarcode.h"

#include "platform/Units.h"

bool NKDPostnetBarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (content.isNull())
        return false;
    m_content = content;
    setBarWidth(1.08);
    m_printsCaption = printsCaption;
    generateChecksum();
    setHeight(9.0);
    calculateWidth();
    return true;
}

bool NKDPostnetBarcode::isContentValid() const
{
    if (!isAscii())
        return false;
    const QByteArray b = bytes();
    return (b.size() == 5 || b.size() == 9 || b.size() == 11) && allDigits(b);
}

void NKDPostnetBarcode::generateChecksum()
{
    int sum = 0;
    for (const char c : bytes()) {
        if (c >= '0' && c <= '9')
            sum += c - '0';
    }
    m_checkDigit = '0' + (10 - sum % 10) % 10;
}

bool NKDPostnetBarcode::isTall(char digit, int bar)
{
    // Tall bars per digit, weights 7 4 2 1 0.
    static const char *const kTall[10] = {"11000", "00011", "00101", "00110", "01001",
                                          "01010", "01100", "10001", "10010", "10100"};
    return kTall[digit - '0'][bar - 1] == '1';
}

double NKDPostnetBarcode::_heightForDigit(int digitPosition, int bar) const
{
    const QByteArray b = bytes();
    char c = 0;
    if (digitPosition >= 0 && digitPosition < b.size())
        c = b[digitPosition];
    else if (digitPosition == b.size())
        c = char(m_checkDigit);
    if (c < '0' || c > '9' || bar < 1 || bar > 5)
        return 0;
    return isTall(c, bar) ? 0.125 : 0.05;
}

double NKDPostnetBarcode::barTop(int index) const
{
    const int last = int(completeBarcode().size()) - 1;
    if (index == 0 || index == last)
        return 9.0;
    const int digit = (index - 3) / 15;
    const int bar = (index - 15 * digit) / 3;
    return Units::inchesToPoints(_heightForDigit(digit, bar));
}
