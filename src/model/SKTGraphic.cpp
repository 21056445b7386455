#include "model/SKTGraphic.h"

#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "model/ModelGlobals.h"
#include "model/ModelHost.h"
#include "model/PathUtil.h"
#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace
{

std::optional<QColor> withAlpha(const std::optional<QColor> &color, float alpha)
{
    if (!color)
        return std::nullopt;
    QColor c = color->toRgb();
    c.setAlphaF(float(SKTGraphic::clampedOpacity(alpha)));
    return c;
}

} // namespace

SKTGraphic::SKTGraphic()
{
    ModelGlobals &g = ModelGlobals::instance();
    _file_path = PathUtil::resourceFile(QStringLiteral("no.png"));
    ModelHost &host = g.host();
    text_ctrl_font = host.All_Text_font();
    txt_clr = host.All_Text_clr();
}

SKTGraphic::SKTGraphic(ZeroFields)
{
    zeroFields();
}

SKTGraphic::~SKTGraphic() = default;

void SKTGraphic::zeroFields()
{
    _bounds = QRectF();
    _isDrawingFill = _isDrawingStroke = false;
    _fillColor = _strokeColor = _fill_Grad_clr1 = _fill_Grad_clr2 = _fill_htch_clr = std::nullopt;
    _strokeWidth = _fill_grad_angle = 0.0;
    _stroke_border_type = _fill_type = _fill_hatch_type = std::nullopt;
    _isFlippedHorizontally = _isFlippedVertically = invert_clr = gray_Scale = Sepia = false;
    img_trnsp_val = hue_val = sat_val = brt_val = con_val = srp_val = ev_val = blr_val = 0.0f;
    data_source_type = DataSourceCode::Fixed;
    rotate_image = 0.0f;
    _file_path = sign_or_fingureprint = batch_list_name = std::nullopt;
    batch_list_index = _line_ori = _line_cap_style = 0;
    cor_rad_val_val = alpha_val = alpha_val_stroke = 0.0f;
    text_ctrl_font = std::nullopt;
    txt_clr = std::nullopt;
    _Text_contents = std::nullopt;
    _shape_type = std::nullopt;
    _barcode_image = std::nullopt;
    linear_or_2d = barcode_font_index = 0;
    linear_font_val = two_d_font_val = header_val = footer_val = std::nullopt;
    show_hide_hdr = show_hide_ftr = show_hide_val = show_val_on_top = 0;
    align_hdr_index = align_ftr_index = 0;
    linear_height_val = linear_width_val = 0.0f;
    qr_size_val = qr_version_index = qr_ec_index = 0;
    pdf_hgt_val = pdf_wdt_val = pdf_ec_val = 0;
    dm_module_val = dm_format_index = dm_encoding_index = 0;
    hdr_margin_val = ftr_margin_val = val_margin_val = TB_marging_val = LR_margin_val = 0.0f;
    value_font_val = header_font_val = footer_font_val = std::nullopt;
    barcode_hdr_clr_val = barcode_ftr_clr_val = barcode_val_clr_val = std::nullopt;
    barcode_back_clr_val = barcode_clr_val = std::nullopt;
    dpi_val_index = 0;
    dpi_custom_val = std::nullopt;
    barcode_unit_val = 0;
    kerning_value = 0;
    ctrl_is_locked = false;
    text_alignmnet = text_transfrom_case = 0;
    text_kerning = 0.0f;
    print_object = 0;
    control_ID = std::nullopt;
    excel_binding = false;
    excel_col_indx = 0;
    Text_Value = std::nullopt;
    ctrl_is_visible = false;
    double_star_type = polygon_type = 0;
}

FontDescriptor SKTGraphic::defaultBarcodeFont()
{
    return FontDescriptor{QStringLiteral("TimesNewRomanPSMT"), 10.0};
}

QString SKTGraphic::className() const
{
    switch (kind()) {
    case Kind::Text:
        return QStringLiteral("SKTText");
    case Kind::Image:
        return QStringLiteral("SKTImage");
    case Kind::Line:
        return QStringLiteral("SKTLine");
    case Kind::Shape:
        return QStringLiteral("Shape_Control");
    case Kind::Signature:
        return QStringLiteral("SKTSignature");
    case Kind::Barcode:
        return QStringLiteral("SKTBarcode");
    }
    return QString();
}

GraphicPtr SKTGraphic::create(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return std::make_shared<SKTText>();
    case Kind::Image:
        return std::make_shared<SKTImage>();
    case Kind::Line:
        return std::make_shared<SKTLine>();
    case Kind::Shape:
        return std::make_shared<Shape_Control>();
    case Kind::Signature:
        return std::make_shared<SKTSignature>();
    case Kind::Barcode:
        return std::make_shared<SKTBarcode>();
    }
    return nullptr;
}

AttributedText &SKTGraphic::Text_contents()
{
    if (!_Text_contents)
        _Text_contents = textContentsForDrawing();
    return *_Text_contents;
}

AttributedText SKTGraphic::textContentsForDrawing() const
{
    if (_Text_contents)
        return *_Text_contents;
    AttributedText t;
    t.text = Text_Value.value_or(QString());
    t.color = QColor(0, 0, 0);
    t.font = ModelGlobals::defaultTextFont();
    return t;
}

// --- geometry ---

void SKTGraphic::setBounds(const QRectF &bounds)
{
    changeValue(SKTGraphicBoundsKey, [&] { _bounds = bounds; });
}

void SKTGraphic::setXPosition(double v)
{
    QRectF b = bounds();
    b.moveLeft(v);
    setBounds(b);
}

void SKTGraphic::setYPosition(double v)
{
    QRectF b = bounds();
    b.moveTop(v);
    setBounds(b);
}

void SKTGraphic::setWidth(double v)
{
    QRectF b = bounds();
    b.setWidth(v);
    setBounds(b);
}

void SKTGraphic::setHeight(double v)
{
    QRectF b = bounds();
    b.setHeight(v);
    setBounds(b);
}

QRectF SKTGraphic::drawingBounds() const
{
    double outset = SKTGraphicHandleHalfWidth;
    if (isDrawingStroke()) {
        const double half = strokeWidth() / 2.0;
        if (half > outset)
            outset = half;
    }
    const QRectF b = bounds();
    return QRectF(b.x() - outset, b.y() - outset, b.width() + 2 * outset + 1.0,
                  b.height() + 2 * outset + 1.0);
}

QPointF SKTGraphic::handlePoint(const QRectF &b, int handle)
{
    const double x = b.x(), y = b.y(), w = b.width(), h = b.height();
    switch (handle) {
    case GraphicHandle::UpperLeft:
        return {x, y};
    case GraphicHandle::UpperMiddle:
        return {x + w * 0.5, y};
    case GraphicHandle::UpperRight:
        return {x + w, y};
    case GraphicHandle::MiddleLeft:
        return {x, y + h * 0.5};
    case GraphicHandle::MiddleRight:
        return {x + w, y + h * 0.5};
    case GraphicHandle::LowerLeft:
        return {x, y + h};
    case GraphicHandle::LowerMiddle:
        return {x + w * 0.5, y + h};
    case GraphicHandle::LowerRight:
        return {x + w, y + h};
    default:
        return {x, y};
    }
}

bool SKTGraphic::isHandleAtPoint(const QPointF &hp, const QPointF &p)
{
    // Minimum edges inclusive, maximum edges exclusive.
    const double left = hp.x() - SKTGraphicHandleHalfWidth;
    const double top = hp.y() - SKTGraphicHandleHalfWidth;
    return p.x() >= left && p.x() < left + SKTGraphicHandleWidth && p.y() >= top &&
           p.y() < top + SKTGraphicHandleWidth;
}

int SKTGraphic::handleUnderPoint(const QPointF &point) const
{
    for (int h = GraphicHandle::UpperLeft; h <= GraphicHandle::LowerRight; ++h) {
        if (isHandleAtPoint(handlePoint(bounds(), h), point))
            return h;
    }
    return SKTGraphicNoHandle;
}

bool SKTGraphic::isContentsUnderPoint(const QPointF &p) const
{
    const QRectF b = bounds();
    return b.width() > 0 && b.height() > 0 && p.x() >= b.left() && p.x() < b.x() + b.width() &&
           p.y() >= b.top() && p.y() < b.y() + b.height();
}

int SKTGraphic::resizeByMovingHandle(int handle, const QPointF &p)
{
    using namespace GraphicHandle;
    // The handle on the other side when the drag passes the opposite edge, by handle number.
    static const int horizontalFlip[9] = {None,       UpperRight, UpperMiddle, UpperLeft, MiddleRight,
                                          MiddleLeft, LowerRight, LowerMiddle, LowerLeft};
    static const int verticalFlip[9] = {None,        LowerLeft, LowerMiddle, LowerRight, MiddleLeft,
                                        MiddleRight, UpperLeft, UpperMiddle, UpperRight};
    if (handle < UpperLeft || handle > LowerRight)
        return handle;
    double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    if (handle == UpperLeft || handle == MiddleLeft || handle == LowerLeft) {
        w = x + w - p.x();
        x = p.x();
    } else if (handle == UpperRight || handle == MiddleRight || handle == LowerRight) {
        w = p.x() - x;
    }
    if (w < 0) {
        handle = horizontalFlip[handle];
        w = -w;
        x = x - w;
        flipHorizontally();
    }
    if (handle == UpperLeft || handle == UpperMiddle || handle == UpperRight) {
        h = y + h - p.y();
        y = p.y();
    } else if (handle == LowerLeft || handle == LowerMiddle || handle == LowerRight) {
        h = p.y() - y;
    }
    if (h < 0) {
        handle = verticalFlip[handle];
        h = -h;
        y = y - h;
        flipVertically();
    }
    setBounds(QRectF(x, y, w, h));
    return handle;
}

bool SKTGraphic::canMakeNaturalSize() const
{
    return bounds().width() != bounds().height();
}

void SKTGraphic::makeNaturalSize()
{
    QRectF b = bounds();
    if (b.height() > b.width())
        b.setHeight(b.width());
    else if (b.width() > b.height())
        b.setWidth(b.height());
    else
        return;
    setBounds(b);
}

GraphicPtr SKTGraphic::copy() const
{
    GraphicPtr c = makeDefault();
    c->_bounds = _bounds;
    c->_isDrawingFill = _isDrawingFill;
    c->_fillColor = _fillColor;
    c->_isDrawingStroke = _isDrawingStroke;
    c->_strokeColor = _strokeColor;
    c->_strokeWidth = _strokeWidth;
    c->_stroke_border_type = _stroke_border_type;
    c->_fill_type = _fill_type;
    c->_fill_Grad_clr1 = _fill_Grad_clr1;
    c->_fill_Grad_clr2 = _fill_Grad_clr2;
    c->_fill_grad_angle = _fill_grad_angle;
    c->_fill_htch_clr = _fill_htch_clr;
    c->_fill_hatch_type = _fill_hatch_type;
    return c;
}

GraphicPtr SKTGraphic::clone() const
{
    return cloneRecord();
}

// --- style ---

double SKTGraphic::clampedOpacity(float value)
{
    if (std::isnan(value))
        return 1.0;
    return std::clamp(double(value), 0.0, 1.0);
}

std::optional<QColor> SKTGraphic::fillColor() const
{
    return withAlpha(_fillColor, alpha_val);
}

std::optional<QColor> SKTGraphic::strokeColor() const
{
    return withAlpha(_strokeColor, alpha_val_stroke);
}

std::optional<QColor> SKTGraphic::fill_hatch_bk_clr() const
{
    return withAlpha(_fill_htch_clr, alpha_val);
}

std::optional<QColor> SKTGraphic::fill_Grad_clr1() const
{
    return withAlpha(_fill_Grad_clr1, alpha_val);
}

std::optional<QColor> SKTGraphic::fill_Grad_clr2() const
{
    return withAlpha(_fill_Grad_clr2, alpha_val);
}

void SKTGraphic::setColor(const QColor &color)
{
    if (!canSetDrawingFill())
        return;
    if (!isDrawingFill())
        setValueForKey(SKTGraphicIsDrawingFillKey, true);
    setValueForKey(SKTGraphicFillColorKey, color);
}

// --- lists ---

QRectF SKTGraphic::unionRect(const QRectF &a, const QRectF &b)
{
    const bool aEmpty = a.width() <= 0 || a.height() <= 0;
    const bool bEmpty = b.width() <= 0 || b.height() <= 0;
    if (aEmpty && bEmpty)
        return QRectF();
    if (aEmpty)
        return b;
    if (bEmpty)
        return a;
    const double left = std::min(a.x(), b.x());
    const double top = std::min(a.y(), b.y());
    const double right = std::max(a.x() + a.width(), b.x() + b.width());
    const double bottom = std::max(a.y() + a.height(), b.y() + b.height());
    return QRectF(left, top, right - left, bottom - top);
}

QRectF SKTGraphic::boundsOfGraphics(const GraphicList &graphics)
{
    if (graphics.isEmpty())
        return QRectF();
    QRectF r = graphics.first()->bounds();
    for (qsizetype i = 1; i < graphics.size(); ++i)
        r = unionRect(r, graphics.at(i)->bounds());
    return r;
}

QRectF SKTGraphic::drawingBoundsOfGraphics(const GraphicList &graphics)
{
    if (graphics.isEmpty())
        return ModelGlobals::instance().host().frontCanvasBounds();
    QRectF r = graphics.first()->drawingBounds();
    for (qsizetype i = 1; i < graphics.size(); ++i)
        r = unionRect(r, graphics.at(i)->drawingBounds());
    return r;
}

void SKTGraphic::translateGraphics(const GraphicList &graphics, double dx, double dy)
{
    for (const GraphicPtr &g : graphics) {
        if (!g->ctrl_is_locked)
            g->setBounds(g->bounds().translated(dx, dy));
    }
}

void SKTGraphic::takePlacedValue(Kind asked, const QString &value)
{
    if (asked == Kind::Text && kind() == Kind::Text) {
        if (value.isEmpty())
            return;
        // A text whose storage was never made already shows its value: making the storage now would
        // change the design (and its undo history) while the card stays the same.
        const bool shown = textContentsForDrawing().text == value;
        Text_Value = value;
        _isDrawingStroke = false;
        _isDrawingFill = false;
        if (!shown)
            Text_contents().text = value;
        Set_Ctrl_Is_Visible(true);
    } else if (asked == Kind::Image) {
        if (!QFileInfo(value).isFile()) {
            Show_NSLog_Message(value);
            return;
        }
        if (auto *image = dynamic_cast<SKTImage *>(this))
            image->setFilePath(value);
        Set_Ctrl_Is_Visible(true);
    }
}
