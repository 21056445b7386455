#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"

bool NKDInterleavedTwoOfFiveBarcode::_getBarForDigit(char digit, int barNumber)
{
    static const char *const kElements[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                              "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};
    if (digit < '0' || digit > '9' || barNumber < 0 || barNumber > 4)
        return true;
    return kElements[digit - '0'][barNumber] == 'N';
}

bool NKDInterleavedTwoOfFiveBarcode::isContentValid() const
{
    return isAscii() && allDigits(bytes());
}

QByteArray NKDInterleavedTwoOfFiveBarcode::digitsWithCheck() const
{
    QByteArray d = bytes();
    if (m_checkDigit != -1)
        d += char(m_checkDigit);
    return d;
}

QByteArray NKDInterleavedTwoOfFiveBarcode::barcode() const
{
    QByteArray d = digitsWithCheck();
    if (d.size() % 2)
        d.prepend('0');
    QByteArray out;
    for (qsizetype i = 0; i + 1 < d.size(); i += 2) {
        for (int e = 0; e < 5; ++e) {
            out += _getBarForDigit(d[i], e) ? "1" : "111";
            out += _getBarForDigit(d[i + 1], e) ? "0" : "000";
        }
    }
    return out;
}
