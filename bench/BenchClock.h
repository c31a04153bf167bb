#pragma once

#include <chrono>

// Monotonic seconds between two points of a benchmark.
class BenchClock {
public:
    BenchClock()
        : m_start(std::chrono::steady_clock::now())
    {}
    [[nodiscard]] double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

// The steady clock in ns since its epoch: CLOCK_MONOTONIC, the clock the test child records its
// start and end on, so the two can be compared across processes.
inline long long steadyClockNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
