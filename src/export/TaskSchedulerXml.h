#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

struct JobSchedule;

// A job's schedule as a Task Scheduler task that "schtasks /Create /XML" imports: a time trigger
// at the delayed start, or now, repeating every period; the action runs the job file once without
// a window, in the job file's folder.

// A period of whole minutes as the task's repetition interval: "PT2H30M", "P1DT6H". Raises
// RunlatchError beyond the 31 days the Task Scheduler repeats at most.
[[nodiscard]] QString taskInterval(std::int64_t minutes);

// The task's name: "Runlatch" and the job file's name without a final ".ini".
[[nodiscard]] QString taskName(const QString& jobFilePath);

// The task as the file to import, in UTF-16 with a byte order mark, as schtasks reads it. Raises
// RunlatchError for a path that holds a double quote, which no Windows path can.
[[nodiscard]] QByteArray taskSchedulerXml(const QString& jobFilePath, const QString& programPath,
                                          const JobSchedule& schedule, const QDateTime& now);
