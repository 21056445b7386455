// What EAN-13, EAN-8, UPC-A and UPC-E share: digit patterns, guards, quiet zones, mod-10 check.
// The content holds the data digits; checkDigit the check digit as a character.
#pragma once

#include "barcode/NKDBarcode.h"

#include <functional>

class NKDAbstractUPCEANBarcode : public NKDBarcode
{
public:
    QByteArray initiator() const override { return QByteArrayLiteral("101"); }
    QByteArray terminator() const override { return QByteArrayLiteral("101"); }
    // Left-hand odd parity (set A) pattern of a digit; empty for anything else.
    QByteArray _encodeChar(char c) const override;
    // The mod-10 check digit of a content of exactly dataDigits() digits; others keep theirs.
    void generateChecksum() override;
    // Exactly dataDigits() digits, and the stored check digit the one they call for.
    bool isContentValid() const override;
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
    // How many data digits the content holds, the check digit not counted.
    virtual int dataDigits() const { return 11; }
    // The check digit the content calls for, or -1 when the content cannot have one.
    virtual int expectedCheckDigit() const;
    // The check digit as the text printed with the bars (empty when there is none).
    QString checkDigitText() const;
    // The left digits (each in set B where evenParity says so, else set A), the centre guard,
    // then the right digits and the check digit in set C.
    QByteArray halves(const QByteArray &left, const QByteArray &right,
                      const std::function<bool(int)> &evenParity = {}) const;
};
