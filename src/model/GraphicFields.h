// The stored fields of a card object in the archive's order, each with its key, kind and member:
// the one list that the keyed archive's writer and reader and the design dump go by.
#pragma once

#include "model/SKTGraphic.h"

#include <array>
#include <string_view>
#include <variant>

namespace GraphicFields
{

// In the order of the Member alternatives below. Real is a double kept as a 32-bit float in the
// archive; Float and Int are stored at their own width.
enum class Kind { Rect, Flag, Color, Real, String, Float, Int, Font, Text, Picture };

using Member =
    std::variant<QRectF SKTGraphic::*, bool SKTGraphic::*, std::optional<QColor> SKTGraphic::*,
                 double SKTGraphic::*, std::optional<QString> SKTGraphic::*, float SKTGraphic::*,
                 qint32 SKTGraphic::*, std::optional<FontDescriptor> SKTGraphic::*,
                 std::optional<AttributedText> SKTGraphic::*, std::optional<Picture> SKTGraphic::*>;

struct Field {
    const char *name; // the key the archive stores it under
    Kind kind;
    Member member;
};

// A new stored field is one more row here (and its member in SKTGraphic); the order is the
// archive's key order.
inline constexpr std::array<Field, 96> Table{{
    {"_bounds", Kind::Rect, &SKTGraphic::_bounds},
    {"ctrl_is_locked", Kind::Flag, &SKTGraphic::ctrl_is_locked},
    {"_isDrawingFill", Kind::Flag, &SKTGraphic::_isDrawingFill},
    {"_fillColor", Kind::Color, &SKTGraphic::_fillColor},
    {"_isDrawingStroke", Kind::Flag, &SKTGraphic::_isDrawingStroke},
    {"_strokeColor", Kind::Color, &SKTGraphic::_strokeColor},
    {"_strokeWidth", Kind::Real, &SKTGraphic::_strokeWidth},
    {"_stroke_border_type", Kind::String, &SKTGraphic::_stroke_border_type},
    {"_fill_type", Kind::String, &SKTGraphic::_fill_type},
    {"_fill_Grad_clr1", Kind::Color, &SKTGraphic::_fill_Grad_clr1},
    {"_fill_Grad_clr2", Kind::Color, &SKTGraphic::_fill_Grad_clr2},
    {"_fill_grad_angle", Kind::Real, &SKTGraphic::_fill_grad_angle},
    {"_fill_htch_clr", Kind::Color, &SKTGraphic::_fill_htch_clr},
    {"_fill_hatch_type", Kind::String, &SKTGraphic::_fill_hatch_type},
    {"_isFlippedHorizontally", Kind::Flag, &SKTGraphic::_isFlippedHorizontally},
    {"_isFlippedVertically", Kind::Flag, &SKTGraphic::_isFlippedVertically},
    {"invert_clr", Kind::Flag, &SKTGraphic::invert_clr},
    {"gray_Scale", Kind::Flag, &SKTGraphic::gray_Scale},
    {"Sepia", Kind::Flag, &SKTGraphic::Sepia},
    {"img_trnsp_val", Kind::Float, &SKTGraphic::img_trnsp_val},
    {"hue_val", Kind::Float, &SKTGraphic::hue_val},
    {"sat_val", Kind::Float, &SKTGraphic::sat_val},
    {"brt_val", Kind::Float, &SKTGraphic::brt_val},
    {"con_val", Kind::Float, &SKTGraphic::con_val},
    {"srp_val", Kind::Float, &SKTGraphic::srp_val},
    {"ev_val", Kind::Float, &SKTGraphic::ev_val},
    {"blr_val", Kind::Float, &SKTGraphic::blr_val},
    {"data_source_type", Kind::Int, &SKTGraphic::data_source_type},
    {"rotate_image", Kind::Float, &SKTGraphic::rotate_image},
    {"_file_path", Kind::String, &SKTGraphic::_file_path},
    {"sign_or_fingureprint", Kind::String, &SKTGraphic::sign_or_fingureprint},
    {"batch_list_name", Kind::String, &SKTGraphic::batch_list_name},
    {"batch_list_index", Kind::Int, &SKTGraphic::batch_list_index},
    {"_line_ori", Kind::Int, &SKTGraphic::_line_ori},
    {"_line_cap_style", Kind::Int, &SKTGraphic::_line_cap_style},
    {"alpha_val", Kind::Float, &SKTGraphic::alpha_val},
    {"alpha_val_stroke", Kind::Float, &SKTGraphic::alpha_val_stroke},
    {"text_ctrl_font", Kind::Font, &SKTGraphic::text_ctrl_font},
    {"txt_clr", Kind::Color, &SKTGraphic::txt_clr},
    {"_Text_contents", Kind::Text, &SKTGraphic::_Text_contents},
    {"_shape_type", Kind::String, &SKTGraphic::_shape_type},
    {"cor_rad_val_val", Kind::Float, &SKTGraphic::cor_rad_val_val},
    {"_barcode_image", Kind::Picture, &SKTGraphic::_barcode_image},
    {"linear_or_2d", Kind::Int, &SKTGraphic::linear_or_2d},
    {"barcode_font_index", Kind::Int, &SKTGraphic::barcode_font_index},
    {"linear_font_val", Kind::String, &SKTGraphic::linear_font_val},
    {"two_d_font_val", Kind::String, &SKTGraphic::two_d_font_val},
    {"header_val", Kind::String, &SKTGraphic::header_val},
    {"footer_val", Kind::String, &SKTGraphic::footer_val},
    {"show_hide_hdr", Kind::Int, &SKTGraphic::show_hide_hdr},
    {"show_hide_ftr", Kind::Int, &SKTGraphic::show_hide_ftr},
    {"show_hide_val", Kind::Int, &SKTGraphic::show_hide_val},
    {"show_val_on_top", Kind::Int, &SKTGraphic::show_val_on_top},
    {"align_hdr_index", Kind::Int, &SKTGraphic::align_hdr_index},
    {"align_ftr_index", Kind::Int, &SKTGraphic::align_ftr_index},
    {"linear_height_val", Kind::Float, &SKTGraphic::linear_height_val},
    {"linear_width_val", Kind::Float, &SKTGraphic::linear_width_val},
    {"qr_size_val", Kind::Int, &SKTGraphic::qr_size_val},
    {"qr_version_index", Kind::Int, &SKTGraphic::qr_version_index},
    {"qr_ec_index", Kind::Int, &SKTGraphic::qr_ec_index},
    {"pdf_hgt_val", Kind::Int, &SKTGraphic::pdf_hgt_val},
    {"pdf_wdt_val", Kind::Int, &SKTGraphic::pdf_wdt_val},
    {"pdf_ec_val", Kind::Int, &SKTGraphic::pdf_ec_val},
    {"dm_module_val", Kind::Int, &SKTGraphic::dm_module_val},
    {"dm_format_index", Kind::Int, &SKTGraphic::dm_format_index},
    {"dm_encoding_index", Kind::Int, &SKTGraphic::dm_encoding_index},
    {"hdr_margin_val", Kind::Float, &SKTGraphic::hdr_margin_val},
    {"ftr_margin_val", Kind::Float, &SKTGraphic::ftr_margin_val},
    {"val_margin_val", Kind::Float, &SKTGraphic::val_margin_val},
    {"TB_marging_val", Kind::Float, &SKTGraphic::TB_marging_val},
    {"LR_margin_val", Kind::Float, &SKTGraphic::LR_margin_val},
    {"value_font_val", Kind::Font, &SKTGraphic::value_font_val},
    {"header_font_val", Kind::Font, &SKTGraphic::header_font_val},
    {"footer_font_val", Kind::Font, &SKTGraphic::footer_font_val},
    {"barcode_hdr_clr_val", Kind::Color, &SKTGraphic::barcode_hdr_clr_val},
    {"barcode_ftr_clr_val", Kind::Color, &SKTGraphic::barcode_ftr_clr_val},
    {"barcode_val_clr_val", Kind::Color, &SKTGraphic::barcode_val_clr_val},
    {"barcode_back_clr_val", Kind::Color, &SKTGraphic::barcode_back_clr_val},
    {"barcode_clr_val", Kind::Color, &SKTGraphic::barcode_clr_val},
    {"dpi_val_index", Kind::Int, &SKTGraphic::dpi_val_index},
    {"dpi_custom_val", Kind::String, &SKTGraphic::dpi_custom_val},
    {"barcode_unit_val", Kind::Int, &SKTGraphic::barcode_unit_val},
    {"text_alignmnet", Kind::Int, &SKTGraphic::text_alignmnet},
    {"text_transfrom_case", Kind::Int, &SKTGraphic::text_transfrom_case},
    {"text_kerning", Kind::Float, &SKTGraphic::text_kerning},
    {"print_object", Kind::Int, &SKTGraphic::print_object},
    {"control_ID", Kind::String, &SKTGraphic::control_ID},
    {"excel_binding", Kind::Flag, &SKTGraphic::excel_binding},
    {"excel_col_indx", Kind::Int, &SKTGraphic::excel_col_indx},
    {"Text_Value", Kind::String, &SKTGraphic::Text_Value},
    {"ctrl_is_visible", Kind::Flag, &SKTGraphic::ctrl_is_visible},
    {"double_star_type", Kind::Int, &SKTGraphic::double_star_type},
    {"polygon_type", Kind::Int, &SKTGraphic::polygon_type},
    {"excel_col_title", Kind::String, &SKTGraphic::excel_col_title},
    {"manual_file_path", Kind::String, &SKTGraphic::manual_file_path},
    {"kerning_value", Kind::Int, &SKTGraphic::kerning_value},
}};

constexpr bool kindsMatchMembers()
{
    for (const Field &f : Table)
        if (int(f.kind) != int(f.member.index()))
            return false;
    return true;
}
static_assert(kindsMatchMembers(), "a stored field's kind must name its member's type");

constexpr bool namesAreUnique()
{
    for (std::size_t i = 0; i < Table.size(); ++i)
        for (std::size_t j = i + 1; j < Table.size(); ++j)
            if (std::string_view(Table[i].name) == std::string_view(Table[j].name))
                return false;
    return true;
}
static_assert(namesAreUnique(), "two stored fields share a key");

} // namespace GraphicFields
