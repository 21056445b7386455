// Waits, with a deadline, for a condition that another thread brings about: for core tests whose
// programs have no event loop to turn.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// True once the condition holds; false when 20 s pass first.
inline bool eventually(const std::function<bool()> &condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
