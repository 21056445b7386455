// EAN-8: seven data digits and a check digit, four digits in each half.
// An eighth digit given with the content must be the right check digit.
#pragma once

#include "barcode/NKDEAN13Barcode.h"

class NKDEAN8Barcode : public NKDEAN13Barcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;

    int digitsToLeft() const override { return 0; }
    QString caption() const override;

protected:
    int dataDigits() const override { return 7; }
};
