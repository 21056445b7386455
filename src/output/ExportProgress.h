// Counters, stop flag and pause of a running batch (export or mail): the worker writes the
// counters, a GUI-side timer reads them, and the Stop button pauses the run while its question
// is open and then either sets the flag, which the worker tests between cards, or resumes.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class ExportProgress
{
public:
    std::atomic<bool> Stop_SMS_Sending_Now{false};
    std::atomic<int> list_count{0};            // items of the running run
    std::atomic<double> curr_barcode_count{0}; // item in progress, from 1; 0 before the first
    std::atomic<int> written{0};               // items finished and written
    std::atomic<int> failed{0};                // items that could not be made or written

    // Start of a run: the flag is cleared and the counters set for itemCount items. A pause is
    // left as it is: it belongs to whoever asked for it.
    void start(int itemCount)
    {
        Stop_SMS_Sending_Now = false;
        list_count = itemCount;
        curr_barcode_count = 0;
        written = 0;
        failed = 0;
    }
    // Only an atomic store, so a signal handler may call it; a paused worker notices it within
    // its next look (at most PauseLookMs).
    void requestStop() { Stop_SMS_Sending_Now = true; }
    bool stopRequested() const { return Stop_SMS_Sending_Now.load(); }

    // While paused no item begins and nothing is written or sent: workers wait in waitWhilePaused.
    void pause()
    {
        const std::lock_guard lock(m_pauseMutex);
        m_paused = true;
    }
    void resume()
    {
        {
            const std::lock_guard lock(m_pauseMutex);
            m_paused = false;
        }
        m_pauseChanged.notify_all();
    }
    bool paused() const
    {
        const std::lock_guard lock(m_pauseMutex);
        return m_paused;
    }
    // Returns once the run is not paused, or a stop has been asked for.
    void waitWhilePaused()
    {
        std::unique_lock lock(m_pauseMutex);
        if (!m_paused)
            return;
        ++m_waiting;
        while (m_paused && !stopRequested())
            m_pauseChanged.wait_for(lock, std::chrono::milliseconds(PauseLookMs));
        --m_waiting;
    }
    // Threads waiting in a pause now (tests wait for a whole run to be held).
    int waitingInPause() const
    {
        const std::lock_guard lock(m_pauseMutex);
        return m_waiting;
    }
    static constexpr int PauseLookMs = 100;

    // Marks item (from 0) as in progress; with several workers the highest started item shows.
    void beginItem(int item)
    {
        const double number = item + 1;
        double seen = curr_barcode_count.load();
        while (seen < number && !curr_barcode_count.compare_exchange_weak(seen, number)) {
        }
    }

private:
    mutable std::mutex m_pauseMutex;
    std::condition_variable m_pauseChanged;
    bool m_paused = false;
    int m_waiting = 0;
};
