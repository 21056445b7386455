// The check before output: its share of a batch export of 1,000 bound cards (a text, a Code 128
// and a QR Code, 300-dpi PNG, on 8 threads), the export's speed-up on 8 threads with the check in
// the run, and its time on rows of hostile barcode values (each row on its own and all 23 at once).
#include "ParallelJob.h"
#include "data/SeriesFiles.h"
#include "model/SKTGraphic.h"
#include "output/CardExport.h"
#include "output/OutputCheck.h"
#include "output/RunPlan.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace
{

constexpr int CardCount = 1000;
constexpr int Threads = 8;

GraphicPtr bound(SKTGraphic::Kind kind, const QString &series, const QRectF &bounds)
{
    GraphicPtr g = SKTGraphic::create(kind);
    g->setBounds(bounds);
    g->data_source_type = 1;
    g->batch_list_name = series;
    g->_isDrawingFill = false;
    return g;
}

GraphicPtr barcode(int linearOr2d, int index, const QString &series, const QPointF &at)
{
    GraphicPtr g = bound(SKTGraphic::Kind::Barcode, series, QRectF(at, QSizeF(10, 10)));
    g->linear_or_2d = linearOr2d;
    g->barcode_font_index = index;
    g->linear_width_val = 10.0f;
    g->show_hide_hdr = 1;
    g->show_hide_ftr = 1;
    g->qr_size_val = 60;
    return g;
}

// The plan of the measured run over a design, and the check of that plan.
using Plan = std::shared_ptr<const RunPlan>;
// A design and the folder of its series.
struct FolderDesign {
    CardDesign design;
    QString dataFolder;
};
Plan planOf(const FolderDesign &d)
{
    return RunPlan::make(d.design, RunPlan::Choices(), {QString(), d.dataFolder});
}
OutputCheck::Report checkOf(const Plan &plan, int threads)
{
    return OutputCheck::check(*plan, threads);
}

// 1,000 cards: a name, a Code 128 of nine digits and a QR Code of a web address per row.
struct CardsDesign {
    QTemporaryDir dir;
    Plan plan;

    CardsDesign()
    {
        const QString data = dir.filePath("DataSet");
        QRandomGenerator rng(42);
        QStringList names, codes, links;
        for (int i = 0; i < CardCount; ++i) {
            names << QStringLiteral("Dear Guest Number %1").arg(i + 1);
            codes << QString::number(rng.bounded(100000000, 999999999));
            links << QStringLiteral("https://example.com/c/%1").arg(rng.bounded(100000000, 999999999));
        }
        SeriesFiles::writeSeries(data, "names", names, false);
        SeriesFiles::writeSeries(data, "codes", codes, false);
        SeriesFiles::writeSeries(data, "links", links, false);
        FolderDesign d{CardDesign(), data};
        d.design.frontPage.Card_Side = QStringLiteral("1"); // one-sided, as the figures always were
        d.design.setCardSize(QSizeF(243, 154));
        d.design.front << bound(SKTGraphic::Kind::Text, "names", QRectF(10, 8, 150, 26));
        d.design.front << barcode(0, 9, "codes", QPointF(10, 60));
        d.design.front << barcode(1, 0, "links", QPointF(165, 75));
        plan = planOf(d);
    }
};

CardsDesign &cards()
{
    static CardsDesign d;
    return d;
}

double exportMs(const Plan &plan, int threads)
{
    ExportOptions options;
    options.dpi = 300;
    options.extension = "png";
    options.threads = threads;
    QTemporaryDir out;
    ExportProgress progress;
    QElapsedTimer timer;
    timer.start();
    CardExport::run(plan, out.path(), options, &progress);
    return double(timer.nsecsElapsed()) / 1e6;
}

double checkMs(const Plan &plan, int threads, OutputCheck::Report *report = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    OutputCheck::Report r = checkOf(plan, threads);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (report)
        *report = std::move(r);
    return ms;
}

// The check's share of the run and the run's speed-up on 8 threads, as a share of what a perfectly
// parallel job reaches on the same machine (1.0: the export scales as well as such a job). Ratios
// are taken within one iteration, so a machine busy with other work shifts both sides alike; the
// iteration reported is the median one by the speed-up with the check, so that one disturbed by
// other work on the machine, either way, does not stand for the run.
void BM_CheckShareOf1000CardExport(benchmark::State &state)
{
    struct Iteration {
        double check = 0, export8 = 0, export1 = 0, parallel = 0;
        double withCheck() const { return export1 / (export8 + check) / parallel; }
    };
    CardsDesign &d = cards();
    std::vector<Iteration> runs;
    for (auto _ : state) {
        Iteration i;
        i.export1 = exportMs(d.plan, 1);
        i.check = checkMs(d.plan, Threads);
        i.export8 = exportMs(d.plan, Threads);
        i.parallel = benchjob::parallelSpeedup(d.plan, Threads, CardCount);
        runs.push_back(i);
    }
    std::sort(runs.begin(), runs.end(),
              [](const Iteration &a, const Iteration &b) { return a.withCheck() < b.withCheck(); });
    const Iteration &m = runs[runs.size() / 2];
    state.counters["check_ms"] = m.check;
    state.counters["export8_ms"] = m.export8;
    state.counters["export1_ms"] = m.export1;
    state.counters["check_share"] = m.check / m.export8;
    state.counters["parallel_job_speedup"] = m.parallel;
    state.counters["of_parallel_export_only"] = m.export1 / m.export8 / m.parallel;
    state.counters["of_parallel_with_check"] = m.withCheck();
}
BENCHMARK(BM_CheckShareOf1000CardExport)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The check alone over the 1,000 cards, on one thread and on eight: what a profile looks at.
void BM_CheckOf1000Cards(benchmark::State &state)
{
    CardsDesign &d = cards();
    for (auto _ : state)
        benchmark::DoNotOptimize(checkOf(d.plan, int(state.range(0))));
}
BENCHMARK(BM_CheckOf1000Cards)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(Threads)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 23 rows of hostile values under a text and six barcodes bound to them.
QStringList hostileValues()
{
    const auto rep = [](const char *piece, int n) { return QString::fromUtf8(piece).repeated(n); };
    return {
        rep("1", 100000),      // Code 39 of 100,000 digits
        rep("A", 100000),      //
        rep("7", 1000000),     // a million digits
        rep("1", 7090),        // QR Code numeric capacity + 1
        rep("A", 4297),        // QR Code alphanumeric capacity + 1
        rep("a", 2954),        // QR Code byte capacity + 1
        rep("1", 2711),        // PDF417 numeric capacity + 1
        rep("a", 1851),        // PDF417 text capacity + 1
        rep("\xc3\xa9", 1109), // PDF417 byte capacity + 1
        rep("1", 3117),        // Data Matrix numeric capacity + 1
        rep("A", 2336),        // Data Matrix alphanumeric capacity + 1
        rep("\xc3\xa9", 1557), // Data Matrix byte capacity + 1
        rep("Wq~", 40000),     // Code 128 switching sets all along
        rep("12345678901", 10000),
        rep("word ", 20000),     // a text of many short words
        rep("\xcc\x81", 100000), // combining marks
        rep("\xf0\x9f\x8e\x82", 50000),
        rep("x\t", 50000), // fifty thousand tabs
        rep("-", 100000),
        rep(" ", 99999) + "1",
        rep("9", 13), // EAN-13 one digit too long
        rep("\xe4\xb8\x80", 30000),
        rep("1", 7089), // QR Code numeric capacity exactly
    };
}

FolderDesign hostileDesign(const QString &data, const QStringList &values)
{
    SeriesFiles::writeSeries(data, "hostile", values, false);
    FolderDesign folderDesign{CardDesign(), data};
    CardDesign &d = folderDesign.design;
    d.frontPage.Card_Side = QStringLiteral("1");
    d.setCardSize(QSizeF(243, 154));
    d.front << bound(SKTGraphic::Kind::Text, "hostile", QRectF(10, 8, 150, 26));
    d.front << barcode(0, 0, "hostile", QPointF(10, 40));   // Code 39
    d.front << barcode(0, 9, "hostile", QPointF(10, 70));   // Code 128
    d.front << barcode(0, 8, "hostile", QPointF(10, 100));  // EAN-13
    d.front << barcode(1, 0, "hostile", QPointF(165, 10));  // QR Code
    d.front << barcode(1, 1, "hostile", QPointF(100, 80));  // PDF417
    d.front << barcode(1, 2, "hostile", QPointF(200, 100)); // Data Matrix
    return folderDesign;
}

// Each row checked on its own on one thread (the slowest reported), then all 23 rows together.
void BM_CheckHostileRows(benchmark::State &state)
{
    const QStringList values = hostileValues();
    QTemporaryDir dir;
    double slowest = 0, all = 0;
    int slowestRow = 0;
    for (auto _ : state) {
        for (int r = 0; r < values.size(); ++r) {
            const double ms =
                checkMs(planOf(hostileDesign(dir.filePath(QString::number(r)), {values[r]})), 1);
            if (ms > slowest) {
                slowest = ms;
                slowestRow = r + 1;
            }
        }
        all = checkMs(planOf(hostileDesign(dir.filePath("all"), values)), Threads);
    }
    state.counters["rows"] = values.size();
    state.counters["slowest_row_ms"] = slowest;
    state.counters["slowest_row"] = slowestRow;
    state.counters["all_rows_ms"] = all;
}
BENCHMARK(BM_CheckHostileRows)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
