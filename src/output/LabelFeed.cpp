#include "output/LabelFeed.h"

#include "foundation/ThreadSpread.h"

#include <algorithm>
#include <limits>

LabelFeed::LabelFeed(std::vector<int> labels, std::vector<int> sheetEnds, int ahead, const MakeFill &makeFill,
                     int threads)
    : m_labels(std::move(labels)), m_sheetEnds(std::move(sheetEnds))
{
    int largestSheet = 0;
    for (size_t s = 0, start = 0; s < m_sheetEnds.size(); start = size_t(m_sheetEnds[s++]))
        largestSheet = std::max(largestSheet, int(size_t(m_sheetEnds[s]) - start));
    m_window = size_t(std::max({1, ahead, largestSheet}));
    m_slots.resize(m_window);
    if (m_labels.empty())
        return;
    if (threads <= 0)
        threads = ThreadSpread::threadsFor(std::numeric_limits<int>::max(), 0) - 1;
    threads = std::clamp(threads, 1, int(m_labels.size()));
    for (int t = 0; t < threads; ++t)
        m_threads.emplace_back([this, makeFill] { fillLabels(makeFill()); });
}

LabelFeed::~LabelFeed()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_room.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

void LabelFeed::fillLabels(const Fill &fill)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_room.wait(lock,
                    [this] { return m_stop || m_next >= m_labels.size() || m_next < m_taken + m_window; });
        if (m_stop || m_next >= m_labels.size())
            return;
        const size_t at = m_next++;
        lock.unlock();
        Printing_View::Sides sides = fill(m_labels[at]);
        lock.lock();
        m_slots[at % m_window] = std::move(sides);
        m_filled.notify_all();
    }
}

std::vector<Printing_View::Sides> LabelFeed::takeSheet(int sheet)
{
    if (sheet < 0 || size_t(sheet) >= m_sheetEnds.size())
        return {};
    const size_t begin = sheet == 0 ? 0 : size_t(m_sheetEnds[size_t(sheet) - 1]);
    const size_t end = size_t(m_sheetEnds[size_t(sheet)]);
    std::vector<Printing_View::Sides> sheetSides;
    sheetSides.reserve(end - begin);
    std::unique_lock lock(m_mutex);
    // Sheets are drawn in order: one taken out of turn would keep the window from moving on.
    if (begin != m_taken)
        return {};
    m_filled.wait(lock, [&] {
        for (size_t at = begin; at < end; ++at)
            if (!m_slots[at % m_window])
                return false;
        return true;
    });
    for (size_t at = begin; at < end; ++at) {
        sheetSides.push_back(std::move(*m_slots[at % m_window]));
        m_slots[at % m_window].reset();
    }
    m_taken = end;
    lock.unlock();
    m_room.notify_all();
    return sheetSides;
}
