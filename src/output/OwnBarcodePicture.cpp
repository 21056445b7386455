#include "output/OwnBarcodePicture.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeSizing.h"
#include "foundation/CardCodes.h"
#include "model/CardDesign.h"
#include "output/BatchBarcodeSettings.h"

#include <QImage>

#include <algorithm>

OwnBarcodePicture::Maker OwnBarcodePicture::batchRoad()
{
    return [](const BarcodeSettings &settings, const QString &value, const QString &header,
              const QString &footer) {
        return BarcodeGenerator::Get_Image_From_Val(settings, value, header, footer);
    };
}

bool OwnBarcodePicture::lacksPicture(const SKTGraphic &graphic)
{
    return graphic.kind() == SKTGraphic::Kind::Barcode && graphic.data_source_type == DataSourceCode::Fixed &&
           (!graphic._barcode_image || graphic._barcode_image->isNull());
}

std::optional<Picture> OwnBarcodePicture::of(const SKTGraphic &barcode, const Maker &maker)
{
    const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(barcode);
    const QString value =
        (settings.isTwoD() ? barcode.two_d_font_val : barcode.linear_font_val).value_or(QString());
    if (value.isEmpty() || !maker)
        return std::nullopt;
    const BarcodeResult made = maker(settings, value, barcode.header_val.value_or(QString()),
                                     barcode.footer_val.value_or(QString()));
    if (!made.ok())
        return std::nullopt;
    return made.picture;
}

std::optional<Picture> OwnBarcodePicture::stored(const SKTGraphic &barcode)
{
    const std::optional<Picture> made = of(barcode);
    if (!made)
        return std::nullopt;
    const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(barcode);
    double dpi = settings.isTwoD() && settings.dpi > 0 ? settings.dpi : 600.0;
    const QSizeF size = made->size();
    const double longest = std::max(size.width(), size.height());
    if (longest > 0 && longest * dpi / 72.0 > BarcodeSizing::kMaxPictureSide)
        dpi = BarcodeSizing::kMaxPictureSide * 72.0 / longest;
    const QImage pixels = made->toImage(dpi);
    return pixels.isNull() ? *made : Picture(pixels, size);
}

void OwnBarcodePicture::fill(CardDesign &design)
{
    for (const GraphicList *side : {&design.front, &design.back})
        for (const GraphicPtr &g : *side)
            if (g && lacksPicture(*g))
                if (const std::optional<Picture> picture = stored(*g)) {
                    g->Set_Barcode_image(picture);
                    // The frame takes the size of the picture it now draws.
                    g->setBounds(g->bounds());
                }
}
