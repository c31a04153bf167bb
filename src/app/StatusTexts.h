#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The texts of the main window's status bar, made from plain values so that each can be checked
// without a window: which job file is loaded, what the schedule will do next or which program a
// run is at, and how the last run ended.
namespace StatusTexts {

// The job file's name without its folder, or "No job file"; a trailing " *" while the list has
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
// "Delayed start at 14:30 Dec 09", "Next run at 15:00 (every 1 h 0 min)" or "Idle". The next
// run names its day when that is not today.
[[nodiscard]] QString schedule(const Schedule& schedule, const QDateTime& now,
                               const QLocale& locale = QLocale());

// "Running 3 of 12: /usr/bin/rsync".
[[nodiscard]] QString running(int entry, int count, const QString& program);

// "Last run completed 14:02", "Last run stopped 14:05" and "Last run failed at entry 4: <why>".
[[nodiscard]] QString completed(const QDateTime& at);
[[nodiscard]] QString stopped(const QDateTime& at);
[[nodiscard]] QString failed(int entry, const QString& message);

} // namespace StatusTexts
