// Turns the window's entries (unit, mils) into points and works out the total size of a linear
// barcode or of a 2D symbol's frame; raises 2D images to the output resolution.
#pragma once

#include "barcode/BarcodeMargins.h"
#include "barcode/SymbolFrame.h"

#include <QImage>
#include <QSizeF>

struct BarcodeSettings;
class NKDBarcode;

class BarcodeSizing
{
public:
    // A length in the unit (0 inch, 1 centimetre, 2 millimetre, anything else inch) in points.
    static float toPoints(float value, int unit);
    // Module width in points of a narrow bar width in mils.
    static double barWidthForMils(double mils);

    // The five margins in points; a margin of a hidden text is 0.
    static BarcodeMargins margins(const BarcodeSettings &settings);

    // Sets the object's total height (bars, shown texts, margins) and its margins.
    static void Set_Barcode_Height(const BarcodeSettings &settings, NKDBarcode &barcode);
    // The object's total width: the widest of bars, shown header and footer, plus side margins.
    static float Set_Linear_Barcode_Width(const BarcodeSettings &settings, const NKDBarcode &barcode);
    // Frame of a 2D symbol of the given size in points.
    static void Set_2d_Barcode_Height(const BarcodeSettings &settings, QSizeF symbol, SymbolFrame &frame);
    static void Set_2d_Barcode_Width(const BarcodeSettings &settings, QSizeF symbol, SymbolFrame &frame);

    // The side of the largest square picture a 2D symbol is raised to, in pixels.
    static constexpr int kMaxPictureSide = 20000;

    // Pixels of an image at a resolution: ceil(dpi x points / 72) per side, nearest pixel, on
    // transparent; a null image for a null input or one of more pixels than kMaxPictureSide squared.
    static QImage Increase_DPI(const QImage &image, QSizeF sizeInPoints, double dpi);
    static int pixelsFor(double points, double dpi);
};
