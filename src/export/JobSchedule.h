#pragma once

#include "DateTime.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

struct JobTable;

// When a job's runs fall due, in the terms another scheduler takes: the first run at a given
// time or one period after the schedule starts, and then one every period.
struct JobSchedule {
    std::int64_t periodMinutes = 0;    // 0: the job does not repeat
    std::optional<QDateTime> firstRun; // the delayed start, when it is still to come
};

// The job's schedule as of now. A delayed start that has passed counts as none, as it does when
// the window opens the job file. Raises RunlatchError when that leaves nothing to schedule.
[[nodiscard]] JobSchedule jobSchedule(const JobTable& job, TDateTime now);

// The job's name for another scheduler: the job file's name without a final ".ini", unless
// nothing would remain.
[[nodiscard]] QString jobNameOf(const QString& jobFilePath);
