#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// A date-time as the job file stores it: local time as a double whose whole part counts days
// since 30 December 1899 and whose fraction is the time of day. Before the origin the whole part
// is negative while the fraction still counts forward from midnight: -1.25 is 29 December 1899,
// 06:00.
using TDateTime = double;

[[nodiscard]] TDateTime toDateTime(const QDateTime& dateTime);
[[nodiscard]] QDateTime fromDateTime(TDateTime value);

// Joins the day of one value with the time of day of another, keeping the day-count rule for
// days before the origin.
[[nodiscard]] TDateTime combineDateAndTime(TDateTime datePart, TDateTime timePart);

// The run timestamp "hh:nn:ss mmm dd, yyyy": 24-hour time with the locale's time separator and
// the locale's abbreviated month name.
[[nodiscard]] QString runTimestamp(const QDateTime& dateTime, const QLocale& locale = QLocale());
