// Code 128 and QR Code pictures beside zint's, at the same pixels: 1,000 values made into a picture
// and drawn to pixels on one thread, ours through the barcode generator and zint through its
// library, and for Code 128 each written as a PNG file too. Built only when Debian's libzint-dev
// is installed.
#include "barcode/BarcodeGenerator.h"
#include "output/PngEncoder.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zint.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{

constexpr int Pictures = 1000;

QGuiApplication &application()
{
    static int argc = 1;
    static char name[] = "ZintBench";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication instance(argc, argv);
    return instance;
}

// The values of the batch figures: 8 characters for Code 128, an address for QR Code.
QStringList valuesOf(bool qr)
{
    static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
    QRandomGenerator rng(7);
    QStringList values;
    for (int i = 0; i < Pictures; ++i) {
        QString s;
        for (int k = 0; k < (qr ? 10 : 8); ++k)
            s += QLatin1Char(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
        values << (qr ? QStringLiteral("https://example.com/c/") + s : s);
    }
    return values;
}

// The batch figures' barcode: 300 dpi, the value under the bars.
BarcodeSettings settingsOf(bool qr)
{
    BarcodeSettings s;
    s.symbologyTitle = qr ? QStringLiteral("QR Code") : QStringLiteral("Code 128");
    s.linear_or_2d = qr ? 1 : 0;
    s.dpi = 300;
    s.qr_size_val = 60;
    s.linear_width_val = 10;
    return s;
}

QImage ours(const BarcodeSettings &s, const QString &value)
{
    return BarcodeGenerator::Get_Image_From_Val(s, value, {}, {}).picture.toImage(300, Qt::white);
}

// zint set to draw the first value at our picture's pixels: the module's width in pixels, the
// bars' height and quiet zones as ours.
struct ZintSymbol {
    std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> symbol{ZBarcode_Create(), &ZBarcode_Delete};

    ZintSymbol(bool qr, QSize pixels, const QString &first)
    {
        zint_symbol *z = symbol.get();
        z->symbology = qr ? BARCODE_QRCODE : BARCODE_CODE128;
        z->show_hrt = qr ? 0 : 1;
        const QByteArray data = first.toLatin1();
        // Encoded once at scale 1 (2 pixels a module) to learn the symbol's width in modules.
        ZBarcode_Encode_and_Buffer(z, reinterpret_cast<const unsigned char *>(data.constData()),
                                   int(data.size()), 0);
        const double modulePixels = double(pixels.width()) / z->width;
        z->scale = float(modulePixels / 2.0);
        // Then as high: the bars grown, or a 2D symbol's quiet zone above and below.
        const int high = draw(first).height();
        if (qr)
            z->whitespace_height =
                std::max(0, int(std::lround((pixels.height() - high) / (2 * modulePixels))));
        else
            z->height += float((pixels.height() - high) / modulePixels);
    }

    // The picture in pixels, or with a file path a PNG file as well.
    QSize draw(const QString &value, const QString &file = QString()) const
    {
        const QByteArray data = value.toLatin1();
        zint_symbol *z = symbol.get();
        ZBarcode_Clear(z);
        const auto *source = reinterpret_cast<const unsigned char *>(data.constData());
        if (!file.isEmpty()) {
            const QByteArray path = file.toLocal8Bit();
            qstrncpy(z->outfile, path.constData(), sizeof z->outfile);
            return ZBarcode_Encode_and_Print(z, source, int(data.size()), 0) >= ZINT_ERROR ? QSize()
                                                                                           : QSize(1, 1);
        }
        if (ZBarcode_Encode_and_Buffer(z, source, int(data.size()), 0) >= ZINT_ERROR)
            return {};
        return {z->bitmap_width, z->bitmap_height};
    }
};

// With files: each picture written as a PNG file (plain writes, no syncing, for both).
void oursOneThread(benchmark::State &state, bool qr, bool files = false)
{
    application();
    const QStringList values = valuesOf(qr);
    const BarcodeSettings s = settingsOf(qr);
    QTemporaryDir dir;
    for (auto _ : state)
        for (qsizetype i = 0; i < values.size(); ++i) {
            const QImage image = ours(s, values.at(i));
            if (!files)
                continue;
            QFile f(dir.filePath(QStringLiteral("%1.png").arg(i)));
            if (!f.open(QIODevice::WriteOnly) || f.write(PngEncoder::encode(image, 300)) <= 0)
                state.SkipWithError("a PNG file could not be written");
        }
    const QImage first = ours(s, values.first());
    state.SetLabel(QStringLiteral("%1 x %2 px").arg(first.width()).arg(first.height()).toStdString());
}

void zintOneThread(benchmark::State &state, bool qr, bool files = false)
{
    application();
    const QStringList values = valuesOf(qr);
    const ZintSymbol zint(qr, ours(settingsOf(qr), values.first()).size(), values.first());
    QTemporaryDir dir;
    for (auto _ : state)
        for (qsizetype i = 0; i < values.size(); ++i)
            benchmark::DoNotOptimize(
                zint.draw(values.at(i), files ? dir.filePath(QStringLiteral("%1.png").arg(i)) : QString()));
    const QSize first = zint.draw(values.first());
    state.SetLabel(QStringLiteral("%1 x %2 px").arg(first.width()).arg(first.height()).toStdString());
}

void BM_Code128Pictures1000Ours(benchmark::State &state)
{
    oursOneThread(state, false);
}
void BM_Code128Pictures1000Zint(benchmark::State &state)
{
    zintOneThread(state, false);
}
void BM_Code128PngFiles1000Ours(benchmark::State &state)
{
    oursOneThread(state, false, true);
}
void BM_Code128PngFiles1000Zint(benchmark::State &state)
{
    zintOneThread(state, false, true);
}
void BM_QRCodePictures1000Ours(benchmark::State &state)
{
    oursOneThread(state, true);
}
void BM_QRCodePictures1000Zint(benchmark::State &state)
{
    zintOneThread(state, true);
}

} // namespace

BENCHMARK(BM_Code128Pictures1000Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Code128Pictures1000Zint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Code128PngFiles1000Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Code128PngFiles1000Zint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QRCodePictures1000Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QRCodePictures1000Zint)->Unit(benchmark::kMillisecond);
