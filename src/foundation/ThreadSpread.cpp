#include "foundation/ThreadSpread.h"

#include <QThread>

#include <algorithm>
#include <thread>
#include <vector>

int ThreadSpread::threadsFor(qsizetype items, int requested)
{
    const int wanted = requested > 0 ? requested : QThread::idealThreadCount();
    return int(std::max<qsizetype>(1, std::min<qsizetype>(wanted, items)));
}

void ThreadSpread::runTogether(int threads, const std::function<void()> &work)
{
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread &t : pool)
        t.join();
}
