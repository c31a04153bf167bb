#include "Timer.h"

#include "TimerClockPlatform.h"

#include <QSocketNotifier>
#include <QTimerEvent>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

using SteadyClock = std::chrono::steady_clock;

// A tick this late, with a sleep since the wake-up was set, is one the sleep held back.
constexpr auto CaughtUpLateness = 1s;

class SystemTimerClock final : public TimerClock {
public:
    SystemTimerClock()
        : m_base(timerclock::rawAsleep())
    {}

    [[nodiscard]] TimePoint now() const override { return SteadyClock::now() + asleep(); }

    [[nodiscard]] std::chrono::nanoseconds asleep() const override
    {
        // The two clocks are read one after the other, so their difference wavers a little
        // from reading to reading; only a real sleep counts.
        const auto slept = timerclock::rawAsleep() - m_base;
        return slept >= 1s ? slept : 0ns;
    }

private:
    std::chrono::nanoseconds m_base;
};

// QBasicTimer counts in int milliseconds, less than the longest interval (about 49.7 days). One
// wake-up an hour costs nothing.
constexpr std::chrono::milliseconds DefaultLongestWakeUp = std::chrono::hours(1);

} // namespace

const TimerClock& systemTimerClock()
{
    static const SystemTimerClock clock;
    return clock;
}

Timer::Timer(QObject* parent)
    : Timer(DefaultLongestWakeUp, parent)
{}

Timer::Timer(std::chrono::milliseconds longestWakeUp, QObject* parent)
    : QObject(parent)
    , m_clock(systemTimerClock())
    , m_longestWakeUp(std::clamp(longestWakeUp, std::chrono::milliseconds(1), DefaultLongestWakeUp))
    , m_alarm(timerclock::makeAlarm())
{
    if (m_alarm.isValid()) {
        m_alarmNotifier = std::make_unique<QSocketNotifier>(m_alarm.get(), QSocketNotifier::Read);
        connect(m_alarmNotifier.get(), &QSocketNotifier::activated, this, &Timer::alarmRang);
    }
}

// The test's clock cannot move the system's alarm, so such a timer wakes on the event loop's
// timer and on checkDeadline().
Timer::Timer(const TimerClock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_longestWakeUp(DefaultLongestWakeUp)
{}

Timer::~Timer() = default;

bool Timer::enabled() const
{
    return m_enabled;
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

std::uint32_t Timer::interval() const
{
    return m_interval;
}

void Timer::setInterval(std::uint32_t interval)
{
    if (interval == m_interval)
        return;
    m_interval = interval;
    restart();
}

std::optional<Timer::TimePoint> Timer::nextTick() const
{
    if (!ticking())
        return std::nullopt;
    return m_nextTick;
}

bool Timer::ticking() const
{
    return m_enabled && m_interval != 0;
}

Timer::TimePoint::duration Timer::period() const
{
    return std::chrono::milliseconds(m_interval);
}

bool Timer::lastTickCaughtUp() const
{
    return m_caughtUp;
}

void Timer::restart()
{
    m_wakeUp.stop();
    if (m_alarm.isValid())
        timerclock::setAlarm(m_alarm.get(), 0ns);
    if (!ticking())
        return;
    const auto now = m_clock.now();
    m_nextTick = now + period();
    wakeUpFor(now);
}

void Timer::wakeUpFor(TimePoint now)
{
    m_asleepWhenArmed = m_clock.asleep();
    if (m_alarm.isValid()) {
        // Never zero: that would disarm it.
        timerclock::setAlarm(m_alarm.get(),
                             std::max<std::chrono::nanoseconds>(m_nextTick - now, 1ns));
        return;
    }
    // Rounded up: a wake-up before the deadline only costs another wait, a tick before it would
    // break the period.
    const auto wait =
        std::min(std::chrono::ceil<std::chrono::milliseconds>(m_nextTick - now), m_longestWakeUp);
    m_wakeUp.start(static_cast<int>(wait.count()), Qt::PreciseTimer, this);
}

void Timer::alarmRang()
{
    timerclock::takeRing(m_alarm.get());
    checkDeadline();
}

void Timer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_wakeUp.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    checkDeadline();
}

void Timer::checkDeadline()
{
    if (!ticking())
        return;
    const auto now = m_clock.now();
    if (now < m_nextTick) {
        // One leg of a long wait is over.
        wakeUpFor(now);
        return;
    }
    const auto late = now - m_nextTick;
    m_caughtUp = late >= CaughtUpLateness && m_clock.asleep() > m_asleepWhenArmed;
    // Every deadline that passed while the event loop was busy, or the computer asleep, comes
    // out as this one tick; the next one stays on the grid instead of counting from now, so
    // handler time never drifts it.
    m_nextTick += period() * (late / period() + 1);
    // Armed before the handlers run: a handler may spin a nested event loop that has to see the
    // next tick, and a handler that changes the properties must have the last word.
    wakeUpFor(now);
    emit timeout();
}
