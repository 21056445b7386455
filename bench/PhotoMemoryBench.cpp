// Pictures at a user's scale: the memory that 1, 10 and 30 objects showing one 12-megapixel
// photo take while their side is rendered, and the time of a grey scale over 30 such objects
// (filtered once and shared) and over 30 different photos. With different photos: the memory of
// 1, 10, 30 and 60 of them read and shown at 100 %, of a grey scale over them, and of 300-dpi
// exports of a card of 30 on 8 threads; and cards each covered by 3 or 5 different photos at 300
// to 1200 dpi, on 1 and 8 threads. The photos are made here.
#include "TestPhotos.h"
#include "canvas/SKTRenderingView.h"
#include "data/SeriesFiles.h"
#include "model/SKTImage.h"
#include "output/CardExport.h"
#include "output/RunPlan.h"
#include "paint/ProcessedPictures.h"
#include "support/ProcessMemory.h"

#include "platform/EncodedPicture.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace
{
// A 4000 x 3000 photo-like JPEG, its colours shifted by `tint`.
QString writePhoto(const QTemporaryDir &dir, int tint)
{
    return TestPhotos::write(dir.filePath(QStringLiteral("photo-%1.jpg").arg(tint)), 4000, 3000, tint);
}

const QTemporaryDir &photoFolder()
{
    static QTemporaryDir dir;
    return dir;
}

const QString &onePhoto()
{
    static const QString path = writePhoto(photoFolder(), 0);
    return path;
}

void forgetDecodedPictures()
{
    ProcessedPictures::clear();
    EncodedPicture::clearCache();
}

// `count` objects of 60 x 45 points in rows over the card, each reading its file as a design does.
RenderSide sideOfPhotos(const QStringList &paths, int count)
{
    DesignSettings design;
    design.setCardSize(QSizeF(600, 400));
    GraphicList graphics;
    for (int i = 0; i < count; ++i) {
        const auto photo = SKTImage::initWithPath(QPointF(), paths.at(i % paths.size()));
        photo->setBounds(QRectF(10 + (i % 8) * 70, 10 + (i / 8) * 55, 60, 45));
        graphics.append(photo);
    }
    return RenderSide::of(design, 0, graphics, QString());
}

void BM_MemoryOfObjectsOfOnePhoto(benchmark::State &state)
{
    const QString path = onePhoto();
    const int count = int(state.range(0));
    double peak = 0;
    for (auto _ : state) {
        forgetDecodedPictures();
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        {
            const RenderSide side = sideOfPhotos({path}, count);
            benchmark::DoNotOptimize(SKTRenderingView::imageOfSide(side, 300));
        }
        peak = ProcessMemory::statusMiB("VmHWM") - before;
    }
    // What reading and rendering the objects added to the resident set at its most.
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_MemoryOfObjectsOfOnePhoto)
    ->Arg(1)
    ->Arg(10)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Grey scale over 30 objects: of one photo (filtered once, shared), or of 30 photos.
void BM_GreyScaleOverThirtyPhotos(benchmark::State &state)
{
    QStringList paths{onePhoto()};
    for (int i = 1; i < state.range(0); ++i)
        paths << writePhoto(photoFolder(), i);
    RenderSide side = sideOfPhotos(paths, 30);
    for (const GraphicPtr &g : side.graphics())
        g->gray_Scale = true;
    for (auto _ : state) {
        ProcessedPictures::clear();
        benchmark::DoNotOptimize(SKTRenderingView::imageOfSide(side, 72));
    }
    state.counters["photos"] = double(paths.size());
}
BENCHMARK(BM_GreyScaleOverThirtyPhotos)->Arg(1)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(2);

const QStringList &differentPhotos(int count)
{
    static QStringList paths{onePhoto()};
    while (paths.size() < count)
        paths << writePhoto(photoFolder(), int(paths.size()));
    return paths;
}

// `count` different photos of 38 x 28 points on an 85 x 54 mm card, in rows, read as a design does.
RenderSide sideOfDifferentPhotos(int count)
{
    const QStringList &paths = differentPhotos(count);
    DesignSettings design;
    design.setCardSize(QSizeF(241, 153));
    GraphicList graphics;
    for (int i = 0; i < count; ++i) {
        auto photo = std::make_shared<SKTImage>();
        photo->setFilePath(paths.at(i));
        photo->setBounds(QRectF(2 + (i % 6) * 40, 2 + (i / 6 % 5) * 30, 38, 28));
        graphics.append(photo);
    }
    return RenderSide::of(design, 0, graphics, QString());
}

// Different photos read and shown at 100 % (a point a pixel), then a grey scale over them: what
// each step added to the resident set at its most.
void BM_MemoryOfDifferentPhotos(benchmark::State &state)
{
    const int count = int(state.range(0));
    differentPhotos(count);
    double shown = 0, grey = 0;
    for (auto _ : state) {
        forgetDecodedPictures();
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        {
            RenderSide side = sideOfDifferentPhotos(count);
            benchmark::DoNotOptimize(SKTRenderingView::imageOfSide(side, 72));
            shown = ProcessMemory::statusMiB("VmHWM") - before;
            const double beforeGrey = ProcessMemory::statusMiB("VmRSS");
            ProcessMemory::resetPeak();
            for (const GraphicPtr &g : side.graphics())
                g->gray_Scale = true;
            benchmark::DoNotOptimize(SKTRenderingView::imageOfSide(side, 72));
            grey = ProcessMemory::statusMiB("VmHWM") - beforeGrey;
        }
    }
    state.counters["photos"] = count;
    state.counters["shown_peak_MiB"] = shown;
    state.counters["grey_added_MiB"] = grey;
}
BENCHMARK(BM_MemoryOfDifferentPhotos)
    ->Arg(1)
    ->Arg(10)
    ->Arg(30)
    ->Arg(60)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A card of 30 different photos read and exported at 300 dpi on 8 threads, 64 cards: the peak
// that reading the photos and the export add.
void BM_MemoryOfExportOfThirtyPhotos(benchmark::State &state)
{
    differentPhotos(30);
    forgetDecodedPictures();
    ProcessMemory::resetPeak();
    const double before = ProcessMemory::statusMiB("VmRSS");
    const RenderSide photos = sideOfDifferentPhotos(30);
    const QString data = photoFolder().filePath(QStringLiteral("DataSet"));
    QStringList names;
    for (int i = 0; i < 64; ++i)
        names << QStringLiteral("Guest %1").arg(i + 1);
    SeriesFiles::writeSeries(data, "names", names, false);
    CardDesign d;
    d.frontPage.Card_Side = QStringLiteral("1");
    d.setCardSize(photos.cardSize());
    d.front = photos.graphics();
    GraphicPtr name = SKTGraphic::create(SKTGraphic::Kind::Text);
    name->setBounds(QRectF(10, 125, 150, 26));
    name->data_source_type = 1;
    name->batch_list_name = QStringLiteral("names");
    d.front << name;
    const auto plan = RunPlan::make(d, RunPlan::Choices(), {QString(), data});
    ExportOptions options;
    options.dpi = 300;
    options.threads = 8;
    double peak = 0;
    for (auto _ : state) {
        TestPhotos::timedExport(state, plan, options);
        peak = ProcessMemory::statusMiB("VmHWM") - before;
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_MemoryOfExportOfThirtyPhotos)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// 16 cards of 85 x 54 mm, each covered by `photos` different 12-megapixel photos stacked (the
// decodings a card needs together may pass the cache's budget), exported as PNG at `dpi` on
// `threads`: the peak the export adds, and the time a card.
void BM_CardsCoveredByPhotos(benchmark::State &state)
{
    const int photos = int(state.range(0));
    const int dpi = int(state.range(1));
    const int threads = int(state.range(2));
    constexpr int Cards = 16;
    const QStringList &paths = differentPhotos(photos);
    const QString data = photoFolder().filePath(QStringLiteral("DataSet"));
    QStringList names;
    for (int i = 0; i < Cards; ++i)
        names << QStringLiteral("Guest %1").arg(i + 1);
    SeriesFiles::writeSeries(data, "covered", names, false);
    CardDesign d;
    d.frontPage.Card_Side = QStringLiteral("1");
    d.setCardSize(QSizeF(243, 153));
    for (int i = 0; i < photos; ++i) {
        auto photo = std::make_shared<SKTImage>();
        photo->setFilePath(paths.at(i));
        photo->setBounds(QRectF(0, 0, 243, 153));
        photo->img_trnsp_val = 60; // each shows through the next
        d.front << photo;
    }
    GraphicPtr name = SKTGraphic::create(SKTGraphic::Kind::Text);
    name->setBounds(QRectF(10, 120, 150, 26));
    name->data_source_type = 1;
    name->batch_list_name = QStringLiteral("covered");
    d.front << name;
    forgetDecodedPictures();
    ProcessMemory::resetPeak();
    const double before = ProcessMemory::statusMiB("VmRSS");
    const auto plan = RunPlan::make(d, RunPlan::Choices(), {QString(), data});
    ExportOptions options;
    options.dpi = dpi;
    options.threads = threads;
    double peak = 0, ms = 0;
    for (auto _ : state) {
        ms = TestPhotos::timedExport(state, plan, options);
        peak = ProcessMemory::statusMiB("VmHWM") - before;
    }
    state.counters["peak_MiB"] = peak;
    state.counters["ms_per_card"] = ms / Cards;
    state.counters["cache_MiB"] = double(EncodedPicture::cachedBytes()) / (1024 * 1024);
}
BENCHMARK(BM_CardsCoveredByPhotos)
    ->ArgsProduct({{3, 5}, {300, 600, 1200}, {1, 8}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
} // namespace
