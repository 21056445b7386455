// EAN-13: a number system digit carried by the parity of the left half, twelve digits and a check.
// A thirteenth digit given with the content must be the right check digit.
#pragma once

#include "barcode/NKDAbstractUPCEANBarcode.h"

class NKDEAN13Barcode : public NKDAbstractUPCEANBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;

    int digitsToRight() const override { return 0; }
    QString rightCaption() const override { return {}; }
    QString caption() const override;

    // Set B (even parity) for a position 0..5 of the left half, by the number system digit.
    static bool _parityForSystemDigit(char system, int index);

protected:
    int dataDigits() const override { return 12; }
};
