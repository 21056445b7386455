// The figures the peer comparison prints (bench/peers.py runs this and the peer programs side by
// side): a bound card on one core against libspng encoding and writing the same picture, the PNG
// encoder alone, a batch on all cores with its peak memory, a perfectly parallel job, and barcode
// pictures written as PNG files. One figure a line, as JSON.
#include "ParallelJob.h"
#include "barcode/BarcodeGenerator.h"
#include "data/ExcelBindingTable.h"
#include "data/SeriesFiles.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "model/SKTGraphic.h"
#include "output/BatchFiller.h"
#include "output/CardExport.h"
#include "output/ImageFileWriter.h"
#include "output/PngEncoder.h"
#include "output/RunPlan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#ifdef TESSALY_HAVE_SPNG
#include <spng.h>
#endif

#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

namespace
{

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double peakMiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

void figure(const char *name, double value, const char *unit)
{
    std::printf("{\"figure\": \"%s\", \"value\": %.4f, \"unit\": \"%s\"}\n", name, value, unit);
    std::fflush(stdout);
}

QString argValue(const QStringList &args, const QString &name, const QString &fallback)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
}

// Where a figure's files go: a temporary folder removed at the end, or with --keep-in DIR a new
// folder in DIR that stays. Files made right after many were deleted make ext4 without a journal
// search past the deleted inodes, so a series of runs keeps its files until it ends.
QString keepIn;

struct Scratch {
    QTemporaryDir dir;
    Scratch()
        : dir(keepIn.isEmpty() ? QDir::tempPath() + QStringLiteral("/PeerBench-XXXXXX")
                               : keepIn + QStringLiteral("/run-XXXXXX"))
    {
        dir.setAutoRemove(keepIn.isEmpty());
    }
    QString filePath(const QString &name) const { return dir.filePath(name); }
};

// The rows every figure uses: a name, an 8-character Code 128 value and a QR Code address.
struct Rows {
    QStringList names, codes, qr;
    explicit Rows(int count)
    {
        static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
        QRandomGenerator rng(7);
        auto code = [&](int n) {
            QString s;
            for (int i = 0; i < n; ++i)
                s += QLatin1Char(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
            return s;
        };
        for (int i = 0; i < count; ++i) {
            names << QStringLiteral("Guest %1").arg(i + 1);
            codes << code(8);
            qr << QStringLiteral("https://example.com/c/") + code(10);
        }
    }
};

// A CR80 card with a text line, a Code 128 and a QR Code, each bound to a series.
std::shared_ptr<const RunPlan> cardDesign(const QString &folder, const Rows &rows, bool withQr = true)
{
    SeriesFiles::writeSeries(folder, "names", rows.names, false);
    SeriesFiles::writeSeries(folder, "codes", rows.codes, false);
    SeriesFiles::writeSeries(folder, "qr", rows.qr, false);
    auto bound = [](SKTGraphic::Kind kind, const QRectF &bounds, const QString &series) {
        GraphicPtr g = SKTGraphic::create(kind);
        g->setBounds(bounds);
        g->data_source_type = 1;
        g->batch_list_name = series;
        return g;
    };
    CardDesign d;
    d.frontPage.Card_Side = QStringLiteral("1"); // one-sided, as the figures always were
    d.setCardSize(QSizeF(243, 154));
    GraphicPtr name = bound(SKTGraphic::Kind::Text, QRectF(10, 8, 220, 30), "names");
    name->_isDrawingFill = false;
    GraphicPtr code = bound(SKTGraphic::Kind::Barcode, QRectF(8, 50, 10, 10), "codes");
    code->barcode_font_index = 9; // Code 128
    code->linear_width_val = 10.0f;
    code->show_hide_hdr = 1;
    code->show_hide_ftr = 1;
    GraphicPtr qr = bound(SKTGraphic::Kind::Barcode, QRectF(165, 75, 10, 10), "qr");
    qr->linear_or_2d = 1;
    qr->barcode_font_index = 0; // QR Code
    qr->qr_size_val = 60;
    qr->show_hide_hdr = 1;
    qr->show_hide_ftr = 1;
    d.front << name << code;
    if (withQr)
        d.front << qr;
    return RunPlan::make(d, RunPlan::Choices(), {QString(), folder});
}

#ifdef TESSALY_HAVE_SPNG
// libspng alone: rows already in the file's layout, deflate level 1, no row filters.
QByteArray spngLevel1(const std::vector<uchar> &rows, int width, int height, bool alpha)
{
    spng_ctx *ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);
    spng_ihdr ihdr = {};
    ihdr.width = quint32(width);
    ihdr.height = quint32(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = alpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(ctx, &ihdr);
    QByteArray out;
    if (spng_encode_image(ctx, rows.data(), rows.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0) {
        size_t length = 0;
        int error = 0;
        void *buffer = spng_get_png_buffer(ctx, &length, &error);
        out = QByteArray(static_cast<const char *>(buffer), qsizetype(length));
        free(buffer);
    }
    spng_ctx_free(ctx);
    return out;
}

// The image's pixels in the layout a PNG file holds them (RGB, or RGBA when not opaque).
std::vector<uchar> fileRows(const QImage &image, bool *alpha)
{
    *alpha = !PngEncoder::isOpaque(image);
    const QImage packed = image.convertToFormat(*alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const size_t rowBytes = size_t(packed.width()) * (*alpha ? 4 : 3);
    std::vector<uchar> rows(rowBytes * size_t(packed.height()));
    for (int y = 0; y < packed.height(); ++y)
        std::memcpy(rows.data() + rowBytes * size_t(y), packed.constScanLine(y), rowBytes);
    return rows;
}

void writePlain(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
#endif

// Time and peak memory of a batch through the export engine (CPU time of the whole process).
struct BatchRun {
    double wallMs = 0;
    double cpuMs = 0;
    int written = 0;
};

BatchRun runBatch(std::shared_ptr<const RunPlan> plan, const QString &folder, int threads)
{
    ExportOptions options;
    options.dpi = 300;
    options.threads = threads;
    ExportProgress progress;
    QElapsedTimer t;
    t.start();
    const double cpu = cpuMs();
    const ExportResult r = CardExport::run(std::move(plan), folder, options, &progress);
    BatchRun out;
    out.wallMs = double(t.nsecsElapsed()) / 1e6;
    out.cpuMs = cpuMs() - cpu;
    out.written = r.written;
    if (!r.ok())
        std::fprintf(stderr, "%s\n", qPrintable(r.message()));
    return out;
}

// One core: a card filled, drawn, encoded and written through the export engine, against libspng
// encoding and writing the same pictures; the encoder alone against libspng alone. Without libspng
// the figures of our side alone.
void cardFigures(int cards)
{
    Scratch dir;
    const Rows rows(cards);
    const auto design = cardDesign(dir.filePath("DataSet"), rows);
    const BatchRun card = runBatch(design, dir.filePath("cards"), 1);
    const BatchRun noQr = runBatch(cardDesign(dir.filePath("DataSet"), rows, false), dir.filePath("noqr"), 1);
    figure("card_one_core_cpu_ms", card.cpuMs / cards, "ms");
    figure("card_one_core_wall_ms", card.wallMs / cards, "ms");
    figure("card_without_qr_one_core_cpu_ms", noQr.cpuMs / cards, "ms");

    // A few of the same cards as pictures, and their pixels as the file holds them.
    BatchFiller filler(design, 300);
    std::vector<QImage> kept;
    for (int i = 0; i < std::min(cards, 16); ++i) {
        QString error;
        kept.push_back(filler.Set_data_table_value_to_card(i, "F", false, &error).copy());
    }
#ifdef TESSALY_HAVE_SPNG
    std::vector<std::vector<uchar>> packed;
    bool alpha = false;
    for (const QImage &picture : kept)
        packed.push_back(fileRows(picture, &alpha));
    const int w = kept.front().width(), h = kept.front().height();
    const QString out = dir.filePath("floor");
    QDir().mkpath(out);
    auto floorRun = [&](bool atomic) {
        const double c = cpuMs();
        for (int i = 0; i < cards; ++i) {
            const QByteArray png = spngLevel1(packed[size_t(i) % packed.size()], w, h, alpha);
            const QString path = QDir(out).filePath(QStringLiteral("Card_%1.png").arg(i + 1));
            if (atomic)
                ImageFileWriter::writeAtomically(path, png);
            else
                writePlain(path, png);
        }
        return (cpuMs() - c) / cards;
    };
    figure("floor_spng_l1_atomic_write_cpu_ms", floorRun(true), "ms");
    figure("floor_spng_l1_plain_write_cpu_ms", floorRun(false), "ms");
#endif

    // The encoder alone, interleaved with libspng so that both see the same machine.
    const int rounds = std::max(50, cards / 2);
    double ours = 0, theirs = 0;
    qsizetype oursBytes = 0, theirBytes = 0;
    for (int i = 0; i < rounds; ++i) {
        const size_t k = size_t(i) % kept.size();
        double c = cpuMs();
        oursBytes = PngEncoder::encode(kept[k], 300).size();
        ours += cpuMs() - c;
#ifdef TESSALY_HAVE_SPNG
        c = cpuMs();
        theirBytes = spngLevel1(packed[k], w, h, alpha).size();
        theirs += cpuMs() - c;
#endif
    }
    figure("png_encoder_cpu_ms", ours / rounds, "ms");
    figure("png_encoder_bytes", double(oursBytes), "bytes");
    if (theirBytes > 0) {
        figure("spng_level1_unfiltered_cpu_ms", theirs / rounds, "ms");
        figure("spng_level1_bytes", double(theirBytes), "bytes");
    }
}

// All cores (or --threads): a whole batch through the export engine; wall and CPU time and peak
// memory of the process.
void batchFigures(int cards, int threads)
{
    Scratch dir;
    const Rows rows(cards);
    const BatchRun r = runBatch(cardDesign(dir.filePath("DataSet"), rows), dir.filePath("out"), threads);
    figure("batch_wall_ms", r.wallMs, "ms");
    figure("batch_cpu_ms", r.cpuMs, "ms");
    figure("batch_written", r.written, "cards");
    figure("batch_peak_mib", peakMiB(), "MiB");
}

// A perfectly parallel job of the same kind of work: speed-up of the given threads over one.
void parallelFigures(int threads, int items)
{
    Scratch dir;
    const Rows rows(4);
    figure("parallel_job_speedup",
           benchjob::parallelSpeedup(cardDesign(dir.filePath("DataSet"), rows), threads, items), "x");
}

// Barcode pictures through the batch road: made from the value, drawn at 300 dpi on white and
// written as PNG files the way cards are (atomically, synced), on the given threads.
void symbolFigures(const QString &kind, const QString &valuesPath, int threads)
{
    QFile f(valuesPath);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QStringList values = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    BarcodeSettings s;
    const bool qr = kind == QLatin1String("qr");
    s.symbologyTitle = qr ? QStringLiteral("QR Code") : QStringLiteral("Code 128");
    s.linear_or_2d = qr ? 1 : 0;
    s.dpi = 300;
    s.qr_size_val = 60;
    s.linear_width_val = 10;
    s.show_hide_hdr = 1;
    s.show_hide_ftr = 1;
    Scratch dir;
    std::atomic<int> next{0}, failed{0};
    QElapsedTimer t;
    t.start();
    const double cpu = cpuMs();
    std::vector<std::thread> pool;
    for (int w = 0; w < std::max(1, threads); ++w)
        pool.emplace_back([&] {
            for (int i = next++; i < values.size(); i = next++) {
                const BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(s, values.at(i), {}, {});
                const QByteArray png = PngEncoder::encode(r.picture.toImage(300, Qt::white), 300);
                const QString path = dir.filePath(QStringLiteral("%1.png").arg(i + 1));
                if (!r.ok() || png.isEmpty() || !ImageFileWriter::writeAtomically(path, png).ok)
                    ++failed;
            }
        });
    for (std::thread &th : pool)
        th.join();
    const QByteArray name = "symbols_" + kind.toLatin1() + (threads == 1 ? "_one_core" : "");
    figure((name + "_wall_ms").constData(), double(t.nsecsElapsed()) / 1e6, "ms");
    figure((name + "_cpu_ms").constData(), cpuMs() - cpu, "ms");
    figure((name + "_failed").constData(), failed, "pictures");
}

// The rows as files for the peers: a CSV with a header line, and one value a line per symbol.
void writeRows(int cards, const QString &folder)
{
    const Rows rows(cards);
    QStringList csv{QStringLiteral("name,code,qr")};
    for (int i = 0; i < cards; ++i)
        csv << rows.names.at(i) + ',' + rows.codes.at(i) + ',' + rows.qr.at(i);
    SeriesFiles::writeSeries(folder, "data", csv, false);
    QFile::rename(QDir(folder).filePath("data.txt"), QDir(folder).filePath("data.csv"));
    SeriesFiles::writeSeries(folder, "codes", rows.codes, false);
    SeriesFiles::writeSeries(folder, "qr", rows.qr, false);
}

// The card of the batch figures as a design file beside its series, for `cardtool print
// DIR/card.dcard --data DIR/DataSet`: the print road measured from outside, as glabels is.
void writeDesign(int cards, const QString &folder)
{
    const auto plan = cardDesign(QDir(folder).filePath("DataSet"), Rows(cards));
    CardDesign d = plan->design();
    d.binding = ExcelBindingTable();
    QString error;
    if (!DesignFile::writeItems(QDir(folder).filePath("card.dcard"), DesignFileFormat::buildItems(d),
                                &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    keepIn = argValue(args, "--keep-in", {});
    const int cards = argValue(args, "--cards", "200").toInt();
    const int threads = argValue(args, "--threads", QString::number(QThread::idealThreadCount())).toInt();
    if (mode == QLatin1String("card"))
        cardFigures(cards);
    else if (mode == QLatin1String("batch"))
        batchFigures(cards, threads);
    else if (mode == QLatin1String("parallel"))
        parallelFigures(threads, cards);
    else if (mode == QLatin1String("rows"))
        writeRows(cards, argValue(args, "--out", "."));
    else if (mode == QLatin1String("design"))
        writeDesign(cards, argValue(args, "--out", "."));
    else if (mode == QLatin1String("symbols"))
        symbolFigures(argValue(args, "--kind", "qr"), argValue(args, "--values", {}), threads);
    else {
        std::fprintf(stderr,
                     "usage: PeerBench card|batch|parallel|rows|design|symbols [--cards N] [--threads N] "
                     "[--out DIR] [--keep-in DIR] [--kind code128|qr --values FILE]\n");
        return 2;
    }
    return 0;
}
