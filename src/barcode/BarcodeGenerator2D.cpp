// The 2D road of BarcodeGenerator: QR Code, PDF417 and Data Matrix symbols as images at the
// output resolution, with their size in points.
#include "barcode/BarcodeGenerator.h"

#include "barcode/BarcodeSizing.h"
#include "barcode/DataMatrixEncoder.h"
#include "barcode/PDF417View.h"
#include "barcode/QREncoder.h"
#include "platform/Units.h"

namespace
{

BarcodeGenerator::Symbol2D qrCode(const BarcodeSettings &settings, const QString &value)
{
    BarcodeGenerator::Symbol2D out;
    const QREncodeResult qr =
        QREncoder::encodeWithECLevel(settings.qr_ec_index, settings.qr_version_index, value);
    if (!qr.ok()) {
        out.error = qr.error.isEmpty() ? QStringLiteral("The value does not fit in a QR Code") : qr.error;
        return out;
    }
    // The image is made at one pixel per point before it is raised: bound both sizes first.
    const int side = std::max(1, settings.qr_size_val);
    const int maxSide = BarcodeSizing::kMaxPictureSide;
    if (side > maxSide || double(side) * settings.dpi / Units::PointsPerInch > maxSide) {
        out.error = QStringLiteral("The QR Code picture is too large for the resolution");
        return out;
    }
    const QImage image = QREncoder::renderDataMatrix(qr.matrix, side);
    if (image.isNull()) {
        out.error = QStringLiteral("No barcode produced");
        return out;
    }
    // The image has one pixel per point; it grows when the side is smaller than the matrix.
    out.size = QSizeF(image.width(), image.height());
    out.image = BarcodeSizing::Increase_DPI(image, out.size, settings.dpi);
    if (out.image.isNull())
        out.error = QStringLiteral("The QR Code picture is too large for the resolution");
    return out;
}

BarcodeGenerator::Symbol2D pdf417(const BarcodeSettings &settings, const QString &value)
{
    BarcodeGenerator::Symbol2D out;
    PDF417View view;
    view.setFrameSize(QSizeF(settings.pdf_wdt_val, settings.pdf_hgt_val));
    view.setOutputDpi(settings.dpi);
    view.setErrorLevel(settings.pdf_ec_val);
    view.drawWithText(value);
    if (view.imageState() != PDF417View::ImageReady || view.getImage().isNull()) {
        out.error =
            view.lastError().isEmpty() ? QStringLiteral("No PDF417 symbol could be made") : view.lastError();
        return out;
    }
    out.image = view.getImage();
    out.size = view.imageSize();
    return out;
}

BarcodeGenerator::Symbol2D dataMatrix(const BarcodeSettings &settings, const QString &value)
{
    BarcodeGenerator::Symbol2D out;
    const QStringList &formats = BarcodeSettings::dataMatrixFormats();
    const QStringList &encodings = BarcodeSettings::dataMatrixEncodings();
    const QString format = formats.value(settings.dm_format_index, formats.first());
    const QString encoding = encodings.value(settings.dm_encoding_index, encodings.first());
    const DataMatrixSymbol symbol = DataMatrixEncoder::encode(value, format, encoding);
    if (!symbol.ok()) {
        out.error = symbol.error.isEmpty() ? QStringLiteral("No barcode produced") : symbol.error;
        return out;
    }
    out.image = DataMatrixEncoder::pageImage(symbol, settings.dpi);
    out.size = DataMatrixEncoder::pageSize(symbol, std::max(1, settings.dm_module_val));
    if (out.image.isNull() || out.size.isEmpty()) {
        out.image = QImage();
        out.error = QStringLiteral("No barcode produced");
    }
    return out;
}

} // namespace

BarcodeGenerator::Symbol2D BarcodeGenerator::encode2D(const BarcodeSettings &settings, const QString &value)
{
    const QString &title = settings.symbologyTitle;
    if (title == QLatin1String("QR Code"))
        return qrCode(settings, value);
    if (title == QLatin1String("PDF417"))
        return pdf417(settings, value);
    if (title == QLatin1String("DataMatrix"))
        return dataMatrix(settings, value);
    Symbol2D out;
    out.error = QStringLiteral("%1 symbols cannot be made yet").arg(title);
    return out;
}
