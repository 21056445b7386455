// Helpers of the canvas tests: measuring ink in rendered images and making engine barcodes to
// place on a side.
#pragma once

#include "barcode/BarcodeGenerator.h"

#include <QImage>
#include <QList>

namespace canvastest
{

// Lengths of the dark runs along row y between x0 and x1.
inline QList<int> darkRuns(const QImage &img, int y, int x0, int x1)
{
    QList<int> runs;
    int run = 0;
    for (int x = x0; x < x1; ++x) {
        if (qGray(img.pixel(x, y)) < 128) {
            ++run;
        } else if (run) {
            runs.append(run);
            run = 0;
        }
    }
    return runs;
}

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
