#include "output/OwnBarcodePicture.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeSizing.h"
#include "data/ColumnBinding.h"
#include "data/DataSourceChoices.h"
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

std::optional<Picture> OwnBarcodePicture::make(const SKTGraphic &barcode, const QString &value,
                                               const Maker &maker)
{
    if (value.isEmpty() || !maker)
        return std::nullopt;
    const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(barcode);
    const BarcodeResult made = maker(settings, value, barcode.header_val.value_or(QString()),
                                     barcode.footer_val.value_or(QString()));
    if (!made.ok())
        return std::nullopt;
    return made.picture;
}

namespace
{
QString storedValue(const SKTGraphic &barcode)
{
    return (barcode.linear_or_2d != 0 ? barcode.two_d_font_val : barcode.linear_font_val).value_or(QString());
}
} // namespace

std::optional<Picture> OwnBarcodePicture::of(const SKTGraphic &barcode, const Maker &maker)
{
    return make(barcode, storedValue(barcode), maker);
}

std::optional<Picture> OwnBarcodePicture::asStored(const SKTGraphic &barcode,
                                                   const std::optional<Picture> &made)
{
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

std::optional<Picture> OwnBarcodePicture::stored(const SKTGraphic &barcode)
{
    return asStored(barcode, of(barcode));
}

void OwnBarcodePicture::fill(CardDesign &design, const QString &dataFolder)
{
    // The value the window shows for a barcode: its own, or a bound one's source's first.
    const auto shownValue = [&](const SKTGraphic &g) {
        QString value = storedValue(g);
        if (!value.isEmpty() || g.data_source_type == DataSourceCode::Fixed)
            return value;
        if (g.data_source_type == DataSourceCode::Series)
            return DataSourceChoices::Get_First_Value_Of_Dataset(dataFolder, g.batch_list_name_val());
        const int column = ColumnBinding::resolve(design.binding, g.excel_col_indx, g.excel_col_title);
        return column == ColumnBinding::Missing
                   ? QString()
                   : DataSourceChoices::Get_First_Value_Of_Excel_Binding(design.binding, column);
    };
    for (const GraphicList *side : {&design.front, &design.back})
        for (const GraphicPtr &g : *side)
            if (g && g->kind() == SKTGraphic::Kind::Barcode &&
                (!g->_barcode_image || g->_barcode_image->isNull()))
                if (const std::optional<Picture> picture =
                        asStored(*g, make(*g, shownValue(*g), batchRoad()))) {
                    g->Set_Barcode_image(picture);
                    // The frame takes the size of the picture it now draws.
                    g->setBounds(g->bounds());
                }
}
