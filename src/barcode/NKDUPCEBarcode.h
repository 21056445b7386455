// UPC-E: a zero-suppressed UPC-A number, the number system "0" or "1" and six digits, whose
// check digit (that of the UPC-A number) is carried by the parities of the six digits.
#pragma once

#include "barcode/NKDUPCABarcode.h"

class NKDUPCEBarcode : public NKDUPCABarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    bool isContentValid() const override;
    QByteArray barcode() const override;
    QByteArray terminator() const override { return QByteArrayLiteral("010101"); }
    QString caption() const override;

    // Set B (even parity) for a position 1..6.
    bool parityForDigit(int position) const;

    // The six UPC-E digits of a 12-digit UPC-A number, or empty when it cannot be suppressed.
    static QString UPCAToUPCE(const QString &upca);
    // The 11 UPC-A data digits a 7-character UPC-E content stands for, or empty.
    static QString UPCEToUPCA(const QString &upce);

protected:
    int dataDigits() const override { return 7; }
    int expectedCheckDigit() const override;
};
