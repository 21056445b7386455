// Runs one piece of work on a thread of its own while the calling (GUI) thread turns a local
// event loop: windows keep painting, timers fire and message boxes asked for by the work are
// shown. Returns once the work has ended and its thread is joined.
#pragma once

#include <functional>

namespace WorkerRun
{
struct Options {
    // When tickMs > 0, tick is called on the calling thread every tickMs while the work runs (a
    // QTimer of that interval, so a progress refresh can be told apart from other timers).
    int tickMs = 0;
    std::function<void()> tick;
    // Called once on the calling thread when the application is told to quit while the work runs
    // (its loops are ended, or it is about to quit), to cut short what the work waits for. The
    // work is then still waited for: nothing it touches may go away under it.
    std::function<void()> quit;
    // When quietMs > 0, the calling thread first waits that long for the work without turning its
    // loop: work that ends by then has run as a plain call would, nothing else having happened.
    int quietMs = 0;
};

enum class End {
    Finished, // the work ended on its own
    Quit,     // a quit request came while it ran; it has ended since
};

// The work's exception, if it throws one, is carried over and thrown again here after the
// thread has been joined.
End run(const std::function<void()> &work, const Options &options = {});
} // namespace WorkerRun
