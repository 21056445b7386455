// Code 39: upper-case letters, digits and seven symbols between "*" start and stop characters.
// Thirteen modules per character (wide elements two modules) with one space between characters.
#pragma once

#include "barcode/NKDBarcode.h"

class NKDCode39Barcode : public NKDBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray _encodeChar(char c) const override;
    QByteArray initiator() const override;
    QByteArray terminator() const override { return initiator(); }

    // The pattern of one Code 39 character ("*" included), or empty.
    static QByteArray patternOf(char c);
};
