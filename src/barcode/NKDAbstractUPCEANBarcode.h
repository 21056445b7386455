// What EAN-13, EAN-8, UPC-A and UPC-E share: digit patterns, guards, quiet zones, mod-10 check.
// The content holds the data digits; checkDigit the check digit as a character.
#pragma once

#include "barcode/NKDBarcode.h"

class NKDAbstractUPCEANBarcode : public NKDBarcode
{
public:
    QByteArray initiator() const override { return QByteArrayLiteral("101"); }
    QByteArray terminator() const override { return QByteArrayLiteral("101"); }
    // Left-hand odd parity (set A) pattern of a digit; empty for anything else.
    QByteArray _encodeChar(char c) const override;
    void generateChecksum() override;
    void calculateWidth() override;

    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
    QString rightCaption() const override;
    double firstBar() const override { return m_width * 0.1; }
    double lastBar() const override { return m_width * 0.9 - m_barWidth; }

    // Right-hand (set C) and left-hand even parity (set B) forms of a set A pattern.
    static QByteArray swapHandedness(const QByteArray &pattern);
    static QByteArray swapParity(const QByteArray &pattern);
    // The UPC/EAN mod-10 check digit of a digit string: weight 3 on the rightmost digit.
    static char mod10CheckDigit(const QByteArray &digits);

protected:
    static bool allDigits(const QByteArray &text);
};
