// Carries work from any thread to the GUI thread's event loop, optionally waiting until it ran.
// The hand-over goes through a standard mutex, so the race checker sees every task's data arrive.
#pragma once

#include <functional>

class GuiThreadQueue
{
public:
    // Queues `task` for the GUI thread. False without an application or while it closes down.
    static bool post(std::function<void()> task);
    // Runs `task` on the GUI thread and returns once it has run: directly when called there (or
    // with no application at all), else queued while the caller waits. False if it never ran
    // because the application closed down first. A thread the GUI thread is waiting for must not
    // call this: it would never be served.
    static bool runAndWait(const std::function<void()> &task);
};
