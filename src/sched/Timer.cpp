#include "Timer.h"

#include <QTimerEvent>

#include <algorithm>

namespace {

using SteadyClock = std::chrono::steady_clock;

// QBasicTimer counts in int milliseconds, less than the longest interval (about 49.7 days). One
// wake-up an hour costs nothing.
constexpr std::chrono::milliseconds DefaultLongestWakeUp = std::chrono::hours(1);

} // namespace

Timer::Timer(QObject* parent)
    : Timer(DefaultLongestWakeUp, parent)
{}

Timer::Timer(std::chrono::milliseconds longestWakeUp, QObject* parent)
    : QObject(parent)
    , m_longestWakeUp(std::clamp(longestWakeUp, std::chrono::milliseconds(1), DefaultLongestWakeUp))
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

void Timer::restart()
{
    m_wakeUp.stop();
    if (!ticking())
        return;
    const auto now = SteadyClock::now();
    m_nextTick = now + period();
    wakeUpFor(now);
}

void Timer::wakeUpFor(TimePoint now)
{
    // Rounded up: a wake-up before the deadline only costs another wait, a tick before it would
    // break the period.
    const auto wait =
        std::min(std::chrono::ceil<std::chrono::milliseconds>(m_nextTick - now), m_longestWakeUp);
    m_wakeUp.start(static_cast<int>(wait.count()), Qt::PreciseTimer, this);
}

void Timer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_wakeUp.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    const auto now = SteadyClock::now();
    if (now < m_nextTick) {
        // One leg of a long wait is over.
        wakeUpFor(now);
        return;
    }
    // Every deadline that passed while the event loop was busy comes out as this one tick; the
    // next one stays on the grid instead of counting from now, so handler time never drifts it.
    m_nextTick += period() * ((now - m_nextTick) / period() + 1);
    // Armed before the handlers run: a handler may spin a nested event loop that has to see the
    // next tick, and a handler that changes the properties must have the last word.
    wakeUpFor(now);
    emit timeout();
}
