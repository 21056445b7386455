#include "QREncoder.h"

#include "CQR_Encode.h"

#include <QCoreApplication>

#include <memory>

namespace
{

const char *levelName(int level)
{
    static constexpr const char *kNames[4] = {"L", "M", "Q", "H"};
    return kNames[level];
}

QString qrTr(const char *text)
{
    return QCoreApplication::translate("QREncoder", text);
}

// Why the bytes make no symbol at that level and version, or "" once `engine` holds the symbol
// (laid out, or only sized when sizeOnly): both roads refuse the same values with the same words.
QString encodeOrRefuse(int level, int version, const QByteArray &cstring, CQR_Encode &engine, bool sizeOnly)
{
    if (level < 0 || level > 3)
        return qrTr("The QR Code error-correction level must be L, M, Q or H.");
    if (version < 0 || version > QRTables::kMaxVersion)
        return qrTr("The QR Code version must be automatic or 1 to 40.");
    if (cstring.isEmpty())
        return qrTr("There is no text to encode as a QR Code.");

    // Capacity of the whole text's mode: the requested version, or the largest one when automatic.
    const auto *bytes = reinterpret_cast<const uint8_t *>(cstring.constData());
    const int length = static_cast<int>(cstring.size());
    const auto mode = CQR_Encode::Get_Encoding_Mode(bytes, length);
    const bool eci = CQR_Encode::needsEci(bytes, length);
    const int limitVersion = version == 0 ? QRTables::kMaxVersion : version;
    const int limit = CQR_Encode::capacity(limitVersion, level, mode, eci);
    const QString unit = mode == CQR_Encode::ModeNumeral    ? qrTr("digits")
                         : mode == CQR_Encode::ModeAlphabet ? qrTr("characters")
                                                            : qrTr("bytes");
    auto tooLong = [&]() {
        if (version == 0)
            return qrTr("The text is too long for a QR Code at level %1: %2 %3, at most %4.")
                .arg(QLatin1String(levelName(level)))
                .arg(length)
                .arg(unit)
                .arg(limit);
        return qrTr("The text is too long for a QR Code of version %1 at level %2: %3 %4, at most %5.")
            .arg(version)
            .arg(QLatin1String(levelName(level)))
            .arg(length)
            .arg(unit)
            .arg(limit);
    };
    if (length > limit)
        return tooLong();
    const bool made = sizeOnly ? engine.SizeData(level, version, false, cstring.constData(), length)
                               : engine.EncodeData(level, version, false, -1, cstring.constData(), length);
    return made ? QString() : tooLong();
}

} // namespace

QREncodeResult QREncoder::encodeWithECLevel(int level, int version, const QString &string)
{
    return encodeCStringWithECLevel(level, version, string.toUtf8());
}

QREncodeResult QREncoder::encodeCStringWithECLevel(int level, int version, const QByteArray &cstring)
{
    QREncodeResult result;
    // ~100 KB of fixed buffers: not on the stack, and not cleared, since each step clears its own.
    auto engine = std::make_unique_for_overwrite<CQR_Encode>();
    const QString refusal = encodeOrRefuse(level, version, cstring, *engine, false);
    if (!refusal.isEmpty()) {
        result.fail(refusal);
        return result;
    }
    const int size = engine->symbolSize();
    result.matrix.initWith(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            result.matrix.set(engine->isDark(x, y) ? 1 : 0, x, y);
    }
    return result;
}

QRSizeResult QREncoder::sizeWithECLevel(int level, int version, const QString &string)
{
    QRSizeResult result;
    auto engine = std::make_unique_for_overwrite<CQR_Encode>();
    const QString refusal = encodeOrRefuse(level, version, string.toUtf8(), *engine, true);
    if (!refusal.isEmpty())
        result.fail(refusal);
    else
        result.dimension = engine->symbolSize();
    return result;
}

QImage QREncoder::renderDataMatrix(const DataMatrix &matrix, int imageDimension)
{
    const int n = matrix.dimension();
    if (n == 0)
        return {};
    const int side = imageDimension > n ? imageDimension : n;
    const int module = side / n;
    const int offset = (side - module * n) / 2;

    QImage image(side, side, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(qRgba(255, 255, 255, 0));
    const QRgb dark = qRgba(0, 0, 0, 255), light = qRgba(255, 255, 255, 255);
    for (int y = 0; y < n; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(offset + y * module));
        for (int x = 0; x < n; ++x) {
            const QRgb colour = matrix.isDark(x, y) ? dark : light;
            for (int p = 0; p < module; ++p)
                row[offset + x * module + p] = colour;
        }
        for (int r = 1; r < module; ++r)
            memcpy(image.scanLine(offset + y * module + r), row, image.bytesPerLine());
    }
    return image;
}

int QREncoder::minimumImageDimension(int version)
{
    return version <= 1
               ? 21
               : (version > QRTables::kMaxVersion ? QRTables::symbolSize(40) : (version - 1) * 4 + 21);
}
