#pragma once

#include "UniqueFd.h"

#include <QBasicTimer>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

class QSocketNotifier;

// The clock a Timer keeps its deadlines on. Unlike the steady clock it goes on while the
// computer sleeps, so a deadline that passed during a suspend is due the moment the computer
// wakes, not a whole sleep later.
class TimerClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~TimerClock() = default;
    [[nodiscard]] virtual TimePoint now() const = 0;
    // How much of now() was spent asleep since the program started; grows only across a suspend.
    [[nodiscard]] virtual std::chrono::nanoseconds asleep() const = 0;
};

// The system's: the steady clock plus the time asleep since start-up.
[[nodiscard]] const TimerClock& systemTimerClock();

// A periodic timer on the event loop with the two properties enabled and interval (unsigned
// 32-bit milliseconds; 0 never ticks). Setting a property to the value it already has does
// nothing; a different value stops the timer and, when it is then enabled with a non-zero
// interval, starts a fresh period at that moment. Ticks keep their phase from period to period;
// ticks that fall due while the event loop is busy, or while the computer sleeps, merge into one,
// and a tick missed during a sleep comes at once on waking. A tick handler may change the
// properties, and may spin a nested event loop that goes on receiving this timer's ticks.
class Timer : public QObject {
    Q_OBJECT

public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit Timer(QObject* parent = nullptr);
    // A wait longer than longestWakeUp (kept between 1 ms and the default of one hour) is made of
    // several wake-ups of the event loop; tests shorten it to see a long wait through.
    explicit Timer(std::chrono::milliseconds longestWakeUp, QObject* parent = nullptr);
    // A timer on another clock: tests move it to play a sleep through.
    explicit Timer(const TimerClock& clock, QObject* parent = nullptr);
    ~Timer() override;

    [[nodiscard]] bool enabled() const;
    void setEnabled(bool enabled);
    [[nodiscard]] std::uint32_t interval() const;
    void setInterval(std::uint32_t interval);

    // When the next tick falls due on the steady clock; nullopt while the timer cannot tick
    // (disabled, or interval 0).
    [[nodiscard]] std::optional<TimePoint> nextTick() const;

    // The last tick came for a deadline that passed while the computer slept.
    [[nodiscard]] bool lastTickCaughtUp() const;

    // Ticks now if the deadline has come. The wake-up calls it; so does a test that moved the
    // clock.
    void checkDeadline();

signals:
    void timeout();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    [[nodiscard]] bool ticking() const;
    [[nodiscard]] TimePoint::duration period() const;
    void restart();
    void wakeUpFor(TimePoint now);
    void alarmRang();

    const TimerClock& m_clock;
    std::chrono::milliseconds m_longestWakeUp;
    bool m_enabled = false;
    std::uint32_t m_interval = 0;
    // Deadlines lie on the grid periodStart + k * interval; only the next one is kept.
    TimePoint m_nextTick;
    bool m_caughtUp = false;
    std::chrono::nanoseconds m_asleepWhenArmed{0};
    // The wake-up call towards m_nextTick: an alarm of the system that counts sleep too, where
    // there is one, else the event loop's own timer. Both stop when the Timer is destroyed.
    UniqueFd m_alarm;
    std::unique_ptr<QSocketNotifier> m_alarmNotifier;
    QBasicTimer m_wakeUp;
};
