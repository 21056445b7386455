// Industrial 2 of 5: every digit on its own in five bars (wide or narrow) with narrow spaces.
// Start, stop and validity are those of Interleaved 2 of 5.
#pragma once

#include "barcode/NKDInterleavedTwoOfFiveBarcode.h"

class NKDIndustrialTwoOfFiveBarcode : public NKDInterleavedTwoOfFiveBarcode
{
public:
    QByteArray barcode() const override;
};
