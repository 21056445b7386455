// What barcode generation hands back: done with the picture, or failed with the reason, whose
// message is shown to the user as it stands. The preview road also keeps what the window reuses
// when a setting changes.
#pragma once

#include "barcode/ModuleGrid.h"
#include "barcode/NKDBarcode.h"
#include "barcode/SymbolFrame.h"
#include "platform/OpResult.h"
#include "platform/Picture.h"

#include <QString>

#include <memory>

struct BarcodeResult : OpResult {
    Picture picture;

    // Done, with a picture to show.
    bool ok() const { return OpResult::ok() && !picture.isNull(); }
    void fail(const QString &message) { setOutcome(OpResult::failed(message)); }
    void setOutcome(const OpResult &outcome) { static_cast<OpResult &>(*this) = outcome; }
};

struct BarcodePreview : BarcodeResult {
    // The linear barcode object of the picture (null for a 2D symbol or a refused value).
    std::shared_ptr<NKDBarcode> barcode;
    // The 2D symbol's modules, its size in points and its frame.
    std::shared_ptr<const ModuleGrid> grid2D;
    QSizeF image2DSize;
    SymbolFrame frame;
};
