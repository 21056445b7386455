// The photo card: a 24-megapixel background, four 12-megapixel photos, a bound text and a bound
// QR Code on an 85 x 54 mm card at 300 dpi. One card from the files (pictures read, card drawn)
// with its peak memory, a card drawn alone, and cards exported as PNG files on 1 and 8 threads,
// per card; and one of its photos decoded at each size it may be drawn at, by the program's
// decoder and by Qt's. Then 1,000 labels of it printed to a PDF (time, peak, size, image objects),
// and 1,000 cards of three photos bound to a series against the same photos placed.
#include "TestPhotos.h"
#include "data/SeriesFiles.h"
#include "model/SKTGraphic.h"
#include "model/SKTImage.h"
#include "output/BatchFiller.h"
#include "output/CardExport.h"
#include "output/PrintLayout.h"
#include "output/Printing_View.h"
#include "output/RunPlan.h"
#include "paint/ProcessedPictures.h"
#include "support/ProcessMemory.h"

#include "platform/EncodedPicture.h"
#include "platform/PictureReader.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr int ExportedCards = 200;

// A photo-like JPEG of w x h pixels, its colours shifted by `tint`.
QString writePhoto(const QTemporaryDir &dir, int w, int h, int tint)
{
    return TestPhotos::write(dir.filePath(QStringLiteral("photo-%1x%2-%3.jpg").arg(w).arg(h).arg(tint)), w, h,
                             tint, tint * 3);
}

struct PhotoFiles {
    QTemporaryDir dir;
    QString background;
    QStringList photos;
    QString data;

    PhotoFiles()
    {
        background = writePhoto(dir, 6000, 4000, 0);
        for (int i = 1; i <= 4; ++i)
            photos << writePhoto(dir, 4000, 3000, i);
        data = dir.filePath(QStringLiteral("DataSet"));
        QStringList names, links;
        for (int i = 0; i < ExportedCards; ++i) {
            names << QStringLiteral("Dear Guest Number %1").arg(i + 1);
            links << QStringLiteral("https://example.com/c/%1").arg(100000 + i * 7);
        }
        SeriesFiles::writeSeries(data, "names", names, false);
        SeriesFiles::writeSeries(data, "links", links, false);
    }
};

const PhotoFiles &files()
{
    static PhotoFiles f;
    return f;
}

GraphicPtr bound(SKTGraphic::Kind kind, const QString &series, const QRectF &bounds)
{
    GraphicPtr g = SKTGraphic::create(kind);
    g->setBounds(bounds);
    g->data_source_type = 1;
    g->batch_list_name = series;
    g->_isDrawingFill = false;
    return g;
}

// The design as a window holds it once its pictures are read.
std::shared_ptr<const RunPlan> photoCardPlan()
{
    const PhotoFiles &f = files();
    CardDesign d;
    d.frontPage.Card_Side = QStringLiteral("1");
    d.setCardSize(QSizeF(241, 153)); // 85 x 54 mm
    d.frontPage.setBackgroundImage(f.background);
    for (int i = 0; i < f.photos.size(); ++i) {
        auto photo = std::make_shared<SKTImage>();
        photo->setFilePath(f.photos.at(i));
        photo->setBounds(QRectF(8 + i * 58, 90, 52, 39));
        d.front << photo;
    }
    d.front << bound(SKTGraphic::Kind::Text, "names", QRectF(10, 8, 150, 26));
    GraphicPtr code = bound(SKTGraphic::Kind::Barcode, "links", QRectF(170, 8, 10, 10));
    code->linear_or_2d = 1;
    code->barcode_font_index = 0;
    code->qr_size_val = 60;
    d.front << code;
    return RunPlan::make(d, RunPlan::Choices(), {QString(), f.data});
}

void forgetDecodedPictures()
{
    ProcessedPictures::clear();
    EncodedPicture::clearCache();
}

// Reading the pictures and drawing the first card, as a one-card render from a design does.
void BM_PhotoCardFromFiles(benchmark::State &state)
{
    files();
    double peak = 0, ms = 0;
    for (auto _ : state) {
        forgetDecodedPictures();
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        QElapsedTimer clock;
        clock.start();
        {
            const auto plan = photoCardPlan();
            BatchFiller filler(plan, 300);
            QString error;
            const QImage card = filler.Set_data_table_value_to_card(0, "F", false, &error);
            benchmark::DoNotOptimize(card.constBits());
        }
        ms = double(clock.nsecsElapsed()) / 1e6;
        peak = std::max(peak, ProcessMemory::statusMiB("VmHWM") - before);
    }
    state.counters["ms"] = ms;
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_PhotoCardFromFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// One card filled and drawn at 300 dpi again and again, its pictures read before: the drawing
// alone, without the PNG file.
void BM_PhotoCardDrawn(benchmark::State &state)
{
    files();
    forgetDecodedPictures();
    const auto plan = photoCardPlan();
    BatchFiller filler(plan, 300);
    QString error;
    int row = 0;
    for (auto _ : state) {
        const QImage card = filler.Set_data_table_value_to_card(row++ % ExportedCards, "F", false, &error);
        benchmark::DoNotOptimize(card.constBits());
    }
}
BENCHMARK(BM_PhotoCardDrawn)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The cards of the design exported as 300-dpi PNG files, pictures read before the clock starts.
void BM_PhotoCardExport(benchmark::State &state)
{
    files();
    const int threads = int(state.range(0));
    forgetDecodedPictures();
    const auto plan = photoCardPlan();
    ExportOptions options;
    options.dpi = 300;
    options.extension = "png";
    options.threads = threads;
    double ms = 0;
    ProcessMemory::resetPeak();
    const double before = ProcessMemory::statusMiB("VmRSS");
    for (auto _ : state)
        ms = TestPhotos::timedExport(state, plan, options);
    state.counters["threads"] = threads;
    state.counters["ms_per_card"] = ms / ExportedCards;
    state.counters["peak_MiB"] = ProcessMemory::statusMiB("VmHWM") - before;
}
BENCHMARK(BM_PhotoCardExport)->Arg(1)->Arg(8)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 12-megapixel photo decoded to a quarter, an eighth, ... of each side (range 1 to 3; 0 the
// full read), as a drawing at that size asks: the program's decoder, then Qt's scaled reading.
void BM_PhotoDecodedAtDrawnSize(benchmark::State &state)
{
    const QString path = files().photos.front();
    const int shift = int(state.range(0));
    const bool qt = state.range(1) != 0;
    const QSize stored = QSize((4000 + (1 << shift) - 1) >> shift, (3000 + (1 << shift) - 1) >> shift);
    EncodedPicture::Origin origin;
    origin.path = path;
    for (auto _ : state) {
        QImage image;
        if (qt) {
            QImageReader reader(path);
            if (shift > 0)
                reader.setScaledSize(stored);
            image = reader.read();
        } else {
            image = PictureReader::decode(origin, shift > 0 ? stored : QSize(), PictureReader::CardPixels);
        }
        if (image.size() != stored)
            state.SkipWithError("not decoded at the size asked");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(qt ? "Qt's reader" : "the program's");
}
BENCHMARK(BM_PhotoDecodedAtDrawnSize)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// 1,000 rows: a name, and three series of the four photos' paths, each photo on many cards.
const QString &thousandRows()
{
    static const QString data = [] {
        const PhotoFiles &f = files();
        const QString folder = f.dir.filePath(QStringLiteral("Thousand"));
        QStringList names;
        QList<QStringList> paths(3);
        for (int i = 0; i < 1000; ++i) {
            names << QStringLiteral("Dear Guest Number %1").arg(i + 1);
            for (int s = 0; s < 3; ++s)
                paths[s] << f.photos.at((i * (s + 1) + s) % f.photos.size());
        }
        SeriesFiles::writeSeries(folder, "names", names, false);
        for (int s = 0; s < 3; ++s)
            SeriesFiles::writeSeries(folder, QStringLiteral("photo%1").arg(s), paths[s], false);
        return folder;
    }();
    return data;
}

// 1,000 labels of the card (a 24 MP photo over it and a bound name), 2 x 5 on A4, printed to a PDF
// held in memory as the print window writes it: the time, the peak it adds, the file's size and the
// image objects it holds (one).
void BM_PhotoLabelsPrinted(benchmark::State &state)
{
    CardDesign d;
    d.frontPage.Card_Side = QStringLiteral("1");
    d.setCardSize(QSizeF(241, 153));
    d.frontPage.setBackgroundImage(files().background);
    d.front << bound(SKTGraphic::Kind::Text, "names", QRectF(10, 8, 150, 26));
    const auto plan = RunPlan::make(d, RunPlan::Choices(), {QString(), thousandRows()});
    const QSizeF paper = QPageSize(QPageSize::A4).size(QPageSize::Point);
    PrintLayout layout;
    layout.setMargins(paper, QRectF(QPointF(0, 0), paper));
    layout.resetForOpening(d.cardSize(), true, plan->cardCount());
    PrintFields fields;
    fields.widthMm = PrintLayout::Points_to_MM_Convert(float(d.cardSize().width()));
    fields.heightMm = PrintLayout::Points_to_MM_Convert(float(d.cardSize().height()));
    fields.rows = 5;
    fields.cols = 2;
    if (!layout.Check_Max_Cell_Value(fields).ok())
        state.SkipWithError("the labels do not fit");
    double ms = 0, peak = 0, mb = 0, images = 0;
    for (auto _ : state) {
        forgetDecodedPictures();
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        QByteArray pdf;
        QBuffer out(&pdf);
        out.open(QIODevice::WriteOnly);
        QElapsedTimer clock;
        clock.start();
        Printing_View(layout, {}, plan, d.cardSize()).paintPdf(out, QStringLiteral("bench"), QString());
        ms = double(clock.nsecsElapsed()) / 1e6;
        peak = ProcessMemory::statusMiB("VmHWM") - before;
        mb = double(pdf.size()) / 1e6;
        images = double(pdf.count("/Subtype /Image"));
    }
    state.counters["ms"] = ms;
    state.counters["peak_MiB"] = peak;
    state.counters["pdf_MB"] = mb;
    state.counters["image_objects"] = images;
}
BENCHMARK(BM_PhotoLabelsPrinted)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// 1,000 cards of three 12 MP photos at 300 dpi on 1 or 8 threads: placed (range 1 = 0) or each
// bound to a series that names the four photos in turn (1), a file on many cards either way.
void BM_BoundPhotosAgainstPlaced(benchmark::State &state)
{
    const int threads = int(state.range(0));
    const bool boundPhotos = state.range(1) != 0;
    CardDesign d;
    d.frontPage.Card_Side = QStringLiteral("1");
    d.setCardSize(QSizeF(241, 153));
    for (int i = 0; i < 3; ++i) {
        const QRectF box(8 + i * 78, 90, 70, 52);
        if (boundPhotos) {
            d.front << bound(SKTGraphic::Kind::Image, QStringLiteral("photo%1").arg(i), box);
        } else {
            auto photo = std::make_shared<SKTImage>();
            photo->setFilePath(files().photos.at(i));
            photo->setBounds(box);
            d.front << photo;
        }
    }
    d.front << bound(SKTGraphic::Kind::Text, "names", QRectF(10, 8, 150, 26));
    const auto plan = RunPlan::make(d, RunPlan::Choices(), {QString(), thousandRows()});
    ExportOptions options;
    options.dpi = 300;
    options.threads = threads;
    double ms = 0;
    for (auto _ : state) {
        forgetDecodedPictures();
        ms = TestPhotos::timedExport(state, plan, options);
    }
    state.counters["threads"] = threads;
    state.counters["ms"] = ms;
    state.SetLabel(boundPhotos ? "bound" : "placed");
}
BENCHMARK(BM_BoundPhotosAgainstPlaced)
    ->ArgsProduct({{8, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace
