// Batch export speed: 1,000 cards (page fill, two texts, a picture and a Code 128 barcode, all
// bound to series) written as 300-dpi PNG files, on every core and on one; and the same 1,000
// cards printed on A4 sheets of 2 x 5 labels into a PDF file.
#include "data/SeriesFiles.h"
#include "model/SKTGraphic.h"
#include "output/BatchFiller.h"
#include "output/CardExport.h"
#include "output/PngEncoder.h"
#include "output/PrintLayout.h"
#include "output/Printing_View.h"
#include "output/RunPlan.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace
{

constexpr int CardCount = 1000;

void ensureApp()
{
    static std::unique_ptr<QGuiApplication> app;
    if (!app && !QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ExportBench";
        static char *argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
}

struct BenchDesign {
    QTemporaryDir dir;
    std::shared_ptr<const RunPlan> plan;

    BenchDesign()
    {
        const QString data = dir.filePath("DataSet");
        QRandomGenerator rng(42);
        QStringList names, titles, pictures, codes;
        for (int p = 0; p < 10; ++p) {
            QImage img(240, 240, QImage::Format_RGB32);
            img.fill(QColor::fromHsv(p * 36, 160, 230));
            QPainter painter(&img);
            painter.setBrush(QColor::fromHsv((p * 36 + 180) % 360, 200, 180));
            painter.drawEllipse(30, 30, 180, 180);
            painter.end();
            img.save(dir.filePath(QStringLiteral("photo%1.png").arg(p)));
        }
        for (int i = 0; i < CardCount; ++i) {
            names << QStringLiteral("Dear Guest Number %1").arg(i + 1);
            titles << QStringLiteral("Table %1, seat %2").arg(i / 8 + 1).arg(i % 8 + 1);
            pictures << dir.filePath(QStringLiteral("photo%1.png").arg(i % 10));
            codes << QString::number(rng.bounded(100000000, 999999999));
        }
        SeriesFiles::writeSeries(data, "names", names, false);
        SeriesFiles::writeSeries(data, "titles", titles, false);
        SeriesFiles::writeSeries(data, "pictures", pictures, false);
        SeriesFiles::writeSeries(data, "codes", codes, false);

        CardDesign d;
        d.frontPage.Card_Side = QStringLiteral("1"); // a one-sided card, as the figures always were
        d.setCardSize(QSizeF(243, 154));
        d.frontPage.Card_fill_chk = true;
        d.frontPage.Card_fill_style = "G";
        d.frontPage.Card_fill_Grd_1_clr = QColor(250, 240, 200);
        d.frontPage.Card_fill_Grd_2_clr = QColor(200, 220, 250);
        d.frontPage.Card_grad_Stepper = 30;
        d.frontPage.Card_border_chk = true;
        auto bind = [](GraphicPtr g, const QString &series, const QRectF &bounds) {
            g->setBounds(bounds);
            g->data_source_type = 1;
            g->batch_list_name = series;
            return g;
        };
        GraphicPtr name = bind(SKTGraphic::create(SKTGraphic::Kind::Text), "names", QRectF(10, 8, 150, 26));
        name->_isDrawingFill = false;
        name->Text_contents().font = FontDescriptor{"TimesNewRomanPS-BoldMT", 16};
        GraphicPtr title =
            bind(SKTGraphic::create(SKTGraphic::Kind::Text), "titles", QRectF(10, 36, 150, 20));
        title->_isDrawingFill = false;
        GraphicPtr photo =
            bind(SKTGraphic::create(SKTGraphic::Kind::Image), "pictures", QRectF(170, 10, 64, 64));
        GraphicPtr code =
            bind(SKTGraphic::create(SKTGraphic::Kind::Barcode), "codes", QRectF(10, 80, 10, 10));
        code->barcode_font_index = 9; // Code 128
        code->linear_width_val = 10.0f;
        code->show_hide_hdr = 1;
        code->show_hide_ftr = 1;
        d.front << name << title << photo << code;
        plan = RunPlan::make(d, RunPlan::Choices(), {QString(), data});
    }
};

BenchDesign &design()
{
    ensureApp();
    static BenchDesign d;
    return d;
}

void BM_ExportBatch300dpi(benchmark::State &state)
{
    BenchDesign &d = design();
    const int threads = state.range(0) > 0 ? int(state.range(0)) : QThread::idealThreadCount();
    ExportOptions options;
    options.dpi = 300;
    options.extension = "png";
    options.threads = threads;
    double ms = 0;
    int written = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        ExportProgress progress;
        QElapsedTimer timer;
        timer.start();
        const ExportResult r = CardExport::run(d.plan, out.path(), options, &progress);
        ms = double(timer.nsecsElapsed()) / 1e6;
        written = r.written;
        if (!r.ok())
            state.SkipWithError(r.message().toUtf8().constData());
    }
    state.counters["cards"] = written;
    state.counters["threads"] = threads;
    state.counters["ms_per_card"] = ms / CardCount;
    state.counters["ms_per_card_per_core"] = ms * threads / CardCount;
}
BENCHMARK(BM_ExportBatch300dpi)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Filling and drawing one card, without encoding or writing.
void BM_FillAndRenderCard300dpi(benchmark::State &state)
{
    BenchDesign &d = design();
    BatchFiller filler(d.plan, 300);
    int row = 0;
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(filler.Set_data_table_value_to_card(row++ % CardCount, "F", false, &error));
    }
}
BENCHMARK(BM_FillAndRenderCard300dpi)->Unit(benchmark::kMillisecond);

// Encoding one 300-dpi card as PNG.
void BM_PngEncodeCard300dpi(benchmark::State &state)
{
    BenchDesign &d = design();
    BatchFiller filler(d.plan, 300);
    QString error;
    const QImage card = filler.Set_data_table_value_to_card(0, "F", false, &error);
    for (auto _ : state)
        benchmark::DoNotOptimize(PngEncoder::encode(card, 300));
}
BENCHMARK(BM_PngEncodeCard300dpi)->Unit(benchmark::kMillisecond);

// Printing: 1,000 bound labels on A4 sheets of 2 columns x 5 rows (100 sheets) painted into a PDF
// file, each sheet's labels rendered ahead on every core.
void BM_Print1000LabelsOn2x5Sheets(benchmark::State &state)
{
    BenchDesign &d = design();
    PrintLayout layout;
    layout.paper = QSizeF(595, 842);
    layout.label_width = 243;
    layout.label_hight = 154;
    layout.Print_Row = 5;
    layout.Print_Col = 2;
    layout.Total_Label = CardCount;
    layout.label_align_val = 5;
    layout.auto_center_flag = true;
    layout.dataMode = true;
    int sheets = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        QPdfWriter writer(out.filePath("sheets.pdf"));
        Printing_View view(layout, {}, d.plan);
        sheets = view.numberOfPages(false);
        const OpResult painted = view.paint(writer, false);
        if (!painted.ok())
            state.SkipWithError(painted.message.toUtf8().constData());
    }
    state.counters["sheets"] = sheets;
    state.counters["labels"] = CardCount;
}
BENCHMARK(BM_Print1000LabelsOn2x5Sheets)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
