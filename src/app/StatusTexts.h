#pragma once

#include "ProcessingRun.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The texts of the main window's status bar, made from plain values so that each can be checked
// without a window: which job file is loaded, what the schedule will do next or which program a
// run is at, and how the last run ended.
namespace StatusTexts {

// The job file's name without its folder, or "Untitled"; a trailing " *" while the list has
// edits not saved.
[[nodiscard]] QString jobFile(const QString& path, bool changed);

// What the schedule does next, when no run is under way.
struct Schedule {
    // The delayed-start timer is armed for this moment.
    std::optional<QDateTime> delayedStart;
    // The repeat timer is armed and will next start a run at this moment.
    std::optional<QDateTime> nextRun;
    int everyHours = 0;
    int everyMins = 0;
};
// "Delayed start at 14:30 Dec 09", "Next run at 15:00 (every 1 h 0 min)", both, the sooner
// first, when both are armed; "Repeats every 0 h 1 min after the first run" when the schedule
// repeats but no run has started the repeat yet; otherwise "Idle". A moment names its day when
// that is not today.
[[nodiscard]] QString schedule(const Schedule& schedule, const QDateTime& now,
                               const QLocale& locale = QLocale());

// "Running 3 of 12: /usr/bin/rsync".
[[nodiscard]] QString running(int entry, int count, const QString& program);

// "Last run completed 14:02", "Last run stopped 14:05" and "Last run failed at entry 4: <why>";
// a run in which programs ended otherwise than with 0 adds ", 2 of 12 programs failed".
[[nodiscard]] QString completed(const QDateTime& at, int failedCount = 0, int count = 0);
[[nodiscard]] QString stopped(const QDateTime& at, int failedCount = 0, int count = 0);
[[nodiscard]] QString failed(int entry, const QString& message);

// How a run ended, as the status bar's last-run part says it.
[[nodiscard]] QString lastRun(const RunProgress::End& end);
// Each failed program and its end, a line each: "/usr/bin/backup ended with exit code 3".
[[nodiscard]] QString programEnds(const QList<ProgramEnd>& ends);
// The summary of a notification about a run that went wrong: "Run failed" for a run that
// stopped at a program it could not start, "2 of 12 programs failed" otherwise; empty for a run
// that went well or was stopped by hand.
[[nodiscard]] QString failureSummary(const RunProgress::End& end);
// Its body: the program that could not be started and why, or the failed programs' ends.
[[nodiscard]] QString failureBody(const RunProgress::End& end, const QString& failedProgram);

} // namespace StatusTexts
