// Makes barcode pictures from a value, header and footer by the symbology title of the settings.
// Pure functions of their arguments: any thread may call them at the same time.
#pragma once

#include "barcode/BarcodeResult.h"
#include "barcode/BarcodeSettings.h"

#include <memory>

class BarcodeGenerator
{
public:
    // The preview road: the value checked, the symbol made and drawn; the linear object and the 2D
    // modules come back with the picture so that a window can redraw them after a setting changes.
    // The value is held to what the batch road takes, so a window accepts what a series gives.
    static BarcodePreview Generate_Barcode_Variable(const BarcodeSettings &settings, const QString &value,
                                                    const QString &header, const QString &footer);
    // The batch road: one data row's picture, framed for its own symbol. Only an empty value is
    // refused up front; text outside ASCII goes to the symbology, which encodes or refuses it.
    static BarcodeResult Get_Image_From_Val(const BarcodeSettings &settings, const QString &value,
                                            const QString &header, const QString &footer);

    // Draws an existing linear object again (colours, alignments); re-lays it out first when asked.
    static BarcodeResult Get_Image_From_Barcode(const BarcodeSettings &settings, NKDBarcode &barcode,
                                                bool relayout);
    // Frames a 2D symbol of the given size in points with the settings' header and footer.
    static BarcodePreview Get_Image_From_barcode_image(const BarcodeSettings &settings,
                                                       std::shared_ptr<const ModuleGrid> symbol,
                                                       QSizeF symbolSize, const QString &value,
                                                       const QString &header, const QString &footer);

    // A new, uninitialised linear barcode object for a symbology title (Code 128 code set set), or null.
    static std::unique_ptr<NKDBarcode> barcodeForTitle(const QString &title);
    // What a symbology accepts, for messages.
    static QString contentRule(const QString &title);
    // A short value the symbology draws: what a window puts in place of a value it refuses.
    static QString sampleValue(const QString &title);

    // The 2D symbol's modules and its size in points, or the reason. The modules are made once
    // and painted at whatever resolution the picture is shown.
    struct Symbol2D {
        std::shared_ptr<const ModuleGrid> grid;
        QSizeF size;
        QString error;
    };
    static Symbol2D encode2D(const BarcodeSettings &settings, const QString &value);

private:
    // Generation without the window's value check, shared by both roads.
    static BarcodePreview generate(const BarcodeSettings &settings, const QString &value,
                                   const QString &header, const QString &footer);
    static BarcodePreview generateLinear(const BarcodeSettings &settings, const QString &value,
                                         const QString &header, const QString &footer);
    static BarcodePreview generate2D(const BarcodeSettings &settings, const QString &value,
                                     const QString &header, const QString &footer);
    static void layoutLinear(const BarcodeSettings &settings, NKDBarcode &barcode);
};
