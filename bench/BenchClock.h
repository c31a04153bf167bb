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
