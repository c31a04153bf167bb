#pragma once

#include "DateTime.h"

#include <QDateTime>

// Where "now" comes from. Everything that needs the local date and time asks a Clock, so that
// tests can set it.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual QDateTime now() const = 0;
    [[nodiscard]] TDateTime nowDays() const { return toDateTime(now()); }
};

class SystemClock final : public Clock {
public:
    [[nodiscard]] QDateTime now() const override { return QDateTime::currentDateTime(); }
};
