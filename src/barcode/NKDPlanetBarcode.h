// PLANET: POSTNET's layout with the tall and short bars swapped.
// Creation, sizes, validity and check digit are POSTNET's.
#pragma once

#include "barcode/NKDPostnetBarcode.h"

class NKDPlanetBarcode : public NKDPostnetBarcode
{
public:
    double _heightForDigit(int digitPosition, int bar) const override;
};
