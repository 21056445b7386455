// POSTNET: 5, 9 or 11 digits and a check digit as tall and short bars between two frame bars.
// Each digit is five bars, two of them tall.
#pragma once

#include "barcode/NKDBarcode.h"

class NKDPostnetBarcode : public NKDBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray initiator() const override { return QByteArrayLiteral("100"); }
    QByteArray terminator() const override { return QByteArrayLiteral("1"); }
    QByteArray _encodeChar(char) const override { return QByteArrayLiteral("100100100100100"); }
    bool isContentValid() const override;
    void generateChecksum() override;
    double barTop(int index) const override;
    double fixedBarHeight() const override { return 9.0; }

    // Length in inches of bar 1..5 of the digit at a position (the check digit last).
    virtual double _heightForDigit(int digitPosition, int bar) const;

protected:
    static bool isTall(char digit, int bar);
};
