#pragma once

#include "Timer.h"

#include <chrono>

// A timer clock the test moves by hand, awake or asleep, to play a suspend through.
class HandClock final : public TimerClock {
public:
    [[nodiscard]] TimePoint now() const override { return m_now; }
    [[nodiscard]] std::chrono::nanoseconds asleep() const override { return m_asleep; }
    void pass(std::chrono::nanoseconds awake, std::chrono::nanoseconds asleep)
    {
        m_now += awake + asleep;
        m_asleep += asleep;
    }

private:
    TimePoint m_now = std::chrono::steady_clock::now();
    std::chrono::nanoseconds m_asleep{0};
};
