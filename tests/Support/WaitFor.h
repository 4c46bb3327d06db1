#pragma once
// Waits for what a test needs, polling, with a deadline generous enough for a loaded machine; true once the
// condition holds.

#include <chrono>
#include <thread>

template <typename Condition>
bool WaitFor(Condition condition, double seconds = 60.0)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
