// Canvas speed: one full repaint of a side holding 200 objects of mixed kinds at 100 % and 400 %,
// one drag step (a mouse move until its rectangles are repainted) with 50 objects selected,
// zooming a very large card to 1600 % (time and peak memory), and zooming and scrolling a card of
// 100 different 12 MP photos (the longest the window's thread is kept from input, and the time
// until the canvas shows every photo at the pixels it needs).
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "canvas/ui/SideSelection.h"
#include "canvas/ui/ZoomFactor.h"
#include "foundation/FoundationState.h"
#include "model/SKTBarcode.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "platform/Units.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace
{

Picture smallPhoto()
{
    QImage img(120, 90, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 2, y * 2, (x + y) % 256));
    return Picture(img);
}

// 200 objects spread over the card: texts, six shape codes, lines, pictures, signatures, barcodes.
GraphicList mixedObjects()
{
    const QStringList shapes = {"R", "C", "RR", "T", "S", "DS"};
    const Picture photo = smallPhoto();
    GraphicList all;
    for (int i = 0; i < 200; ++i) {
        const QRectF r(5 + (i % 20) * 11.5, 5 + (i / 20) * 14.5, 18, 12);
        GraphicPtr g;
        switch (i % 6) {
        case 0: {
            g = SKTGraphic::create(SKTGraphic::Kind::Text);
            g->Text_Value = QStringLiteral("Text %1").arg(i);
            break;
        }
        case 1:
            g = SKTGraphic::create(SKTGraphic::Kind::Shape);
            g->Set_Shape_Type(shapes.at((i / 6) % shapes.size()));
            g->_fill_type = QStringLiteral("G");
            break;
        case 2:
            g = SKTGraphic::create(SKTGraphic::Kind::Line);
            break;
        case 3:
            g = SKTImage::initWithPosition(QPointF(), photo);
            break;
        case 4:
            g = SKTSignature::initWithPosition(QPointF(), photo, QStringLiteral("S"));
            break;
        default:
            g = SKTBarcode::initWithPosition(QPointF(), photo);
            break;
        }
        g->_bounds = r;
        all.append(g);
    }
    return all;
}

struct CanvasRig {
    SKTDocument document;
    SKTGrid grid;
    ZoomFactor zoom;
    std::unique_ptr<SideSelection> selection;
    std::unique_ptr<SKTZoomingScrollView> scroll;
    SKTGraphicView *view = nullptr;

    explicit CanvasRig(double factor, const GraphicList &objects = mixedObjects(), QSizeF cardSize = {})
    {
        if (cardSize.isValid())
            document.changeSettingsRecorded(QStringLiteral("Card Size"), SKTDocument::Front,
                                            [&](DesignSettings &s) { s.setCardSize(cardSize); });
        QList<int> at;
        for (int i = 0; i < objects.size(); ++i)
            at.append(i);
        document.insertGraphics(objects, at);
        selection = std::make_unique<SideSelection>(document, SKTDocument::Front);
        scroll = std::make_unique<SKTZoomingScrollView>();
        scroll->resize(1100, 760);
        view = new SKTGraphicView;
        view->bindGraphics(document, SKTDocument::Front);
        view->bindSelection(*selection);
        view->setGrid(&grid);
        scroll->setDocumentView(view);
        scroll->bindFactor(zoom);
        zoom.setFactor(factor);
        scroll->show();
        QCoreApplication::processEvents();
    }

    void send(QEvent::Type type, const QPointF &points, Qt::MouseButtons buttons)
    {
        const QPointF px = points * view->zoom();
        QMouseEvent e(type, px, view->mapToGlobal(px), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    }
};

void BM_CanvasRepaint200Objects(benchmark::State &state)
{
    CanvasRig rig(double(state.range(0)) / 100.0);
    rig.view->selectAll();
    for (auto _ : state)
        rig.view->repaint();
    state.SetLabel(QStringLiteral("%1 %").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_CanvasRepaint200Objects)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_CanvasDragStep50Selected(benchmark::State &state)
{
    CanvasRig rig(1.0);
    QList<int> fifty;
    for (int i = 0; i < 50; ++i)
        fifty.append(i * 4);
    rig.view->changeSelectionIndexes(fifty);
    const QPointF start = rig.document.graphics().at(0)->bounds().center();
    rig.send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    rig.send(QEvent::MouseMove, start + QPointF(4, 4), Qt::LeftButton); // past the threshold
    QCoreApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        const double d = (++step % 2) ? 3.0 : -3.0;
        rig.send(QEvent::MouseMove, start + QPointF(4 + d, 4 + d), Qt::LeftButton);
        QCoreApplication::processEvents(); // the update request: the moved rectangles repaint
    }
    rig.send(QEvent::MouseButtonRelease, start, Qt::NoButton);
}
BENCHMARK(BM_CanvasDragStep50Selected)->Unit(benchmark::kMillisecond);

// Peak resident memory of this process in MB, as the kernel counts it.
double peakResidentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// A square card of range(0) millimetres zoomed from 100 % to 1600 % and painted there, the window
// 1100 x 760: the time of one zoom step and the process's peak memory afterwards.
void BM_CanvasZoomHugeCardTo1600(benchmark::State &state)
{
    CanvasRig rig(1.0);
    const double side = double(state.range(0)) * Units::PointsPerMillimetre;
    rig.document.changeSettingsRecorded(QStringLiteral("Card Size"), SKTDocument::Front,
                                        [&](DesignSettings &s) { s.setCardSize(QSizeF(side, side)); });
    QCoreApplication::processEvents();
    {
        // The peak counts from here where the kernel allows it.
        QFile refs(QStringLiteral("/proc/self/clear_refs"));
        if (refs.open(QIODevice::WriteOnly))
            refs.write("5");
    }
    const double before = peakResidentMB();
    for (auto _ : state) {
        rig.zoom.setFactor(16.0);
        rig.scroll->viewport()->repaint();
        rig.view->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        rig.zoom.setFactor(1.0);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakResidentMB();
    state.counters["peak_growth_MB"] = peakResidentMB() - before;
    state.SetLabel(QStringLiteral("%1 x %1 mm at 1600 %").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_CanvasZoomHugeCardTo1600)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

// The CPU time this thread has used, in ms: what it worked between two turns of its loop, whatever
// else the machine runs.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// `count` different photos of 4000 x 3000 pixels, each its own colours, shapes and grain, as JPEG
// files in `dir`; made on every core.
QStringList writePhotos(const QTemporaryDir &dir, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(dir.filePath(QStringLiteral("photo-%1.jpg").arg(i)));
    std::atomic<int> next{0};
    const auto writeSome = [&] {
        for (int i = next++; i < count; i = next++) {
            QImage photo(4000, 3000, QImage::Format_RGB32);
            QRandomGenerator random(quint32(i + 1));
            QLinearGradient ramp(0, 0, 4000, 3000);
            ramp.setColorAt(0, QColor::fromHsv(i * 37 % 360, 180, 230));
            ramp.setColorAt(1, QColor::fromHsv(i * 71 % 360, 200, 60));
            QPainter painter(&photo);
            painter.fillRect(photo.rect(), ramp);
            painter.setRenderHint(QPainter::Antialiasing);
            for (int k = 0; k < 60; ++k) {
                painter.setBrush(QColor::fromHsv(random.bounded(360), 160, random.bounded(60, 255), 160));
                painter.setPen(Qt::NoPen);
                painter.drawEllipse(QPointF(random.bounded(4000), random.bounded(3000)),
                                    random.bounded(40, 600), random.bounded(40, 600));
            }
            painter.end();
            for (int y = 0; y < photo.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
                for (int x = 0; x < photo.width(); ++x) {
                    const int grain = int(random.bounded(24u)) - 12;
                    const QRgb p = line[x];
                    line[x] = qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                                   std::clamp(qBlue(p) + grain, 0, 255));
                }
            }
            photo.save(paths.at(i), "JPEG", 88);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        threads.emplace_back(writeSome);
    writeSome();
    for (std::thread &t : threads)
        t.join();
    return paths;
}

// A card of 100 different 12 MP photos in ten rows of ten, at 100 %, 150 %, 200 % and 400 %, then
// scrolled down a page at 400 %. For each step: the longest the window's thread went without
// turning its event loop (a 5 ms probe timer's longest gap, the step itself included), the most
// CPU time it used between two turns ("work": its own share, whatever else the machine runs), and
// the time until every photo in sight was decoded at the pixels the zoom needs and painted so.
void BM_CanvasZoom100Photos(benchmark::State &state)
{
    QTemporaryDir dir;
    const QStringList paths = writePhotos(dir, 100);
    GraphicList photos;
    for (int i = 0; i < paths.size(); ++i) {
        const auto photo = SKTImage::initWithPath(QPointF(), paths.at(i));
        photo->setBounds(QRectF(6 + (i % 10) * 44, 6 + (i / 10) * 34, 40, 30));
        photos.append(photo);
    }
    for (auto _ : state) {
        CanvasRig rig(1.0, photos, QSizeF(446, 346));
        // Whether every photo in sight shows at the pixels the zoom needs.
        const auto sharp = [&] {
            const QRectF seen = QRectF(rig.view->visibleRegion().boundingRect());
            const double z = rig.view->zoom();
            const QRectF points(seen.x() / z, seen.y() / z, seen.width() / z, seen.height() / z);
            const double scale = z * rig.view->devicePixelRatioF();
            return std::all_of(photos.begin(), photos.end(), [&](const GraphicPtr &g) {
                const auto &image = static_cast<const SKTImage &>(*g);
                return !g->bounds().intersects(points) || image.shownSource(QSizeF(scale, scale)).isDecoded();
            });
        };
        // Runs the step inside the event loop and watches it.
        const auto measure = [&](const std::function<void()> &step, double *blockedMs, double *sharpMs,
                                 double *workMs) {
            QEventLoop loop;
            QElapsedTimer clock;
            clock.start();
            qint64 last = 0;
            qint64 longest = 0;
            double lastWork = threadCpuMs();
            double longestWork = 0;
            int sharpTicks = 0;
            QTimer probe;
            probe.setInterval(5);
            QObject::connect(&probe, &QTimer::timeout, &loop, [&] {
                const qint64 now = clock.elapsed();
                longest = std::max(longest, now - last);
                last = now;
                const double work = threadCpuMs();
                longestWork = std::max(longestWork, work - lastWork);
                lastWork = work;
                // Sharp at one tick, and still at the next: the paint it asked for has run.
                sharpTicks = sharp() ? sharpTicks + 1 : 0;
                if (sharpTicks == 2) {
                    *sharpMs = double(now);
                    loop.quit();
                }
                if (now > 60000) {
                    *sharpMs = -1;
                    loop.quit();
                }
            });
            probe.start();
            QTimer::singleShot(0, &loop, [&] {
                last = clock.elapsed();
                lastWork = threadCpuMs();
                step();
            });
            loop.exec();
            *blockedMs = double(longest);
            *workMs = longestWork;
        };
        double blocked = 0, sharpMs = 0, work = 0;
        measure([] {}, &blocked, &sharpMs, &work);
        state.counters["open_sharp_ms"] = sharpMs;
        const auto note = [&](const QString &name) {
            state.counters[(name + QStringLiteral("_blocked_ms")).toStdString()] = blocked;
            state.counters[(name + QStringLiteral("_work_ms")).toStdString()] = work;
            state.counters[(name + QStringLiteral("_sharp_ms")).toStdString()] = sharpMs;
        };
        for (const int percent : {150, 200, 400}) {
            measure([&] { rig.zoom.setFactor(percent / 100.0); }, &blocked, &sharpMs, &work);
            note(QStringLiteral("to%1").arg(percent));
        }
        measure(
            [&] {
                QScrollBar *bar = rig.scroll->verticalScrollBar();
                bar->setValue(bar->value() + bar->pageStep());
            },
            &blocked, &sharpMs, &work);
        note(QStringLiteral("scroll"));
    }
}
BENCHMARK(BM_CanvasZoom100Photos)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FoundationState::instance().setResourcePath(QStringLiteral(TESSALY_SOURCE_RESOURCES));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
