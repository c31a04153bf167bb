#pragma once

#include <QString>

// The exit statuses of a run without a window.
namespace HeadlessStatus {
constexpr int AllEnded = 0;      // every program started and ended with exit code 0
constexpr int ProgramFailed = 1; // the list ran to its end, and a program ended otherwise
constexpr int RunStopped = 2;    // a program could not be started or the log not be written
constexpr int BadRequest = 3;    // the job file cannot be read, or the command line is wrong
constexpr int Skipped = 4;       // another process was running the same job file
// Stopped by a signal: 128 plus its number, as shells report a program a signal ended.
constexpr int SignalBase = 128;
} // namespace HeadlessStatus

// Runs the job file's list once, without a window, for "--run" and for "/R" where no display
// can be opened: each step goes to Runlatch.log in the current folder, as the window writes it,
// and to standard output; messages go to standard error. The job file's schedule is not used.
// SIGTERM, SIGINT and SIGHUP stop the run as File > Stop Run does. A QCoreApplication must exist.
// Returns the exit status.
[[nodiscard]] int runHeadless(const QString& jobFile);
