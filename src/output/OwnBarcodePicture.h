// A barcode that holds no picture of its own (new from the Barcode tool, or read from a design
// written elsewhere, whose archive keeps the settings but no picture) is drawn from its own stored
// settings and value, never as the stand-in sample: that would reach the cards as a scannable
// number nobody chose. One rule for the canvas, the design read and every output.
#pragma once

#include "barcode/BarcodeResult.h"
#include "barcode/BarcodeSettings.h"
#include "model/SKTGraphic.h"
#include "platform/Picture.h"

#include <functional>
#include <optional>

class CardDesign;

class OwnBarcodePicture
{
public:
    // Makes a barcode picture from settings, value, header and footer, or says why it cannot.
    using Maker = std::function<BarcodeResult(const BarcodeSettings &, const QString &value,
                                              const QString &header, const QString &footer)>;
    // The barcode engine's batch road.
    static Maker batchRoad();

    // A barcode of a typed value without a picture: one bound to a source is made on each row.
    static bool lacksPicture(const SKTGraphic &graphic);
    // What the barcode's own settings and value make; none when they make nothing.
    static std::optional<Picture> of(const SKTGraphic &barcode, const Maker &maker = batchRoad());
    // The same kept as a design keeps barcode pictures: pixels at the resolution it prints at
    // (2D symbols at their own, bars at 600 dpi), so a card made from the saved design scans.
    static std::optional<Picture> stored(const SKTGraphic &barcode);
    // Gives every barcode of the design that lacks a picture the one its settings make: a bound
    // one from the value it stores or, storing none, from its source's first value (a series in
    // dataFolder, or the design's binding table), as the window shows it.
    static void fill(CardDesign &design, const QString &dataFolder);

private:
    static std::optional<Picture> make(const SKTGraphic &barcode, const QString &value, const Maker &maker);
    static std::optional<Picture> asStored(const SKTGraphic &barcode, const std::optional<Picture> &made);
};
