// Modified Plessey: each digit as four bits, least significant first ("1000" a 0 bit, "1110" a
// 1 bit), between fixed start and stop patterns, with a modulo-10 check digit.
#pragma once

#include "barcode/NKDBarcode.h"

class NKDModifiedPlesseyBarcode : public NKDBarcode
{
public:
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray _encodeChar(char c) const override;
    QByteArray initiator() const override;
    QByteArray terminator() const override;
    void generateChecksum() override;

    // The modulo-10 check digit of a content: odd positions from the right doubled and their
    // digits summed, plus the even positions; works for any length.
    static char checkDigitFor(const QByteArray &content);

protected:
    static QByteArray bitsOf(int value);
};
