#pragma once

#include "UniqueFd.h"

#include <chrono>

// What the timers need of the platform: how long the computer has slept, and an alarm on a clock
// that runs on through a sleep, so that a deadline passed while asleep rings at once on waking.
namespace timerclock {

// How far the clock that counts sleep is ahead of the steady clock, which does not; it grows only
// across a suspend.
[[nodiscard]] std::chrono::nanoseconds rawAsleep();

// An alarm the event loop can watch as a descriptor; not valid where the platform has none, and
// then the event loop's timer serves and a sleep delays it.
[[nodiscard]] UniqueFd makeAlarm();
// Rings after the given time; zero disarms it.
void setAlarm(int alarm, std::chrono::nanoseconds after);
// Takes the ring, so that the alarm's descriptor is quiet until it rings again.
void takeRing(int alarm);

} // namespace timerclock
