#include "canvas/ui/CanvasPictureFilters.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/WorkerRun.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "model/SKTImage.h"
#include "paint/ProcessedPictures.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace
{
// One picture and set of filter values to make, for the objects that show it.
struct FilterJob {
    Picture source;
    ProcessedPictures::Filters filters;
    QList<const SKTImage *> objects;
    std::optional<Picture> filtered;
};

// The distinct pictures, at the pixels a canvas of `scale` device pixels per point shows, of the
// objects that the canvas does not show filtered as they ask; large photos not decoded at those
// pixels count as work too.
std::vector<FilterJob> unfilteredPictures(const GraphicList &graphics, double scale, qint64 *pixels)
{
    std::vector<FilterJob> jobs;
    for (const GraphicPtr &g : graphics) {
        const auto *image =
            g && g->kind() == SKTGraphic::Kind::Image ? static_cast<const SKTImage *>(g.get()) : nullptr;
        if (!image || !image->ctrl_is_visible || !image->_contents || image->_contents->isNull())
            continue;
        const Picture source = image->shownSource(QSizeF(scale, scale));
        if (image->showsFiltered(source))
            continue;
        const ProcessedPictures::Filters filters = image->filters();
        // Nothing to filter: the paint draws the photo as held while its decoding runs on a worker.
        if (filters == ProcessedPictures::Filters{})
            continue;
        const auto known = std::find_if(jobs.begin(), jobs.end(), [&](const FilterJob &job) {
            return job.filters == filters && job.source.sameContent(source);
        });
        if (known != jobs.end()) {
            known->objects.append(image);
            continue;
        }
        if (ProcessedPictures::isReady(source, filters))
            continue;
        const QSize px = source.isVector() ? source.size().toSize() * 4 : source.pixelSize();
        *pixels += qint64(px.width()) * px.height();
        // Decoding reads the whole file, whatever the pixels it gives: about a quarter of the
        // time a full decoding takes.
        if (!source.isDecoded()) {
            const QSize full = image->_contents->pixelSize();
            *pixels += qint64(full.width()) * full.height() / 4;
        }
        jobs.push_back({source, filters, {image}, std::nullopt});
    }
    return jobs;
}
} // namespace

bool CanvasPictureFilters::paintMayFilter(const GraphicList &drawn, double scale)
{
    qint64 pixels = 0;
    m_scale = scale;
    if (unfilteredPictures(drawn, scale, &pixels).empty())
        return true;
    if (m_running || m_scheduled)
        return false;
    if (pixels < PaintPixels)
        return true;
    // Never from inside the paint: the work turns an event loop of its own.
    m_scheduled = true;
    QTimer::singleShot(0, &m_view, [this] { run(); });
    return false;
}

void CanvasPictureFilters::run()
{
    m_scheduled = false;
    qint64 pixels = 0;
    // The objects are held for the run: the user may delete some meanwhile.
    const GraphicList graphics = m_view.graphics();
    std::vector<FilterJob> jobs = unfilteredPictures(graphics, m_scale, &pixels);
    if (jobs.empty())
        return;
    m_running = true;
    // The window may close while the work runs: nothing of the canvas is touched after that.
    const QPointer<SKTGraphicView> view(&m_view);
    std::optional<PleaseWaitSheet> sheet;
    WorkerRun::Options options;
    options.tickMs = SheetAfterMs;
    options.tick = [&] {
        if (!sheet)
            sheet.emplace(m_view.window());
    };
    WorkerRun::run(
        [&jobs] {
            // The pictures spread over the cores; each is filtered once and kept for every drawing.
            std::atomic<size_t> next{0};
            const auto filterSome = [&] {
                for (size_t i = next++; i < jobs.size(); i = next++) {
                    jobs[i].source.image(); // decoded here and kept, not in the paint
                    jobs[i].filtered = ProcessedPictures::processed(jobs[i].source, jobs[i].filters);
                }
            };
            const size_t helpers =
                std::min<size_t>(jobs.size(), std::max(1u, std::thread::hardware_concurrency())) - 1;
            std::vector<std::thread> threads;
            for (size_t i = 0; i < helpers; ++i)
                threads.emplace_back(filterSome);
            filterSome();
            for (std::thread &t : threads)
                t.join();
        },
        options);
    sheet.reset();
    if (!view)
        return;
    // Each object shows what was made for it, unless it changed meanwhile: the kept pictures may
    // already have made room for others.
    for (const FilterJob &job : jobs) {
        for (const SKTImage *image : job.objects) {
            if (image->_contents && image->shownSource(QSizeF(m_scale, m_scale)).sameContent(job.source) &&
                image->filters() == job.filters)
                image->noteShown(job.source, job.filters, job.filtered);
        }
    }
    m_running = false;
    m_view.update();
}
