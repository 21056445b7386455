// Fills the labels of a print run on the cores beside the thread that draws the sheets: each
// sheet's labels are handed over in order as soon as they are filled, while the next are filled.
#pragma once

#include "output/Printing_View.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class LabelFeed
{
public:
    // What one thread fills a label with; each thread gets its own from makeFill, so that what it
    // keeps (a renderer and its fonts) lives as long as the run and is never shared.
    using Fill = std::function<Printing_View::Sides(int label)>;
    using MakeFill = std::function<Fill()>;

    // labels: the label numbers of the run in drawing order; sheetEnds: where each sheet's labels
    // end in it. At most `ahead` labels past the sheet being drawn are kept filled (never fewer
    // than a sheet holds), so a long run holds only a few sheets at a time. threads 0: a core
    // each, less the drawing one.
    LabelFeed(std::vector<int> labels, std::vector<int> sheetEnds, int ahead, const MakeFill &makeFill,
              int threads = 0);
    // Stops filling after the labels being filled and waits for the threads.
    ~LabelFeed();
    LabelFeed(const LabelFeed &) = delete;
    LabelFeed &operator=(const LabelFeed &) = delete;

    // The filled labels of sheet (from 0, in order), once they are all filled. Each sheet is taken
    // once; taking it makes room for the labels after it.
    std::vector<Printing_View::Sides> takeSheet(int sheet);

private:
    void fillLabels(const Fill &fill);

    const std::vector<int> m_labels;
    const std::vector<int> m_sheetEnds;
    size_t m_window = 1;
    // Filled labels by position in the run, modulo the window.
    std::vector<std::optional<Printing_View::Sides>> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_filled; // a label is filled
    std::condition_variable m_room;   // a sheet was taken or the run stops
    size_t m_next = 0;                // the next label position to fill
    size_t m_taken = 0;               // labels before it are handed over
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};
