// Industrial 2 of 5: every digit on its own in five bars (wide or narrow) with narrow spaces,
// between the symbology's own start (wide, wide, narrow) and stop (wide, narrow, wide) bars.
#pragma once

#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"

class NKDIndustrialTwoOfFiveBarcode : public NKDInterleavedTwoOfFiveBarcode
{
public:
    QByteArray barcode() const override;
    // A reader of this symbology looks for its own start and stop, not the interleaved ones.
    QByteArray initiator() const override { return QByteArrayLiteral("1110011100100"); }
    QByteArray terminator() const override { return QByteArrayLiteral("11100100111"); }
};
