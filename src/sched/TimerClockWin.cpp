#include "TimerClockPlatform.h"

#include <windows.h>

namespace timerclock {

// The tick count runs on through a sleep, the unbiased interrupt time (in 100 ns units) does not.
std::chrono::nanoseconds rawAsleep()
{
    ULONGLONG awake = 0;
    ::QueryUnbiasedInterruptTime(&awake);
    return std::chrono::milliseconds(::GetTickCount64()) - std::chrono::nanoseconds(awake * 100);
}

// No alarm here: the event loop's timer serves.
UniqueFd makeAlarm()
{
    return {};
}

void setAlarm(int, std::chrono::nanoseconds) {}

void takeRing(int) {}

} // namespace timerclock
