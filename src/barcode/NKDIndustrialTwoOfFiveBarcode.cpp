#include "barcode/NKDIndustrialTwoOfFiveBarcode.h"

QByteArray NKDIndustrialTwoOfFiveBarcode::barcode() const
{
    QByteArray out;
    for (const char c : digitsWithCheck()) {
        for (int e = 0; e < 5; ++e)
            out += _getBarForDigit(c, e) ? "100" : "11100";
    }
    return out;
}
