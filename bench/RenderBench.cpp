// Rendering speed of a typical card: page with gradient and border, three texts, a picture and a
// barcode picture. One card at 300 dpi to an image, and 1,000 cards to PNG files on every core.
#include "canvas/SKTRenderingView.h"
#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTText.h"
#include "output/PngEncoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace
{

template <typename T> std::shared_ptr<T> make(const QRectF &bounds)
{
    auto g = std::dynamic_pointer_cast<T>(SKTGraphic::create(T::StaticKind));
    g->setBounds(bounds);
    return g;
}

GraphicPtr text(const QString &s, const QRectF &r, double size, int align)
{
    auto t = make<SKTText>(r);
    t->_Text_contents = AttributedText{s, {}, {}, 0};
    t->text_ctrl_font = FontDescriptor{QStringLiteral("TimesNewRomanPS-ItalicMT"), size};
    t->txt_clr = QColor(40, 40, 90);
    t->text_alignmnet = align;
    t->_isDrawingFill = false;
    t->_isDrawingStroke = false;
    return t;
}

// A photo-like picture: smooth colour ramps with a disc, 480 x 360 pixels.
Picture photo()
{
    QImage img(480, 360, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 255 / 480, y * 255 / 360, (x + y) % 256));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(250, 250, 240));
    p.drawEllipse(QPointF(240, 180), 90, 90);
    p.end();
    return Picture(img);
}

// A vector barcode picture, as the barcode window hands them out.
Picture barcodePicture()
{
    QPicture rec;
    QPainter p(&rec);
    p.fillRect(QRectF(0, 0, 110, 40), Qt::white);
    for (int i = 0; i < 95; ++i)
        if ((i * 7 + i / 3) % 3 != 0)
            p.fillRect(QRectF(5 + i * 1.05, 2, 1.05, 36), Qt::black);
    p.end();
    return Picture::fromVector(rec, QSizeF(110, 40));
}

RenderSide typicalCard()
{
    DesignSettings design;
    design.setCardSize(DesignSettings::DefaultCardSize);
    Card_Property &page = design.frontPage;
    page.resetForNewDesign(Qt::black, Card_Property::defaultContentFont());
    page.Card_fill_chk = true;
    page.Card_fill_style = QStringLiteral("G");
    page.Card_fill_Grd_1_clr = QColor(255, 240, 220);
    page.Card_fill_Grd_2_clr = QColor(210, 225, 255);
    page.Card_grad_Stepper = 30;
    page.Card_bor_Stepper = 2;
    auto image = make<SKTImage>(QRectF(150, 12, 80, 60));
    image->_contents = photo();
    image->_file_path = QStringLiteral("photo.png");
    auto barcode = make<SKTBarcode>(QRectF(10, 105, 110, 40));
    barcode->Set_Barcode_image(barcodePicture());
    const GraphicList graphics{text(QStringLiteral("Happy Birthday"), QRectF(10, 10, 135, 30), 20, 0),
                               text(QStringLiteral("Dear Alex Example,\nall the best for the year ahead."),
                                    QRectF(10, 45, 135, 50), 10, 0),
                               text(QStringLiteral("example.org"), QRectF(130, 125, 105, 20), 9, 1), image,
                               barcode};
    return RenderSide::of(design, 0, graphics, QStringLiteral(TESSALY_SOURCE_RESOURCES));
}

void BM_CardAt300DpiToImage(benchmark::State &state)
{
    const RenderSide side = typicalCard();
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        QImage img = SKTRenderingView::imageOfSide(side, 300);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["ms_per_card"] = double(clock.nsecsElapsed()) / 1e6 / double(state.iterations());
}
BENCHMARK(BM_CardAt300DpiToImage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ThousandCardsToPngFiles(benchmark::State &state)
{
    const RenderSide side = typicalCard();
    const int cards = 1000;
    const int workers = std::max(1u, std::thread::hardware_concurrency());
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        std::atomic<int> next{0}, failed{0};
        std::vector<std::thread> pool;
        for (int w = 0; w < workers; ++w)
            pool.emplace_back([&] {
                // Each worker paints its own snapshot, as batch export does.
                const RenderSide mine = side.snapshot();
                for (int i = next++; i < cards; i = next++) {
                    const QImage img = SKTRenderingView::imageOfSide(mine, 300);
                    const QByteArray png = PngEncoder::encode(img, 300);
                    QFile f(dir.filePath(QStringLiteral("card_%1.png").arg(i)));
                    if (png.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(png) != png.size())
                        ++failed;
                }
            });
        for (std::thread &t : pool)
            t.join();
        if (failed)
            state.SkipWithError("some cards could not be written");
    }
    state.counters["threads"] = workers;
    state.counters["ms_per_card"] = double(clock.nsecsElapsed()) / 1e6 / (double(state.iterations()) * cards);
}
BENCHMARK(BM_ThousandCardsToPngFiles)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
