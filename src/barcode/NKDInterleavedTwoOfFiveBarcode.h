// Interleaved 2 of 5: digits in pairs, the first of a pair in the bars and the second in the
// spaces; an odd count gets a leading "0". Wide elements are three modules.
#pragma once

#include "barcode/NKDBarcode.h"

class NKDInterleavedTwoOfFiveBarcode : public NKDBarcode
{
public:
    QByteArray initiator() const override { return QByteArrayLiteral("1010"); }
    QByteArray terminator() const override { return QByteArrayLiteral("11101"); }
    bool isContentValid() const override;
    QByteArray barcode() const override;

    // Narrow (true) or wide (false) for element 0..4 of a digit; other characters read narrow.
    static bool _getBarForDigit(char digit, int barNumber);

protected:
    QByteArray digitsWithCheck() const;
};
