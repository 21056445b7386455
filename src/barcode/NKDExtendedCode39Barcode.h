// Full-ASCII Code 39: characters outside Code 39 become pairs of Code 39 characters
// ("$", "%", "/" or "+" and a letter); the content keeps its lower case.
#pragma once

#include "barcode/NKDCode39Barcode.h"

class NKDExtendedCode39Barcode : public NKDCode39Barcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray _encodeChar(char c) const override;

    // The Code 39 characters that stand for one character, or empty when it has none.
    static QByteArray fullAsciiPair(char c);
};
