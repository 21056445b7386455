#include "output/BatchBarcodeSettings.h"

#include "model/SKTGraphic.h"

BarcodeSettings BatchBarcodeSettings::Set_Barcode_Prop_To_Control(const SKTGraphic &g)
{
    BarcodeSettings s;
    s.linear_or_2d = g.linear_or_2d;
    // The object stores the position in its symbology list; an index outside the list gives a
    // title no generator knows, so the barcode fails visibly instead of taking another symbology.
    s.symbologyTitle = BarcodeSettings::titleForIndex(g.linear_or_2d, g.barcode_font_index);
    s.show_hide_hdr = g.show_hide_hdr;
    s.show_hide_ftr = g.show_hide_ftr;
    s.show_hide_val = g.show_hide_val;
    s.show_val_on_top = g.show_val_on_top;
    s.align_hdr_index = g.align_hdr_index;
    s.align_ftr_index = g.align_ftr_index;
    s.linear_height_val = g.linear_height_val;
    s.linear_width_val = g.linear_width_val;
    s.unit = 1; // every load shows sizes in centimetres
    s.qr_size_val = g.qr_size_val;
    s.qr_version_index = g.qr_version_index;
    s.qr_ec_index = g.qr_ec_index;
    s.pdf_hgt_val = g.pdf_hgt_val;
    s.pdf_wdt_val = g.pdf_wdt_val;
    s.pdf_ec_val = g.pdf_ec_val;
    s.dm_module_val = g.dm_module_val;
    s.dm_format_index = g.dm_format_index;
    s.dm_encoding_index = g.dm_encoding_index;
    s.hdr_margin_val = g.hdr_margin_val;
    s.ftr_margin_val = g.ftr_margin_val;
    s.val_margin_val = g.val_margin_val;
    s.TB_marging_val = g.TB_marging_val;
    s.LR_margin_val = g.LR_margin_val;
    if (g.value_font_val && g.value_font_val->isValid())
        s.value_font = *g.value_font_val;
    if (g.header_font_val && g.header_font_val->isValid())
        s.header_font = *g.header_font_val;
    if (g.footer_font_val && g.footer_font_val->isValid())
        s.footer_font = *g.footer_font_val;
    auto colour = [](const std::optional<QColor> &c, QColor *out) {
        if (c && c->isValid())
            *out = *c;
    };
    colour(g.barcode_hdr_clr_val, &s.barcode_hdr_clr);
    colour(g.barcode_ftr_clr_val, &s.barcode_ftr_clr);
    colour(g.barcode_val_clr_val, &s.barcode_val_clr);
    colour(g.barcode_back_clr_val, &s.barcode_back_clr);
    colour(g.barcode_clr_val, &s.barcode_clr);
    s.dpi_val_index = g.dpi_val_index;
    s.dpi_custom_val = g.dpi_custom_val.value_or(QStringLiteral("0"));
    s.kerning_value = g.kerning_value;
    s.dpi = BarcodeSettings::dpiForChoice(s.dpi_val_index, s.dpi_custom_val);
    return s;
}
