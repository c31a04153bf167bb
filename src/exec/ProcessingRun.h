#pragma once

#include "ProgramEnd.h"
#include "RunStop.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class ActivityLog;
class JobLock;
class Clock;
class MemoLines;
class Prompts;
struct JobTable;
struct MainFlags;

// Starts one program and waits for it, showing stop the program while it waits, and tells end how
// it ended; StartAndWait in the program, a stand-in in some tests.
using Launcher =
    std::function<bool(const QString& ProgramName, const QString& Parameters,
                       std::uint16_t ShowWindow, std::uint32_t Wait, RunStop* stop,
                       std::optional<ProgramEnd>* end)>;

// The launcher every run of the program uses: StartAndWait itself.
[[nodiscard]] Launcher startAndWaitLauncher();

// What a run tells the window as it goes, for the status bar, the tray and notifications. Any of
// them may be left empty.
struct RunProgress {
    // Skipped: another process was running the same job file, and this run did not start.
    enum class Outcome { Completed, Stopped, Failed, Skipped };
    struct End {
        Outcome outcome = Outcome::Completed;
        QDateTime at;
        int entry = 0; // the entry that failed, counted from 1
        QString message;
        int count = 0; // the entries the run took at its start
        // The programs that ended otherwise than with exit code 0, in the order they ended.
        QList<ProgramEnd> failedPrograms;
    };
    std::function<void(int entry, int count, const QString& program)> entryStarted;
    // A program of the list ended otherwise than with exit code 0; its line is written.
    std::function<void(const ProgramEnd& end)> programFailed;
    // File > Stop Run was asked for and the program is given its grace time to end.
    std::function<void()> stopping;
    std::function<void(const End& end)> ended;
};

// One processing run, the work of File > Process: every entry of the job table in turn is
// announced in the activity memo and the log, then started and waited for with the pumping wait;
// then the completion line, the repeat timer and, in auto-run mode, the end of the program. A
// program that ends otherwise than with exit code 0 gets a line of its own right after its end,
// and the run goes on.
//
// A failing entry ends the run where it stands: a line says at which entry and why, and the run
// shows the error itself. The run-in-progress flag stays set while the message is on screen, so
// ticks meanwhile start no second run and no pile of messages, and is cleared once the message is
// closed, so that one failure (a folder not mounted yet, a full disk) does not end the schedule.
//
// File > Stop Run ends a run early: its program and what it started are asked to end, nothing
// further starts, and the run writes "Processes Stopped" where the completion line would go; the
// schedule goes on, and the window stays open even in auto-run mode. A stop ends nested runs too.
//
// A run of a job file that another process is running does not start: a line says so, and
// otherwise it ends as a run that completed, the schedule going on and auto-run mode closing.
class ProcessingRun {
public:
    static constexpr int MemoLineLimit = 15;
    static constexpr auto CompleteText = "Processes Complete";
    static constexpr auto StoppedText = "Processes Stopped";
    static constexpr auto SkippedText = "Skipped: %1 is being run by another Runlatch";

    ProcessingRun(JobTable& table, MainFlags& flags, MemoLines& memo, ActivityLog& log,
                  const Clock& clock, std::function<void()> runEnded, Prompts& prompts,
                  std::function<void()> closeMainWindow, Launcher launcher);
    ~ProcessingRun();

    void execute();
    // File > Stop Run while a run waits for its program; false when no run is under way.
    bool requestStop();
    void setProgress(RunProgress progress);
    // How long a program asked to end may take before it is made to; tests shorten it.
    void setStopGrace(std::chrono::milliseconds grace);

    // Adds a line to the memo, first dropping the oldest when the memo holds the limit or more.
    static void addMemoLine(MemoLines& memo, const QString& line);

private:
    // True when the run went through to its end, false when it was stopped.
    bool runEntries();
    void writeLine(const QString& text);
    void reportProgramEnd(ProgramEnd end);
    void writeStopLine(const QString& message) noexcept;
    void reportEnd(RunProgress::Outcome outcome, const QString& message = {});
    // False, with the line written, when another process runs the job file.
    bool takeJobLock();
    void closeInAutoRun();

    JobTable& m_table;
    MainFlags& m_flags;
    MemoLines& m_memo;
    ActivityLog& m_log;
    const Clock& m_clock;
    // Called once the flag is clear after every run, however it ended: the repeat goes on.
    std::function<void()> m_runEnded;
    Prompts& m_prompts;
    std::function<void()> m_closeMainWindow;
    Launcher m_launcher;
    RunStop m_stop;
    // Held by the outermost run while it lasts.
    std::unique_ptr<JobLock> m_jobLock;
    RunProgress m_progress;
    // Runs under way, nested ones included, and the entry the innermost is at.
    int m_depth = 0;
    int m_entry = 0;
    // The innermost run's entry count and the programs of it that failed so far.
    int m_count = 0;
    QList<ProgramEnd> m_failedPrograms;
};
