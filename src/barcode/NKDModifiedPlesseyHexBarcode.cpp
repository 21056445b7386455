#include "barcode/NKDModifiedPlesseyHexBarcode.h"

QByteArray NKDModifiedPlesseyHexBarcode::_encodeChar(char c) const
{
    if (c >= 'A' && c <= 'F')
        return bitsOf(c - 'A' + 10);
    return NKDModifiedPlesseyBarcode::_encodeChar(c);
}
