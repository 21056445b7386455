// cardtool design-dump: prints a design file as JSON: both pages' settings, every object's fields
// under their archive keys, and the Excel binding.
#include "Command.h"

#include "editor/DesignFile.h"
#include "model/SKTLine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace
{

QJsonValue num(double v)
{
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

// A colour channel is kept in 16 bits: print the shortest decimal that gives the same channel.
double channel(double v)
{
    const long stored = std::lround(v * 65535.0);
    for (int digits = 1; digits <= 6; ++digits) {
        const double scale = std::pow(10.0, digits);
        const double r = std::round(v * scale) / scale;
        if (std::lround(r * 65535.0) == stored)
            return r;
    }
    return v;
}

QJsonValue color(const QColor &c)
{
    if (!c.isValid())
        return QJsonValue();
    const QColor rgb = c.toRgb();
    return QJsonArray{channel(rgb.redF()), channel(rgb.greenF()), channel(rgb.blueF()),
                      channel(rgb.alphaF())};
}

QJsonValue color(const std::optional<QColor> &c)
{
    return c ? color(*c) : QJsonValue();
}

QJsonValue font(const FontDescriptor &f)
{
    return QJsonObject{{QStringLiteral("name"), f.postScriptName}, {QStringLiteral("size"), num(f.size)}};
}

QJsonValue font(const std::optional<FontDescriptor> &f)
{
    return f ? font(*f) : QJsonValue();
}

QJsonValue str(const std::optional<QString> &s)
{
    return s ? QJsonValue(*s) : QJsonValue();
}

QJsonValue text(const std::optional<AttributedText> &t)
{
    return t ? QJsonValue(QJsonObject{{QStringLiteral("text"), t->text}}) : QJsonValue();
}

QJsonValue picture(const std::optional<Picture> &p)
{
    if (!p)
        return QJsonValue();
    return QJsonObject{{QStringLiteral("width"), num(p->size().width())},
                       {QStringLiteral("height"), num(p->size().height())}};
}

QJsonObject page(const Card_Property &p)
{
    QJsonObject o;
    o[QStringLiteral("Card_border_chk")] = p.Card_border_chk;
    o[QStringLiteral("Card_bordr_clr")] = color(p.Card_bordr_clr);
    o[QStringLiteral("Card_bor_Stepper")] = p.Card_bor_Stepper;
    o[QStringLiteral("Card_border_style")] = p.Card_border_style;
    o[QStringLiteral("Card_fill_chk")] = p.Card_fill_chk;
    o[QStringLiteral("Card_fill_style")] = p.Card_fill_style;
    o[QStringLiteral("Card_fill_clr")] = color(p.Card_fill_clr);
    o[QStringLiteral("Card_fill_Grd_1_clr")] = color(p.Card_fill_Grd_1_clr);
    o[QStringLiteral("Card_fill_Grd_2_clr")] = color(p.Card_fill_Grd_2_clr);
    o[QStringLiteral("Card_grad_Stepper")] = p.Card_grad_Stepper;
    o[QStringLiteral("Card_hatch_style")] = p.Card_hatch_style;
    o[QStringLiteral("Card_hatch_bk_clr")] = color(p.Card_hatch_bk_clr);
    o[QStringLiteral("Card_alpha_Stepper")] = num(p.Card_alpha_Stepper);
    o[QStringLiteral("Card_Side")] = p.Card_Side;
    o[QStringLiteral("Card_Side_Name")] = p.Card_Side_Name;
    o[QStringLiteral("Card_Shape")] = p.Card_Shape;
    o[QStringLiteral("Card_Name")] = p.Card_Name;
    o[QStringLiteral("Card_Location")] = QJsonArray{num(p.Card_Location.x()), num(p.Card_Location.y())};
    o[QStringLiteral("Card_Size")] = QJsonArray{num(p.Card_Size.width()), num(p.Card_Size.height())};
    o[QStringLiteral("Card_Preset")] = p.Card_Preset;
    o[QStringLiteral("Card_Category")] = p.Card_Category;
    o[QStringLiteral("Card_Sub_Category")] = p.Card_Sub_Category;
    o[QStringLiteral("Card_Cat_index")] = p.Card_Cat_index;
    o[QStringLiteral("Card_Create_Mode")] = p.Card_Create_Mode;
    o[QStringLiteral("Card_BG_Image_Path")] = p.Card_BG_Image_Path;
    o[QStringLiteral("Card_BG_Image_Layout")] = p.Card_BG_Image_Layout;
    o[QStringLiteral("Card_Content_clr")] = color(p.Card_Content_clr);
    o[QStringLiteral("Card_Content_font")] = font(p.Card_Content_font);
    return o;
}

QJsonObject object(const SKTGraphic &g)
{
    QJsonObject o;
    o[QStringLiteral("class")] = g.className();
    const QRectF b = g._bounds;
    o[QStringLiteral("_bounds")] = QJsonArray{num(b.x()), num(b.y()), num(b.width()), num(b.height())};
    o[QStringLiteral("ctrl_is_locked")] = g.ctrl_is_locked;
    o[QStringLiteral("_isDrawingFill")] = g._isDrawingFill;
    o[QStringLiteral("_fillColor")] = color(g._fillColor);
    o[QStringLiteral("_isDrawingStroke")] = g._isDrawingStroke;
    o[QStringLiteral("_strokeColor")] = color(g._strokeColor);
    o[QStringLiteral("_strokeWidth")] = num(g._strokeWidth);
    o[QStringLiteral("_stroke_border_type")] = str(g._stroke_border_type);
    o[QStringLiteral("_fill_type")] = str(g._fill_type);
    o[QStringLiteral("_fill_Grad_clr1")] = color(g._fill_Grad_clr1);
    o[QStringLiteral("_fill_Grad_clr2")] = color(g._fill_Grad_clr2);
    o[QStringLiteral("_fill_grad_angle")] = num(g._fill_grad_angle);
    o[QStringLiteral("_fill_htch_clr")] = color(g._fill_htch_clr);
    o[QStringLiteral("_fill_hatch_type")] = str(g._fill_hatch_type);
    o[QStringLiteral("_isFlippedHorizontally")] = g._isFlippedHorizontally;
    o[QStringLiteral("_isFlippedVertically")] = g._isFlippedVertically;
    o[QStringLiteral("invert_clr")] = g.invert_clr;
    o[QStringLiteral("gray_Scale")] = g.gray_Scale;
    o[QStringLiteral("Sepia")] = g.Sepia;
    o[QStringLiteral("img_trnsp_val")] = num(g.img_trnsp_val);
    o[QStringLiteral("hue_val")] = num(g.hue_val);
    o[QStringLiteral("sat_val")] = num(g.sat_val);
    o[QStringLiteral("brt_val")] = num(g.brt_val);
    o[QStringLiteral("con_val")] = num(g.con_val);
    o[QStringLiteral("srp_val")] = num(g.srp_val);
    o[QStringLiteral("ev_val")] = num(g.ev_val);
    o[QStringLiteral("blr_val")] = num(g.blr_val);
    o[QStringLiteral("data_source_type")] = g.data_source_type;
    o[QStringLiteral("rotate_image")] = num(g.rotate_image);
    o[QStringLiteral("_file_path")] = str(g._file_path);
    o[QStringLiteral("sign_or_fingureprint")] = str(g.sign_or_fingureprint);
    o[QStringLiteral("batch_list_name")] = str(g.batch_list_name);
    o[QStringLiteral("batch_list_index")] = g.batch_list_index;
    o[QStringLiteral("_line_ori")] = g._line_ori;
    o[QStringLiteral("_line_cap_style")] = g._line_cap_style;
    o[QStringLiteral("alpha_val")] = num(g.alpha_val);
    o[QStringLiteral("alpha_val_stroke")] = num(g.alpha_val_stroke);
    o[QStringLiteral("text_ctrl_font")] = font(g.text_ctrl_font);
    o[QStringLiteral("txt_clr")] = color(g.txt_clr);
    o[QStringLiteral("_Text_contents")] = text(g._Text_contents);
    o[QStringLiteral("_shape_type")] = str(g._shape_type);
    o[QStringLiteral("cor_rad_val_val")] = num(g.cor_rad_val_val);
    o[QStringLiteral("_barcode_image")] = picture(g._barcode_image);
    o[QStringLiteral("linear_or_2d")] = g.linear_or_2d;
    o[QStringLiteral("barcode_font_index")] = g.barcode_font_index;
    o[QStringLiteral("linear_font_val")] = str(g.linear_font_val);
    o[QStringLiteral("two_d_font_val")] = str(g.two_d_font_val);
    o[QStringLiteral("header_val")] = str(g.header_val);
    o[QStringLiteral("footer_val")] = str(g.footer_val);
    o[QStringLiteral("show_hide_hdr")] = g.show_hide_hdr;
    o[QStringLiteral("show_hide_ftr")] = g.show_hide_ftr;
    o[QStringLiteral("show_hide_val")] = g.show_hide_val;
    o[QStringLiteral("show_val_on_top")] = g.show_val_on_top;
    o[QStringLiteral("align_hdr_index")] = g.align_hdr_index;
    o[QStringLiteral("align_ftr_index")] = g.align_ftr_index;
    o[QStringLiteral("linear_height_val")] = num(g.linear_height_val);
    o[QStringLiteral("linear_width_val")] = num(g.linear_width_val);
    o[QStringLiteral("qr_size_val")] = g.qr_size_val;
    o[QStringLiteral("qr_version_index")] = g.qr_version_index;
    o[QStringLiteral("qr_ec_index")] = g.qr_ec_index;
    o[QStringLiteral("pdf_hgt_val")] = g.pdf_hgt_val;
    o[QStringLiteral("pdf_wdt_val")] = g.pdf_wdt_val;
    o[QStringLiteral("pdf_ec_val")] = g.pdf_ec_val;
    o[QStringLiteral("dm_module_val")] = g.dm_module_val;
    o[QStringLiteral("dm_format_index")] = g.dm_format_index;
    o[QStringLiteral("dm_encoding_index")] = g.dm_encoding_index;
    o[QStringLiteral("hdr_margin_val")] = num(g.hdr_margin_val);
    o[QStringLiteral("ftr_margin_val")] = num(g.ftr_margin_val);
    o[QStringLiteral("val_margin_val")] = num(g.val_margin_val);
    o[QStringLiteral("TB_marging_val")] = num(g.TB_marging_val);
    o[QStringLiteral("LR_margin_val")] = num(g.LR_margin_val);
    o[QStringLiteral("value_font_val")] = font(g.value_font_val);
    o[QStringLiteral("header_font_val")] = font(g.header_font_val);
    o[QStringLiteral("footer_font_val")] = font(g.footer_font_val);
    o[QStringLiteral("barcode_hdr_clr_val")] = color(g.barcode_hdr_clr_val);
    o[QStringLiteral("barcode_ftr_clr_val")] = color(g.barcode_ftr_clr_val);
    o[QStringLiteral("barcode_val_clr_val")] = color(g.barcode_val_clr_val);
    o[QStringLiteral("barcode_back_clr_val")] = color(g.barcode_back_clr_val);
    o[QStringLiteral("barcode_clr_val")] = color(g.barcode_clr_val);
    o[QStringLiteral("dpi_val_index")] = g.dpi_val_index;
    o[QStringLiteral("dpi_custom_val")] = str(g.dpi_custom_val);
    o[QStringLiteral("barcode_unit_val")] = g.barcode_unit_val;
    o[QStringLiteral("text_alignmnet")] = g.text_alignmnet;
    o[QStringLiteral("text_transfrom_case")] = g.text_transfrom_case;
    o[QStringLiteral("text_kerning")] = num(g.text_kerning);
    o[QStringLiteral("print_object")] = g.print_object;
    o[QStringLiteral("control_ID")] = str(g.control_ID);
    o[QStringLiteral("excel_binding")] = g.excel_binding;
    o[QStringLiteral("excel_col_indx")] = g.excel_col_indx;
    o[QStringLiteral("Text_Value")] = str(g.Text_Value);
    o[QStringLiteral("ctrl_is_visible")] = g.ctrl_is_visible;
    o[QStringLiteral("double_star_type")] = g.double_star_type;
    o[QStringLiteral("polygon_type")] = g.polygon_type;
    if (g.kind() == SKTGraphic::Kind::Line) {
        const auto &line = static_cast<const SKTLine &>(g);
        o[QStringLiteral("_pointsRight")] = line._pointsRight;
        o[QStringLiteral("_pointsDown")] = line._pointsDown;
    }
    return o;
}

QJsonObject side(const Card_Property &p, const GraphicList &objects)
{
    QJsonArray list;
    for (const GraphicPtr &g : objects)
        list.append(object(*g));
    return QJsonObject{{QStringLiteral("page"), page(p)}, {QStringLiteral("objects"), list}};
}

} // namespace

CARDTOOL_COMMAND(designDump, "design-dump", "IN.dcard")
{
    if (args.size() != 1) {
        cardtool::fail(QStringLiteral("design-dump needs one input path"));
        return 1;
    }
    QByteArray bytes;
    DesignContents c;
    QString reason;
    if (!DesignFile::readFileBytes(args.first(), &bytes, &reason) ||
        !DesignFileFormat::parse(bytes, &c, &reason)) {
        cardtool::fail(DesignFile::CorruptMessage);
        return 1;
    }
    QJsonArray titles;
    for (const QString &t : std::as_const(c.titles))
        titles.append(t);
    QJsonArray rows;
    for (const ExcelBindingTable::Row &row : std::as_const(c.rows)) {
        QJsonObject r;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            r[it.key()] = it.value();
        rows.append(r);
    }
    const QJsonObject excel{{QStringLiteral("use"), c.excelUse},
                            {QStringLiteral("path"), c.excelPath},
                            {QStringLiteral("titles"), titles},
                            {QStringLiteral("rows"), rows}};
    const QJsonObject root{{QStringLiteral("front"), side(c.front, c.frontObjects)},
                           {QStringLiteral("back"), side(c.back, c.backObjects)},
                           {QStringLiteral("excel"), excel}};
    return cardtool::writeStdout(QJsonDocument(root).toJson(QJsonDocument::Indented)) ? 0 : 1;
}
