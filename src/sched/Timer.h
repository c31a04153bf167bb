#pragma once

#include <QBasicTimer>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <optional>

// A periodic timer on the event loop with the two properties enabled and interval (unsigned
// 32-bit milliseconds; 0 never ticks). Setting a property to the value it already has does
// nothing; a different value stops the timer and, when it is then enabled with a non-zero
// interval, starts a fresh period at that moment. Ticks keep their phase from period to period;
// ticks that fall due while the event loop is busy merge into one. A tick handler may change the
// properties, and may spin a nested event loop that goes on receiving this timer's ticks.
class Timer : public QObject {
    Q_OBJECT

public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit Timer(QObject* parent = nullptr);
    // A wait longer than longestWakeUp (kept between 1 ms and the default of one hour) is made of
    // several wake-ups of the event loop; tests shorten it to see a long wait through.
    explicit Timer(std::chrono::milliseconds longestWakeUp, QObject* parent = nullptr);
    ~Timer() override;

    [[nodiscard]] bool enabled() const;
    void setEnabled(bool enabled);
    [[nodiscard]] std::uint32_t interval() const;
    void setInterval(std::uint32_t interval);

    // When the next tick falls due on the steady clock; nullopt while the timer cannot tick
    // (disabled, or interval 0).
    [[nodiscard]] std::optional<TimePoint> nextTick() const;

signals:
    void timeout();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    [[nodiscard]] bool ticking() const;
    [[nodiscard]] TimePoint::duration period() const;
    void restart();
    void wakeUpFor(TimePoint now);

    std::chrono::milliseconds m_longestWakeUp;
    bool m_enabled = false;
    std::uint32_t m_interval = 0;
    // Deadlines lie on the grid periodStart + k * interval; only the next one is kept.
    TimePoint m_nextTick;
    // The event loop's wake-up call towards m_nextTick; stops when the Timer is destroyed.
    QBasicTimer m_wakeUp;
};
