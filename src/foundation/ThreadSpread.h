// Work of many like items spread over the cores: each thread takes the next item not yet taken
// until none is left, the calling thread one of them.
#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

namespace ThreadSpread
{
// Threads for `items` items: `requested` (0: one a core), never more than the items, at least one.
int threadsFor(qsizetype items, int requested);
// Runs work on `threads` threads at once, the calling thread one of them; returns when all ended.
void runTogether(int threads, const std::function<void()> &work);

// Calls a worker on every index of [0, count), threadsFor(count, requested) at once. Each thread
// gets its own worker from makeWorker(), so that what a worker keeps is never shared.
template <class MakeWorker> void forEachIndex(qsizetype count, int requested, const MakeWorker &makeWorker)
{
    std::atomic<qsizetype> next{0};
    runTogether(threadsFor(count, requested), [&] {
        auto worker = makeWorker();
        for (qsizetype i = next++; i < count; i = next++)
            worker(i);
    });
}
} // namespace ThreadSpread
