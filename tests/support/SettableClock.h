#pragma once

#include "Clock.h"

// A clock that shows whatever time the test set.
class SettableClock final : public Clock {
public:
    explicit SettableClock(QDateTime start = QDateTime(QDate(2026, 12, 24), QTime(6, 30)))
        : m_now(std::move(start))
    {}
    [[nodiscard]] QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
};
