// The keyed archive of a card object: 93 keys in a fixed order, the archive class being the kind.
#include "model/SKTBarcode.h"
#include "model/SKTGraphic.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "platform/KeyedUnarchiver.h"

namespace
{

template <typename T> std::shared_ptr<Archivable> readKind(KeyedUnarchiver &coder)
{
    auto g = std::make_shared<T>(SKTGraphic::ZeroFields{});
    g->initWithCoder(coder);
    return g;
}

// Keeps a decoded 32-bit integer within its field's range; larger archive values wrap as on write.
qint32 int32(qint64 v)
{
    return qint32(quint32(quint64(v)));
}

} // namespace

QStringList SKTGraphic::classHierarchy() const
{
    return {className(), QStringLiteral("SKTGraphic"), QStringLiteral("NSObject")};
}

void SKTGraphic::encodeWithCoder(KeyedArchiver &c) const
{
    c.encodeRect(QStringLiteral("_bounds"), _bounds);
    c.encodeBool(QStringLiteral("ctrl_is_locked"), ctrl_is_locked);
    c.encodeBool(QStringLiteral("_isDrawingFill"), _isDrawingFill);
    c.encodeColor(QStringLiteral("_fillColor"), _fillColor);
    c.encodeBool(QStringLiteral("_isDrawingStroke"), _isDrawingStroke);
    c.encodeColor(QStringLiteral("_strokeColor"), _strokeColor);
    c.encodeFloat(QStringLiteral("_strokeWidth"), float(_strokeWidth));
    c.encodeString(QStringLiteral("_stroke_border_type"), _stroke_border_type);
    c.encodeString(QStringLiteral("_fill_type"), _fill_type);
    c.encodeColor(QStringLiteral("_fill_Grad_clr1"), _fill_Grad_clr1);
    c.encodeColor(QStringLiteral("_fill_Grad_clr2"), _fill_Grad_clr2);
    c.encodeFloat(QStringLiteral("_fill_grad_angle"), float(_fill_grad_angle));
    c.encodeColor(QStringLiteral("_fill_htch_clr"), _fill_htch_clr);
    c.encodeString(QStringLiteral("_fill_hatch_type"), _fill_hatch_type);
    c.encodeBool(QStringLiteral("_isFlippedHorizontally"), _isFlippedHorizontally);
    c.encodeBool(QStringLiteral("_isFlippedVertically"), _isFlippedVertically);
    c.encodeBool(QStringLiteral("invert_clr"), invert_clr);
    c.encodeBool(QStringLiteral("gray_Scale"), gray_Scale);
    c.encodeBool(QStringLiteral("Sepia"), Sepia);
    c.encodeFloat(QStringLiteral("img_trnsp_val"), img_trnsp_val);
    c.encodeFloat(QStringLiteral("hue_val"), hue_val);
    c.encodeFloat(QStringLiteral("sat_val"), sat_val);
    c.encodeFloat(QStringLiteral("brt_val"), brt_val);
    c.encodeFloat(QStringLiteral("con_val"), con_val);
    c.encodeFloat(QStringLiteral("srp_val"), srp_val);
    c.encodeFloat(QStringLiteral("ev_val"), ev_val);
    c.encodeFloat(QStringLiteral("blr_val"), blr_val);
    c.encodeInt(QStringLiteral("data_source_type"), data_source_type);
    c.encodeFloat(QStringLiteral("rotate_image"), rotate_image);
    c.encodeString(QStringLiteral("_file_path"), _file_path);
    c.encodeString(QStringLiteral("sign_or_fingureprint"), sign_or_fingureprint);
    c.encodeString(QStringLiteral("batch_list_name"), batch_list_name);
    c.encodeInt(QStringLiteral("batch_list_index"), batch_list_index);
    c.encodeInt(QStringLiteral("_line_ori"), _line_ori);
    c.encodeInt(QStringLiteral("_line_cap_style"), _line_cap_style);
    c.encodeFloat(QStringLiteral("alpha_val"), alpha_val);
    c.encodeFloat(QStringLiteral("alpha_val_stroke"), alpha_val_stroke);
    c.encodeFont(QStringLiteral("text_ctrl_font"), text_ctrl_font);
    c.encodeColor(QStringLiteral("txt_clr"), txt_clr);
    c.encodeText(QStringLiteral("_Text_contents"), _Text_contents);
    c.encodeString(QStringLiteral("_shape_type"), _shape_type);
    c.encodeFloat(QStringLiteral("cor_rad_val_val"), cor_rad_val_val);
    c.encodePicture(QStringLiteral("_barcode_image"), _barcode_image);
    c.encodeInt(QStringLiteral("linear_or_2d"), linear_or_2d);
    c.encodeInt(QStringLiteral("barcode_font_index"), barcode_font_index);
    c.encodeString(QStringLiteral("linear_font_val"), linear_font_val);
    c.encodeString(QStringLiteral("two_d_font_val"), two_d_font_val);
    c.encodeString(QStringLiteral("header_val"), header_val);
    c.encodeString(QStringLiteral("footer_val"), footer_val);
    c.encodeInt(QStringLiteral("show_hide_hdr"), show_hide_hdr);
    c.encodeInt(QStringLiteral("show_hide_ftr"), show_hide_ftr);
    c.encodeInt(QStringLiteral("show_hide_val"), show_hide_val);
    c.encodeInt(QStringLiteral("show_val_on_top"), show_val_on_top);
    c.encodeInt(QStringLiteral("align_hdr_index"), align_hdr_index);
    c.encodeInt(QStringLiteral("align_ftr_index"), align_ftr_index);
    c.encodeFloat(QStringLiteral("linear_height_val"), linear_height_val);
    c.encodeFloat(QStringLiteral("linear_width_val"), linear_width_val);
    c.encodeInt(QStringLiteral("qr_size_val"), qr_size_val);
    c.encodeInt(QStringLiteral("qr_version_index"), qr_version_index);
    c.encodeInt(QStringLiteral("qr_ec_index"), qr_ec_index);
    c.encodeInt(QStringLiteral("pdf_hgt_val"), pdf_hgt_val);
    c.encodeInt(QStringLiteral("pdf_wdt_val"), pdf_wdt_val);
    c.encodeInt(QStringLiteral("pdf_ec_val"), pdf_ec_val);
    c.encodeInt(QStringLiteral("dm_module_val"), dm_module_val);
    c.encodeInt(QStringLiteral("dm_format_index"), dm_format_index);
    c.encodeInt(QStringLiteral("dm_encoding_index"), dm_encoding_index);
    c.encodeFloat(QStringLiteral("hdr_margin_val"), hdr_margin_val);
    c.encodeFloat(QStringLiteral("ftr_margin_val"), ftr_margin_val);
    c.encodeFloat(QStringLiteral("val_margin_val"), val_margin_val);
    c.encodeFloat(QStringLiteral("TB_marging_val"), TB_marging_val);
    c.encodeFloat(QStringLiteral("LR_margin_val"), LR_margin_val);
    c.encodeFont(QStringLiteral("value_font_val"), value_font_val);
    c.encodeFont(QStringLiteral("header_font_val"), header_font_val);
    c.encodeFont(QStringLiteral("footer_font_val"), footer_font_val);
    c.encodeColor(QStringLiteral("barcode_hdr_clr_val"), barcode_hdr_clr_val);
    c.encodeColor(QStringLiteral("barcode_ftr_clr_val"), barcode_ftr_clr_val);
    c.encodeColor(QStringLiteral("barcode_val_clr_val"), barcode_val_clr_val);
    c.encodeColor(QStringLiteral("barcode_back_clr_val"), barcode_back_clr_val);
    c.encodeColor(QStringLiteral("barcode_clr_val"), barcode_clr_val);
    c.encodeInt(QStringLiteral("dpi_val_index"), dpi_val_index);
    c.encodeString(QStringLiteral("dpi_custom_val"), dpi_custom_val);
    c.encodeInt(QStringLiteral("barcode_unit_val"), barcode_unit_val);
    c.encodeInt(QStringLiteral("text_alignmnet"), text_alignmnet);
    c.encodeInt(QStringLiteral("text_transfrom_case"), text_transfrom_case);
    c.encodeFloat(QStringLiteral("text_kerning"), text_kerning);
    c.encodeInt(QStringLiteral("print_object"), print_object);
    c.encodeString(QStringLiteral("control_ID"), control_ID);
    c.encodeBool(QStringLiteral("excel_binding"), excel_binding);
    c.encodeInt(QStringLiteral("excel_col_indx"), excel_col_indx);
    c.encodeString(QStringLiteral("Text_Value"), Text_Value);
    c.encodeBool(QStringLiteral("ctrl_is_visible"), ctrl_is_visible);
    c.encodeInt(QStringLiteral("double_star_type"), double_star_type);
    c.encodeInt(QStringLiteral("polygon_type"), polygon_type);
}

void SKTGraphic::initWithCoder(KeyedUnarchiver &c)
{
    _bounds = c.decodeRect(QStringLiteral("_bounds"));
    ctrl_is_locked = c.decodeBool(QStringLiteral("ctrl_is_locked"));
    _isDrawingFill = c.decodeBool(QStringLiteral("_isDrawingFill"));
    _fillColor = c.decodeColor(QStringLiteral("_fillColor"));
    _isDrawingStroke = c.decodeBool(QStringLiteral("_isDrawingStroke"));
    _strokeColor = c.decodeColor(QStringLiteral("_strokeColor"));
    _strokeWidth = double(c.decodeFloat(QStringLiteral("_strokeWidth")));
    _stroke_border_type = c.decodeString(QStringLiteral("_stroke_border_type"));
    _fill_type = c.decodeString(QStringLiteral("_fill_type"));
    _fill_Grad_clr1 = c.decodeColor(QStringLiteral("_fill_Grad_clr1"));
    _fill_Grad_clr2 = c.decodeColor(QStringLiteral("_fill_Grad_clr2"));
    _fill_grad_angle = double(c.decodeFloat(QStringLiteral("_fill_grad_angle")));
    _fill_htch_clr = c.decodeColor(QStringLiteral("_fill_htch_clr"));
    _fill_hatch_type = c.decodeString(QStringLiteral("_fill_hatch_type"));
    _isFlippedHorizontally = c.decodeBool(QStringLiteral("_isFlippedHorizontally"));
    _isFlippedVertically = c.decodeBool(QStringLiteral("_isFlippedVertically"));
    invert_clr = c.decodeBool(QStringLiteral("invert_clr"));
    gray_Scale = c.decodeBool(QStringLiteral("gray_Scale"));
    Sepia = c.decodeBool(QStringLiteral("Sepia"));
    img_trnsp_val = c.decodeFloat(QStringLiteral("img_trnsp_val"));
    hue_val = c.decodeFloat(QStringLiteral("hue_val"));
    sat_val = c.decodeFloat(QStringLiteral("sat_val"));
    brt_val = c.decodeFloat(QStringLiteral("brt_val"));
    con_val = c.decodeFloat(QStringLiteral("con_val"));
    srp_val = c.decodeFloat(QStringLiteral("srp_val"));
    ev_val = c.decodeFloat(QStringLiteral("ev_val"));
    blr_val = c.decodeFloat(QStringLiteral("blr_val"));
    data_source_type = int32(c.decodeInt(QStringLiteral("data_source_type")));
    rotate_image = c.decodeFloat(QStringLiteral("rotate_image"));
    _file_path = c.decodeString(QStringLiteral("_file_path"));
    sign_or_fingureprint = c.decodeString(QStringLiteral("sign_or_fingureprint"));
    batch_list_name = c.decodeString(QStringLiteral("batch_list_name"));
    batch_list_index = int32(c.decodeInt(QStringLiteral("batch_list_index")));
    _line_ori = int32(c.decodeInt(QStringLiteral("_line_ori")));
    _line_cap_style = int32(c.decodeInt(QStringLiteral("_line_cap_style")));
    alpha_val = c.decodeFloat(QStringLiteral("alpha_val"));
    alpha_val_stroke = c.decodeFloat(QStringLiteral("alpha_val_stroke"));
    text_ctrl_font = c.decodeFont(QStringLiteral("text_ctrl_font"));
    txt_clr = c.decodeColor(QStringLiteral("txt_clr"));
    _Text_contents = c.decodeText(QStringLiteral("_Text_contents"));
    _shape_type = c.decodeString(QStringLiteral("_shape_type"));
    cor_rad_val_val = c.decodeFloat(QStringLiteral("cor_rad_val_val"));
    _barcode_image = c.decodePicture(QStringLiteral("_barcode_image"));
    linear_or_2d = int32(c.decodeInt(QStringLiteral("linear_or_2d")));
    barcode_font_index = int32(c.decodeInt(QStringLiteral("barcode_font_index")));
    linear_font_val = c.decodeString(QStringLiteral("linear_font_val"));
    two_d_font_val = c.decodeString(QStringLiteral("two_d_font_val"));
    header_val = c.decodeString(QStringLiteral("header_val"));
    footer_val = c.decodeString(QStringLiteral("footer_val"));
    show_hide_hdr = int32(c.decodeInt(QStringLiteral("show_hide_hdr")));
    show_hide_ftr = int32(c.decodeInt(QStringLiteral("show_hide_ftr")));
    show_hide_val = int32(c.decodeInt(QStringLiteral("show_hide_val")));
    show_val_on_top = int32(c.decodeInt(QStringLiteral("show_val_on_top")));
    align_hdr_index = int32(c.decodeInt(QStringLiteral("align_hdr_index")));
    align_ftr_index = int32(c.decodeInt(QStringLiteral("align_ftr_index")));
    linear_height_val = c.decodeFloat(QStringLiteral("linear_height_val"));
    linear_width_val = c.decodeFloat(QStringLiteral("linear_width_val"));
    qr_size_val = int32(c.decodeInt(QStringLiteral("qr_size_val")));
    qr_version_index = int32(c.decodeInt(QStringLiteral("qr_version_index")));
    qr_ec_index = int32(c.decodeInt(QStringLiteral("qr_ec_index")));
    pdf_hgt_val = int32(c.decodeInt(QStringLiteral("pdf_hgt_val")));
    pdf_wdt_val = int32(c.decodeInt(QStringLiteral("pdf_wdt_val")));
    pdf_ec_val = int32(c.decodeInt(QStringLiteral("pdf_ec_val")));
    dm_module_val = int32(c.decodeInt(QStringLiteral("dm_module_val")));
    dm_format_index = int32(c.decodeInt(QStringLiteral("dm_format_index")));
    dm_encoding_index = int32(c.decodeInt(QStringLiteral("dm_encoding_index")));
    hdr_margin_val = c.decodeFloat(QStringLiteral("hdr_margin_val"));
    ftr_margin_val = c.decodeFloat(QStringLiteral("ftr_margin_val"));
    val_margin_val = c.decodeFloat(QStringLiteral("val_margin_val"));
    TB_marging_val = c.decodeFloat(QStringLiteral("TB_marging_val"));
    LR_margin_val = c.decodeFloat(QStringLiteral("LR_margin_val"));
    value_font_val = c.decodeFont(QStringLiteral("value_font_val"));
    header_font_val = c.decodeFont(QStringLiteral("header_font_val"));
    footer_font_val = c.decodeFont(QStringLiteral("footer_font_val"));
    barcode_hdr_clr_val = c.decodeColor(QStringLiteral("barcode_hdr_clr_val"));
    barcode_ftr_clr_val = c.decodeColor(QStringLiteral("barcode_ftr_clr_val"));
    barcode_val_clr_val = c.decodeColor(QStringLiteral("barcode_val_clr_val"));
    barcode_back_clr_val = c.decodeColor(QStringLiteral("barcode_back_clr_val"));
    barcode_clr_val = c.decodeColor(QStringLiteral("barcode_clr_val"));
    dpi_val_index = int32(c.decodeInt(QStringLiteral("dpi_val_index")));
    dpi_custom_val = c.decodeString(QStringLiteral("dpi_custom_val"));
    barcode_unit_val = int32(c.decodeInt(QStringLiteral("barcode_unit_val")));
    text_alignmnet = int32(c.decodeInt(QStringLiteral("text_alignmnet")));
    text_transfrom_case = int32(c.decodeInt(QStringLiteral("text_transfrom_case")));
    text_kerning = c.decodeFloat(QStringLiteral("text_kerning"));
    print_object = int32(c.decodeInt(QStringLiteral("print_object")));
    control_ID = c.decodeString(QStringLiteral("control_ID"));
    excel_binding = c.decodeBool(QStringLiteral("excel_binding"));
    excel_col_indx = int32(c.decodeInt(QStringLiteral("excel_col_indx")));
    Text_Value = c.decodeString(QStringLiteral("Text_Value"));
    ctrl_is_visible = c.decodeBool(QStringLiteral("ctrl_is_visible"));
    double_star_type = int32(c.decodeInt(QStringLiteral("double_star_type")));
    polygon_type = int32(c.decodeInt(QStringLiteral("polygon_type")));
}

void SKTGraphic::registerClasses(KeyedUnarchiver &coder)
{
    coder.registerClass(QStringLiteral("SKTText"), readKind<SKTText>);
    coder.registerClass(QStringLiteral("SKTImage"), readKind<SKTImage>);
    coder.registerClass(QStringLiteral("SKTLine"), readKind<SKTLine>);
    coder.registerClass(QStringLiteral("Shape_Control"), readKind<Shape_Control>);
    coder.registerClass(QStringLiteral("SKTSignature"), readKind<SKTSignature>);
    coder.registerClass(QStringLiteral("SKTBarcode"), readKind<SKTBarcode>);
}

static GraphicPtr unarchiveWith(KeyedUnarchiver &coder, QString *error)
{
    if (!coder.ok()) {
        if (error)
            *error = coder.error();
        return nullptr;
    }
    SKTGraphic::registerClasses(coder);
    std::shared_ptr<Archivable> root = coder.decodeRootObject();
    auto graphic = std::dynamic_pointer_cast<SKTGraphic>(root);
    if (!coder.ok() || !graphic) {
        if (error)
            *error = coder.ok() ? QStringLiteral("The archive holds no card object.") : coder.error();
        return nullptr;
    }
    return graphic;
}

GraphicPtr SKTGraphic::unarchive(const QByteArray &archive, QString *error)
{
    KeyedUnarchiver coder(archive);
    return unarchiveWith(coder, error);
}

GraphicPtr SKTGraphic::unarchive(const plist::Value &archiveTree, QString *error)
{
    KeyedUnarchiver coder(archiveTree);
    return unarchiveWith(coder, error);
}
