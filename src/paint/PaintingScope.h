// Marks the current thread as painting, and turns redraw requests into safe ones: a request made
// while this thread paints is dropped, one made off the GUI thread is posted to it.
#pragma once

#include <functional>

class PaintingScope
{
public:
    PaintingScope();
    ~PaintingScope();
    PaintingScope(const PaintingScope &) = delete;
    PaintingScope &operator=(const PaintingScope &) = delete;

    static bool isPainting(); // on this thread

    // Runs refresh now on the GUI thread, posts it there from another thread (requests made while one
    // is still queued join it), and drops it while this thread is painting (a paint that asks for a
    // repaint would repaint without end).
    static void requestRefresh(const std::function<void()> &refresh);
};
