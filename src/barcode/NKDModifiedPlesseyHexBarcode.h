// Modified Plessey with the hexadecimal digits A to F as the four bits of 10 to 15.
// The check digit follows the decimal form's routine.
#pragma once

#include "barcode/NKDModifiedPlesseyBarcode.h"

class NKDModifiedPlesseyHexBarcode : public NKDModifiedPlesseyBarcode
{
public:
    QByteArray _encodeChar(char c) const override;
};
