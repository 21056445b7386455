// Helpers of the canvas tests: making engine barcodes to place on a side (ink is measured with the
// shared test helpers).
#pragma once

#include "barcode/BarcodeGenerator.h"
#include "support/TestSupport.h"

namespace canvastest
{

// A Code 128 picture of value made at 300 dpi, as the barcode panel makes it.
inline BarcodeResult code128At300Dpi(const QString &value)
{
    BarcodeSettings settings;
    settings.symbologyTitle = QStringLiteral("Code 128");
    settings.linear_or_2d = 0;
    settings.dpi = 300;
    return BarcodeGenerator::Get_Image_From_Val(settings, value, "", "");
}

} // namespace canvastest
