#include "platform/PictureDecodes.h"

#include "platform/EncodedPicture.h"
#include "platform/GuiThreadQueue.h"
#include "platform/Picture.h"

#include <QPainter>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

struct PictureDecodes::Asker {
    std::function<void()> ready;
    std::atomic<bool> posted{false}; // a call of ready is queued and has not begun
    bool gone = false;               // GUI thread only
    double zoom = 0;                 // of its last paint; GUI thread only
    QRect shown;                     // of its last paint; GUI thread only
    // The levels decoded for it since its zoom or the part shown last changed (under the
    // decoder's lock).
    std::vector<std::pair<std::weak_ptr<const EncodedPicture>, int>> decoded;
};

namespace
{
using Asker = PictureDecodes::Asker;

struct Job {
    std::shared_ptr<const EncodedPicture> picture;
    int level = 0;
    bool started = false;
    std::vector<std::pair<std::shared_ptr<Asker>, double>> askers; // with the zoom each asked at
};

// Tells the asker's canvas on the GUI thread, one call for every decoding that ends before it runs.
void tell(const std::shared_ptr<Asker> &asker)
{
    if (asker->posted.exchange(true))
        return;
    if (!GuiThreadQueue::post([asker] {
            asker->posted = false; // a decoding ending from here on asks again
            if (!asker->gone)
                asker->ready();
        }))
        asker->posted = false;
}

class Decoder
{
public:
    Decoder()
    {
        // The decodings' cache is made first, so it outlives the workers filling it.
        EncodedPicture::cachedBytes();
    }

    ~Decoder()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_jobs.clear(); // the canvases are gone; a decoding under way ends on its own
        }
        m_wake.notify_all();
        for (std::thread &t : m_threads)
            t.join();
    }

    void ask(const std::shared_ptr<const EncodedPicture> &picture, int level,
             const std::shared_ptr<Asker> &asker)
    {
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            const auto same = [&](const auto &d) {
                return d.second == level && !d.first.owner_before(picture) && !picture.owner_before(d.first);
            };
            if (std::any_of(asker->decoded.begin(), asker->decoded.end(), same))
                return;
            auto job = std::find_if(m_jobs.begin(), m_jobs.end(),
                                    [&](const Job &j) { return j.picture == picture && j.level == level; });
            if (job == m_jobs.end())
                job = m_jobs.insert(m_jobs.end(), Job{picture, level, false, {}});
            auto &askers = job->askers;
            const auto mine =
                std::find_if(askers.begin(), askers.end(), [&](const auto &a) { return a.first == asker; });
            if (mine == askers.end())
                askers.emplace_back(asker, asker->zoom);
            else
                mine->second = asker->zoom;
            // Pictures are decoded one a worker, spread over the cores but one left for the window.
            const size_t most = std::max(2u, std::thread::hardware_concurrency()) - 1;
            if (m_threads.size() < most && m_threads.size() < m_jobs.size())
                m_threads.emplace_back([this] { work(); });
        }
        m_wake.notify_one();
    }

    // The asker's view changed: what was decoded for it may be asked for again.
    void forgetDecoded(const std::shared_ptr<Asker> &asker)
    {
        const std::lock_guard lock(m_mutex);
        asker->decoded.clear();
    }

    // Gives up the asker's decodings not started that it asked for at another zoom than its
    // own now, or all of them (and never tells it again) when `all`.
    void withdraw(const std::shared_ptr<Asker> &asker, bool all)
    {
        const std::lock_guard lock(m_mutex);
        asker->decoded.clear();
        for (auto job = m_jobs.begin(); job != m_jobs.end();) {
            auto &askers = job->askers;
            std::erase_if(askers, [&](const auto &a) {
                return a.first == asker && (all || (!job->started && a.second != asker->zoom));
            });
            if (!job->started && askers.empty())
                job = m_jobs.erase(job);
            else
                ++job;
        }
    }

    int pending()
    {
        const std::lock_guard lock(m_mutex);
        return int(m_jobs.size());
    }

    void setBeforeDecode(std::function<void()> hook)
    {
        const std::lock_guard lock(m_mutex);
        m_beforeDecode = std::move(hook);
    }

private:
    // Under the lock: the job asked for last that no worker has started, else the end.
    std::list<Job>::iterator nextJob()
    {
        for (auto job = m_jobs.end(); job != m_jobs.begin();) {
            if (!(--job)->started)
                return job;
        }
        return m_jobs.end();
    }

    void work()
    {
        // Below the window's thread, which must answer input while the pictures decode; on Linux
        // a thread's nice value is its own.
        setpriority(PRIO_PROCESS, id_t(gettid()), 10);
        std::unique_lock lock(m_mutex);
        for (;;) {
            // The latest asked first: what the canvas shows now, before what it showed.
            auto job = m_jobs.end();
            m_wake.wait(lock, [&] { return m_stopping || (job = nextJob()) != m_jobs.end(); });
            if (m_stopping)
                return;
            job->started = true;
            std::shared_ptr<const EncodedPicture> picture = job->picture;
            const int level = job->level;
            const std::function<void()> before = m_beforeDecode;
            lock.unlock();
            if (before)
                before();
            picture->pixels(level); // kept in the shared cache, where the canvas's next paint finds it
            lock.lock();
            // A list's other elements stay where they were; the job is still there unless the
            // decoder is ending, which clears the list.
            std::vector<std::pair<std::shared_ptr<Asker>, double>> askers;
            if (!m_stopping) {
                askers = std::move(job->askers);
                m_jobs.erase(job);
                for (const auto &asker : askers)
                    asker.first->decoded.emplace_back(picture, level);
            }
            lock.unlock();
            for (const auto &asker : askers)
                tell(asker.first);
            picture.reset(); // its last holder may go here: outside the lock
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::list<Job> m_jobs; // in the order asked
    std::vector<std::thread> m_threads;
    std::function<void()> m_beforeDecode;
    bool m_stopping = false;
};

Decoder &decoder()
{
    static Decoder d;
    return d;
}

// The canvas whose paint runs on this thread, if one does, and the device it paints.
thread_local PictureDecodes::Canvas *t_painting = nullptr;
thread_local const QPaintDevice *t_device = nullptr;
} // namespace

PictureDecodes::Canvas::Canvas(std::function<void()> ready) : m_asker(std::make_shared<Asker>())
{
    m_asker->ready = std::move(ready);
}

PictureDecodes::Canvas::~Canvas()
{
    m_asker->gone = true;
    decoder().withdraw(m_asker, true);
}

PictureDecodes::Painting::Painting(Canvas &canvas, const QPaintDevice *device, double zoom, QRect shown)
    : m_outerCanvas(t_painting), m_outerDevice(t_device)
{
    t_painting = &canvas;
    t_device = device;
    Asker &asker = *canvas.m_asker;
    if (asker.zoom != zoom) {
        asker.zoom = zoom;
        asker.shown = shown;
        decoder().withdraw(canvas.m_asker, false);
    } else if (asker.shown != shown) {
        asker.shown = shown;
        decoder().forgetDecoded(canvas.m_asker);
    }
}

PictureDecodes::Painting::~Painting()
{
    t_painting = m_outerCanvas;
    t_device = m_outerDevice;
}

QImage PictureDecodes::shownPixels(const Picture &picture, const QPainter &painter)
{
    const std::shared_ptr<const EncodedPicture> &encoded = picture.encoded();
    if (!encoded || !t_painting || painter.device() != t_device)
        return picture.image();
    const int level = picture.level();
    if (std::optional<QImage> held = encoded->heldPixels(level))
        return *held;
    decoder().ask(encoded, level, t_painting->m_asker);
    // Coarser levels first: quick to draw, and what a canvas zooming in holds.
    for (int d = 1; d <= EncodedPicture::MostLevel; ++d) {
        for (const int near : {level + d, level - d}) {
            if (near < 0 || near > EncodedPicture::MostLevel)
                continue;
            if (std::optional<QImage> held = encoded->heldPixels(near))
                return *held;
        }
    }
    return QImage();
}

int PictureDecodes::pending()
{
    return decoder().pending();
}

void PictureDecodes::setBeforeDecode(std::function<void()> hook)
{
    decoder().setBeforeDecode(std::move(hook));
}
