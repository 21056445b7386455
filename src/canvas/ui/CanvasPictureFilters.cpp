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
struct FilterJob {
    Picture source;
    ProcessedPictures::Filters filters;
};

// The distinct pictures of the objects that are not filtered yet.
std::vector<FilterJob> unfilteredPictures(const GraphicList &graphics, qint64 *pixels)
{
    std::vector<FilterJob> jobs;
    for (const GraphicPtr &g : graphics) {
        const auto *image =
            g && g->kind() == SKTGraphic::Kind::Image ? static_cast<const SKTImage *>(g.get()) : nullptr;
        if (!image || !image->ctrl_is_visible || !image->_contents || image->_contents->isNull())
            continue;
        FilterJob job{*image->_contents, image->filters()};
        if (ProcessedPictures::isReady(job.source, job.filters))
            continue;
        const bool known = std::any_of(jobs.begin(), jobs.end(), [&](const FilterJob &other) {
            return other.filters == job.filters &&
                   other.source.image().cacheKey() == job.source.image().cacheKey() &&
                   other.source.size() == job.source.size() && !job.source.isVector();
        });
        if (known)
            continue;
        const QSize px = job.source.isVector() ? job.source.size().toSize() * 4 : job.source.image().size();
        *pixels += qint64(px.width()) * px.height();
        jobs.push_back(std::move(job));
    }
    return jobs;
}
} // namespace

bool CanvasPictureFilters::paintMayFilter(const GraphicList &drawn)
{
    qint64 pixels = 0;
    if (unfilteredPictures(drawn, &pixels).empty())
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
    const std::vector<FilterJob> jobs = unfilteredPictures(m_view.graphics(), &pixels);
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
                for (size_t i = next++; i < jobs.size(); i = next++)
                    ProcessedPictures::processed(jobs[i].source, jobs[i].filters);
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
    m_running = false;
    m_view.update();
}
