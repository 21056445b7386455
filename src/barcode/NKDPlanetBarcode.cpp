#include "barcode/NKDPlanetBarcode.h"

double NKDPlanetBarcode::_heightForDigit(int digitPosition, int bar) const
{
    const double h = NKDPostnetBarcode::_heightForDigit(digitPosition, bar);
    if (h == 0.125)
        return 0.05;
    if (h == 0.05)
        return 0.125;
    return h;
}
