// The 2D road of BarcodeGenerator: QR Code, PDF417 and Data Matrix symbols as module grids placed
// as their pictures at the output resolution would show them, with their size in points.
#include "barcode/BarcodeGenerator.h"

#include "barcode/BarcodeSizing.h"
#include "barcode/DataMatrixEncoder.h"
#include "barcode/PDF417View.h"
#include "barcode/QREncoder.h"
#include "platform/Units.h"

namespace
{

BarcodeGenerator::Symbol2D qrCode(const BarcodeSettings &settings, const QString &value, bool sizeOnly)
{
    BarcodeGenerator::Symbol2D out;
    QREncodeResult qr;
    OpResult outcome;
    int n = 0;
    if (sizeOnly) {
        const QRSizeResult sized =
            QREncoder::sizeWithECLevel(settings.qr_ec_index, settings.qr_version_index, value);
        outcome = sized;
        n = sized.dimension;
    } else {
        qr = QREncoder::encodeWithECLevel(settings.qr_ec_index, settings.qr_version_index, value);
        outcome = qr;
        n = qr.matrix.dimension();
    }
    if (!outcome.ok() || n <= 0) {
        out.error = outcome.message.isEmpty() ? QStringLiteral("The value does not fit in a QR Code")
                                              : outcome.message;
        return out;
    }
    // The symbol is laid out at one unit per point as its square picture would be, then raised
    // to the output resolution: bound both sizes first.
    const int side = std::max(1, settings.qr_size_val);
    const int maxSide = BarcodeSizing::kMaxPictureSide;
    if (side > maxSide || double(side) * settings.dpi / Units::PointsPerInch > maxSide) {
        out.error = QStringLiteral("The QR Code picture is too large for the resolution");
        return out;
    }
    // Each module a whole number of points (the side grows to the matrix when smaller), centred.
    const int picture = std::max(side, n);
    const int module = picture / n;
    const int offset = (picture - module * n) / 2;
    auto grid = std::make_shared<ModuleGrid>(n, n, QRectF(offset, offset, module * n, module * n));
    if (sizeOnly) {
        // Finder patterns darken three corners of every symbol: its dark modules span it whole.
        grid->setDark(0, 0);
        grid->setDark(n - 1, n - 1);
    }
    for (int y = 0; y < n && !sizeOnly; ++y) {
        for (int x = 0; x < n; ++x) {
            if (qr.matrix.isDark(x, y))
                grid->setDark(x, y);
        }
    }
    out.size = QSizeF(picture, picture);
    out.grid = std::move(grid);
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
    if (view.imageState() != PDF417View::ImageReady || !view.moduleGrid()) {
        out.error =
            view.lastError().isEmpty() ? QStringLiteral("No PDF417 symbol could be made") : view.lastError();
        return out;
    }
    out.grid = view.moduleGrid();
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
    out.size = DataMatrixEncoder::pageSize(symbol, std::max(1, settings.dm_module_val));
    if (out.size.isEmpty()) {
        out.error = QStringLiteral("No barcode produced");
        return out;
    }
    // The page shows the symbol inside a one-unit border, the whole page squeezed into the
    // symbol's size in points.
    const double unitW = out.size.width() / (symbol.width + 2),
                 unitH = out.size.height() / (symbol.height + 2);
    auto grid = std::make_shared<ModuleGrid>(
        symbol.width, symbol.height, QRectF(unitW, unitH, unitW * symbol.width, unitH * symbol.height));
    for (int y = 0; y < symbol.height; ++y) {
        for (int x = 0; x < symbol.width; ++x) {
            if (symbol.isDark(x, y))
                grid->setDark(x, y);
        }
    }
    out.grid = std::move(grid);
    return out;
}

} // namespace

BarcodeGenerator::Symbol2D BarcodeGenerator::encode2D(const BarcodeSettings &settings, const QString &value)
{
    return encode2D(settings, value, false);
}

BarcodeGenerator::Symbol2D BarcodeGenerator::encode2D(const BarcodeSettings &settings, const QString &value,
                                                      bool sizeOnly)
{
    // PDF417 and Data Matrix are made whole: their encoders size and make a symbol in one call.
    const QString &title = settings.symbologyTitle;
    if (title == QLatin1String("QR Code"))
        return qrCode(settings, value, sizeOnly);
    if (title == QLatin1String("PDF417"))
        return pdf417(settings, value);
    if (title == QLatin1String("DataMatrix"))
        return dataMatrix(settings, value);
    Symbol2D out;
    out.error = QStringLiteral("%1 symbols cannot be made yet").arg(title);
    return out;
}
