// Time per barcode picture: generation to a vector picture, and that picture rasterised, for
// Code 128 and QR Code.
#include "barcode/BarcodeGenerator.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace
{

QGuiApplication &app()
{
    static int argc = 1;
    static char name[] = "BarcodeBench";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication instance(argc, argv);
    return instance;
}

BarcodeSettings settingsFor(const QString &title)
{
    BarcodeSettings s;
    s.symbologyTitle = title;
    s.linear_or_2d = BarcodeSettings::isTwoDTitle(title) ? 1 : 0;
    s.dpi = 300;
    return s;
}

void picture(benchmark::State &state, const QString &title, bool raster)
{
    app();
    const BarcodeSettings s = settingsFor(title);
    int i = 0;
    for (auto _ : state) {
        const BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(s, QStringLiteral("TESSALY-%1").arg(i++),
                                                                     "HEADER", "FOOTER");
        if (!r.ok()) {
            state.SkipWithError(r.message.toUtf8().constData());
            break;
        }
        if (raster)
            benchmark::DoNotOptimize(r.picture.toImage(300, Qt::white));
        else
            benchmark::DoNotOptimize(r.picture);
    }
}

void BM_Code128Picture(benchmark::State &state)
{
    picture(state, QStringLiteral("Code 128"), false);
}
void BM_Code128Picture300dpi(benchmark::State &state)
{
    picture(state, QStringLiteral("Code 128"), true);
}
void BM_QRCodePicture(benchmark::State &state)
{
    picture(state, QStringLiteral("QR Code"), false);
}
void BM_QRCodePicture300dpi(benchmark::State &state)
{
    picture(state, QStringLiteral("QR Code"), true);
}

} // namespace

BENCHMARK(BM_Code128Picture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Code128Picture300dpi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QRCodePicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QRCodePicture300dpi)->Unit(benchmark::kMicrosecond);
