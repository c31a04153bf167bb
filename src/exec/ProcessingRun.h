#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class ActivityLog;
class Clock;
class MemoLines;
class Prompts;
class Scheduler;
struct JobTable;
struct MainFlags;

// Starts one program and waits for it; StartAndWait in the program, a stand-in in some tests.
using Launcher = std::function<bool(const QString& ProgramName, const QString& Parameters,
                                    std::uint16_t ShowWindow, std::uint32_t Wait)>;

// One processing run, the work of File > Process: every entry of the job table in turn is
// announced in the activity memo and the log, then started and waited for with the pumping wait;
// then the completion line, the repeat timer and, in auto-run mode, the end of the program.
//
// A failing entry ends the run where it stands, and the run shows the error itself: the
// run-in-progress flag stays set while the message is on screen, so ticks meanwhile start no
// second run and no pile of messages, and is cleared once the message is closed, so that one
// failure (a folder not mounted yet, a full disk) does not end the schedule.
class ProcessingRun {
public:
    static constexpr int MemoLineLimit = 15;

    ProcessingRun(JobTable& table, MainFlags& flags, MemoLines& memo, ActivityLog& log,
                  const Clock& clock, Scheduler& scheduler, Prompts& prompts,
                  std::function<void()> closeMainWindow, Launcher launcher);

    void execute();

    // Adds a line to the memo, first dropping the oldest when the memo holds the limit or more.
    static void addMemoLine(MemoLines& memo, const QString& line);

private:
    void runEntries();
    void writeLine(const QString& text);

    JobTable& m_table;
    MainFlags& m_flags;
    MemoLines& m_memo;
    ActivityLog& m_log;
    const Clock& m_clock;
    Scheduler& m_scheduler;
    Prompts& m_prompts;
    std::function<void()> m_closeMainWindow;
    Launcher m_launcher;
};
