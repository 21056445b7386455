#include "barcode/BarcodeSizing.h"

#include "barcode/BarcodeSettings.h"
#include "barcode/NKDBarcode.h"
#include "platform/Units.h"

#include <QPainter>

#include <cmath>

namespace
{

// The widest of the symbol and the shown header and footer, with the side margins: 15 points
// more when there are any.
float frameWidth(const BarcodeSettings &settings, double symbolWidth, double headerWidth, double footerWidth)
{
    const double hw = settings.show_hide_hdr == 1 ? 0.0 : headerWidth;
    const double fw = settings.show_hide_ftr == 1 ? 0.0 : footerWidth;
    const float lr = BarcodeSizing::toPoints(float(settings.LR_margin_val), settings.unit);
    float total = float(std::max({hw, fw, symbolWidth}) + 2.0 * lr);
    if (lr > 0)
        total += 15.0f;
    return total;
}

} // namespace

float BarcodeSizing::toPoints(float value, int unit)
{
    return float(Units::enteredToPoints(double(value), unit));
}

double BarcodeSizing::barWidthForMils(double mils)
{
    return Units::milsToPoints(mils);
}

BarcodeMargins BarcodeSizing::margins(const BarcodeSettings &s)
{
    BarcodeMargins m;
    m.value = s.show_hide_val == 1 ? 0.0f : toPoints(float(s.val_margin_val), s.unit);
    m.header = s.show_hide_hdr == 1 ? 0.0f : toPoints(float(s.hdr_margin_val), s.unit);
    m.footer = s.show_hide_ftr == 1 ? 0.0f : toPoints(float(s.ftr_margin_val), s.unit);
    m.leftRight = toPoints(float(s.LR_margin_val), s.unit);
    m.topBottom = toPoints(float(s.TB_marging_val), s.unit);
    return m;
}

void BarcodeSizing::Set_Barcode_Height(const BarcodeSettings &settings, NKDBarcode &barcode)
{
    const BarcodeMargins m = margins(settings);
    barcode.setMargins(m);
    // Bars whose lengths the symbology fixes need that much room whatever the entry says.
    const float h =
        std::max(toPoints(float(settings.linear_height_val), settings.unit), float(barcode.fixedBarHeight()));
    float height = h;
    if (barcode.printsCaption())
        height = float(double(height) + Units::inchesToPoints(barcode.captionHeight()) + m.value);
    if (barcode.printsHeader())
        height = float(double(height) + Units::inchesToPoints(barcode.headerHeight()) + m.header);
    if (barcode.printsFooter())
        height = float(double(height) + Units::inchesToPoints(barcode.footerHeight()) + m.footer);
    height = height + 2.0f * float(m.topBottom);
    barcode.setHeight(height);
}

float BarcodeSizing::Set_Linear_Barcode_Width(const BarcodeSettings &settings, const NKDBarcode &barcode)
{
    return frameWidth(settings, barcode.width(), barcode.headerWidth(), barcode.footerWidth());
}

void BarcodeSizing::Set_2d_Barcode_Height(const BarcodeSettings &settings, QSizeF symbol, SymbolFrame &frame)
{
    const BarcodeMargins m = margins(settings);
    const float hh = settings.show_hide_hdr == 1 ? 0.0f : float(Units::inchesToPoints(frame.headerHeight));
    const float fh = settings.show_hide_ftr == 1 ? 0.0f : float(Units::inchesToPoints(frame.footerHeight));
    frame.height =
        float(symbol.height()) + hh + float(m.header) + fh + float(m.footer) + 2.0f * float(m.topBottom);
}

void BarcodeSizing::Set_2d_Barcode_Width(const BarcodeSettings &settings, QSizeF symbol, SymbolFrame &frame)
{
    frame.width = frameWidth(settings, symbol.width(), frame.headerWidth, frame.footerWidth);
}

int BarcodeSizing::pixelsFor(double points, double dpi)
{
    return int(std::ceil(float(dpi * points / Units::PointsPerInch)));
}

QImage BarcodeSizing::Increase_DPI(const QImage &image, QSizeF sizeInPoints, double dpi)
{
    if (image.isNull() || sizeInPoints.isEmpty() || dpi <= 0)
        return {};
    const int w = pixelsFor(sizeInPoints.width(), dpi);
    const int h = pixelsFor(sizeInPoints.height(), dpi);
    if (w <= 0 || h <= 0 || qint64(w) * h > qint64(kMaxPictureSide) * kMaxPictureSide)
        return {};
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(0, 0, w, h), image);
    p.end();
    return out;
}
