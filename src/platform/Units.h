// Lengths the program converts between: points (the card's unit, 1/72 inch), inches, centimetres,
// millimetres and mils. Every conversion factor lives here; the rounded ones are kept as stored
// designs and the entry fields have always used them, so sizes read back and shown stay the same.
#pragma once

namespace Units
{

inline constexpr double PointsPerInch = 72.0;
inline constexpr double MillimetresPerInch = 25.4;
inline constexpr double CentimetresPerInch = 2.54;
inline constexpr double MilsPerInch = 1000.0;
inline constexpr double PointsPerMillimetre = PointsPerInch / MillimetresPerInch;

// Rounded factors: sizes shown in millimetres (and typed back) in the editor and the print layout.
inline constexpr double MillimetresPerPointShown = 0.3527777777778;
inline constexpr double PointsPerMillimetreShown = 2.834645669291;
// Rounded factor of the barcode entry fields in centimetres and millimetres.
inline constexpr double InchesPerCentimetreEntered = 0.393701;
// The postal symbologies' bar lengths, given in millimetres, divide by this.
inline constexpr double MillimetresPerPointPostal = 0.3527777777777777;

// Single-precision sizes as the editor keeps them, converted in double precision.
constexpr float pointsToMillimetres(float points)
{
    return float(double(points) * MillimetresPerPointShown);
}
constexpr float millimetresToPoints(float millimetres)
{
    return float(double(millimetres) * PointsPerMillimetreShown);
}

constexpr double inchesToPoints(double inches)
{
    return inches * PointsPerInch;
}
constexpr double pointsToInches(double points)
{
    return points / PointsPerInch;
}

// Barcode entries: the unit code 0 inch, 1 centimetre, 2 millimetre (any other: inch).
constexpr double enteredToPoints(double value, int unit)
{
    if (unit == 2)
        return value * InchesPerCentimetreEntered * PointsPerInch / 10.0;
    if (unit == 1)
        return value * InchesPerCentimetreEntered * PointsPerInch;
    return value * PointsPerInch;
}

// A narrow bar width in mils, divided in single precision as the entry is kept.
constexpr double milsToPoints(double mils)
{
    return double(float(mils) / float(MilsPerInch)) * PointsPerInch;
}

// Pixels per point at a resolution in dots per inch.
constexpr double pixelsPerPoint(double dpi)
{
    return dpi / PointsPerInch;
}

} // namespace Units
