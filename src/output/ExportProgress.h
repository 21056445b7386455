// Counters and stop flag of a running batch (export or mail): the worker writes them, a GUI-side
// timer reads them, and the Stop button sets the flag, which the worker tests between cards.
#pragma once

#include <atomic>

class ExportProgress
{
public:
    std::atomic<bool> Stop_SMS_Sending_Now{false};
    std::atomic<int> list_count{0};            // items of the running run
    std::atomic<double> curr_barcode_count{0}; // item in progress, from 1; 0 before the first
    std::atomic<int> written{0};               // items finished and written
    std::atomic<int> failed{0};                // items that could not be made or written

    // Start of a run: the flag is cleared and the counters set for itemCount items.
    void start(int itemCount)
    {
        Stop_SMS_Sending_Now = false;
        list_count = itemCount;
        curr_barcode_count = 0;
        written = 0;
        failed = 0;
    }
    void requestStop() { Stop_SMS_Sending_Now = true; }
    bool stopRequested() const { return Stop_SMS_Sending_Now.load(); }

    // Marks item (from 0) as in progress; with several workers the highest started item shows.
    void beginItem(int item)
    {
        const double number = item + 1;
        double seen = curr_barcode_count.load();
        while (seen < number && !curr_barcode_count.compare_exchange_weak(seen, number)) {
        }
    }
};
