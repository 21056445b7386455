// Makes barcode pictures: a vector picture whose size in points is the drawing's frame, and
// PDF data of a picture (one page of the picture's size).
#pragma once

#include "barcode/BarcodeSettings.h"
#include "barcode/SymbolFrame.h"
#include "platform/Picture.h"

#include <QByteArray>
#include <QImage>

class NKDBarcode;

class BarcodePicture
{
public:
    static Picture imageFromBarcode(const NKDBarcode &barcode, const BarcodeSettings &settings);
    // A null picture for a null image.
    static Picture imageFromBarcodeImage(const QImage &image, QSizeF symbolSize, const SymbolFrame &frame,
                                         const BarcodeSettings &settings);
    static QByteArray pdfFromBarcode(const NKDBarcode &barcode, const BarcodeSettings &settings);
    // One PDF page exactly the picture's size in points; empty for a null picture.
    static QByteArray pdfFromPicture(const Picture &picture);
};
