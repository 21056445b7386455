// Code 128 in code set A, B or C, or with the sets chosen and switched automatically.
// checkDigit holds the mod-103 check value (0..102), not a character.
#pragma once

#include "barcode/NKDBarcode.h"

#include <vector>

class NKDCode128Barcode : public NKDBarcode
{
public:
    enum CodeSet { SetA = 0, SetB = 1, SetC = 2, Automatic = 3 };

    // Set before initWithContent; an object whose set was never set uses set A.
    int codeSet() const { return m_codeSet; }
    void setCodeSet(int codeSet) { m_codeSet = codeSet; }

    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray initiator() const override;
    QByteArray terminator() const override { return QByteArrayLiteral("1100011101011"); }
    QByteArray _encodeChar(char c) const override;
    static QByteArray _encodeChar(char c, int set);
    static bool _canEncodeChar(char c, int set);
    // Pattern of the value of a two-digit text (0..102 — any symbol value); empty beyond.
    static QByteArray _encodeNumberPair(const QByteArray &pair);
    static QByteArray patternOfValue(int value);
    QByteArray barcode() const override;
    void generateChecksum() override;
    bool isContentValid() const override;

    // The set the symbol starts in, and its symbol values between start and check character.
    int startSet() const { return m_startSet; }
    const std::vector<int> &symbolValues() const { return m_values; }

private:
    // Works out start set and symbol values for the content; false when it cannot be encoded.
    bool plan();
    bool planFixed(const QByteArray &b, int set);
    bool planAutomatic(const QByteArray &b);

    int m_codeSet = SetA;
    int m_startSet = SetA;
    bool m_planned = false;
    std::vector<int> m_values;
};
