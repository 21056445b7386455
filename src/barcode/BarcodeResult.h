// What barcode generation hands back: the picture, or the reason why there is none.
// The preview road also keeps what the window reuses when a setting changes.
#pragma once

#include "barcode/ModuleGrid.h"
#include "barcode/NKDBarcode.h"
#include "barcode/SymbolFrame.h"
#include "platform/Picture.h"

#include <QString>

#include <memory>

struct BarcodeResult {
    Picture picture;
    QString error; // shown to the user as it stands
    bool ok() const { return error.isEmpty() && !picture.isNull(); }
};

struct BarcodePreview {
    Picture picture;
    QString error;
    // The linear barcode object of the picture (null for a 2D symbol or a refused value).
    std::shared_ptr<NKDBarcode> barcode;
    // The 2D symbol's modules, its size in points and its frame.
    std::shared_ptr<const ModuleGrid> grid2D;
    QSizeF image2DSize;
    SymbolFrame frame;
    bool ok() const { return error.isEmpty() && !picture.isNull(); }
};
