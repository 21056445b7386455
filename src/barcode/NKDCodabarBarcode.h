// Codabar: digits and "-$:/.+" between start and stop characters A, B, C or D that the
// content carries itself; wide elements are two modules, one space follows each character.
#pragma once

#include "barcode/NKDBarcode.h"

class NKDCodabarBarcode : public NKDBarcode
{
public:
    QByteArray _encodeChar(char c) const override;
    // Starts and ends with one of A to D, holds none of them inside, and is encodable.
    bool isContentValid() const override;
};
