// Makes barcode pictures from a value, header and footer by the symbology title of the settings.
// Pure functions of their arguments: any thread may call them at the same time.
#pragma once

#include "barcode/BarcodeResult.h"
#include "barcode/BarcodeSettings.h"

#include <functional>
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

    // What the batch road's picture would measure, without the work that does not change it: a
    // linear symbol is laid out but not drawn, a QR Code sized from its version without its
    // modules or mask. The same values are refused, in the same words.
    struct Extent {
        bool made = false;
        QString error; // why not, when not made
        QSizeF size;   // the picture's, in points
        // Where the picture shows anything over its ground, as its drawing's marked area: worked
        // out when asked, which for a linear symbol means drawing it.
        QRectF markedArea() const { return marked ? marked() : QRectF(QPointF(0, 0), size); }
        std::function<QRectF()> marked;
    };
    static Extent measure(const BarcodeSettings &settings, const QString &value, const QString &header,
                          const QString &footer);

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
    // The least width in points the bars of a linear value can take, from its length alone (0 for
    // 2D symbols and symbologies of a fixed length): a value far too long for a card is known
    // without encoding it, which takes long for such a value.
    static double leastWidth(const BarcodeSettings &settings, const QString &value);

    // The 2D symbol's modules and its size in points, or the reason. The modules are made once
    // and painted at whatever resolution the picture is shown.
    struct Symbol2D {
        std::shared_ptr<const ModuleGrid> grid;
        QSizeF size;
        QString error;
    };
    static Symbol2D encode2D(const BarcodeSettings &settings, const QString &value);

private:
    // sizeOnly: a QR Code's modules are left out but for the corners of the symbol, where its
    // finder patterns always darken it: they are measured, never shown.
    static Symbol2D encode2D(const BarcodeSettings &settings, const QString &value, bool sizeOnly);

    // Generation without the window's value check, shared by every road.
    static BarcodePreview generate(const BarcodeSettings &settings, const QString &value,
                                   const QString &header, const QString &footer);
    static BarcodePreview generateLinear(const BarcodeSettings &settings, const QString &value,
                                         const QString &header, const QString &footer);
    // The linear object with its value, texts and bar width (out.barcode), or why there is none.
    static BarcodePreview prepareLinear(const BarcodeSettings &settings, const QString &value,
                                        const QString &header, const QString &footer);
    static Extent measureLinear(const BarcodeSettings &settings, const QString &value, const QString &header,
                                const QString &footer);
    static BarcodePreview generate2D(const BarcodeSettings &settings, const QString &value,
                                     const QString &header, const QString &footer, bool sizeOnly);
    static void layoutLinear(const BarcodeSettings &settings, NKDBarcode &barcode);
};
