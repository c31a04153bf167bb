#pragma once

#include <QObject>

#include <cstdint>

// A periodic timer on the event loop with the two properties enabled and interval (unsigned
// 32-bit milliseconds; 0 never ticks). Setting a property to the value it already has does
// nothing; a different value stops the timer and, when it is then enabled with a non-zero
// interval, starts a fresh period at that moment. Ticks keep their phase from period to period;
// ticks that fall due while the event loop is busy merge into one.
class Timer : public QObject {
    Q_OBJECT

public:
    explicit Timer(QObject* parent = nullptr);
    ~Timer() override;

    [[nodiscard]] bool enabled() const;
    void setEnabled(bool enabled);
    [[nodiscard]] std::uint32_t interval() const;
    void setInterval(std::uint32_t interval);

signals:
    void timeout();
};
