#include "TimerClockPlatform.h"

#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace timerclock {

// The boot clock runs on through a suspend, the monotonic one does not.
std::chrono::nanoseconds rawAsleep()
{
    timespec boot{};
    timespec steady{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    clock_gettime(CLOCK_MONOTONIC, &steady);
    return std::chrono::seconds(boot.tv_sec - steady.tv_sec) +
           std::chrono::nanoseconds(boot.tv_nsec - steady.tv_nsec);
}

UniqueFd makeAlarm()
{
    return UniqueFd(timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC));
}

void setAlarm(int alarm, std::chrono::nanoseconds after)
{
    itimerspec when{};
    const auto seconds = std::chrono::floor<std::chrono::seconds>(after);
    when.it_value.tv_sec = static_cast<time_t>(seconds.count());
    when.it_value.tv_nsec = static_cast<long>((after - seconds).count());
    timerfd_settime(alarm, 0, &when, nullptr);
}

void takeRing(int alarm)
{
    std::uint64_t expirations = 0;
    static_cast<void>(::read(alarm, &expirations, sizeof expirations));
}

} // namespace timerclock
