// A perfectly parallel job of the kind of work a batch does, that the export's speed-up on many
// threads is measured against: each thread encodes its own copy of one card's picture as PNG again
// and again, sharing nothing.
#pragma once

#include "output/BatchFiller.h"
#include "output/PngEncoder.h"
#include "output/RunPlan.h"

#include <QElapsedTimer>
#include <QImage>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace benchjob
{

// The job's speed-up on `threads` threads over one, encoding the plan's first card `items` times.
inline double parallelSpeedup(const std::shared_ptr<const RunPlan> &plan, int threads, int items)
{
    BatchFiller filler(plan, 300);
    QString error;
    const QImage card = filler.Set_data_table_value_to_card(0, "F", false, &error);
    const auto run = [&](int n) {
        std::atomic<int> next{0};
        QElapsedTimer timer;
        timer.start();
        std::vector<std::thread> pool;
        for (int i = 0; i < n; ++i)
            pool.emplace_back([&] {
                const QImage mine = card.copy();
                while (next++ < items)
                    PngEncoder::encode(mine, 300);
            });
        for (std::thread &t : pool)
            t.join();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    const double one = run(1);
    return one / run(threads);
}

} // namespace benchjob
