// Makes barcode pictures: a picture that paints its bars, modules and texts at the device's
// resolution, whose size in points is the drawing's frame, and PDF data of a picture (one page).
#pragma once

#include "barcode/BarcodeSettings.h"
#include "barcode/ModuleGrid.h"
#include "barcode/SymbolFrame.h"
#include "platform/Picture.h"

#include <QByteArray>

#include <memory>

class NKDBarcode;

class BarcodePicture
{
public:
    static Picture imageFromBarcode(const NKDBarcode &barcode, const BarcodeSettings &settings);
    // The 2D symbol of symbolSize points in its frame; a null picture for no symbol.
    static Picture imageFromBarcodeImage(std::shared_ptr<const ModuleGrid> symbol, QSizeF symbolSize,
                                         const SymbolFrame &frame, const BarcodeSettings &settings);
    static QByteArray pdfFromBarcode(const NKDBarcode &barcode, const BarcodeSettings &settings);
    // One PDF page exactly the picture's size in points; empty for a null picture.
    static QByteArray pdfFromPicture(const Picture &picture);
};
