#pragma once

#include <QtGlobal>

#include <cstdint>
#include <functional>

class Clock;
class Prompts;
class Timer;
struct JobTable;
struct MainFlags;

// The repeat period of EveryHours hours plus EveryMins minutes in milliseconds, computed without
// overflow; 0 (no repetition) when both are 0 or less, and also when a negative part brings the
// total to 0 or below (1 hour and -90 minutes, possible only from a hand-edited job file).
[[nodiscard]] std::int64_t repeatPeriodMs(std::int32_t everyHours, std::int32_t everyMins);

// The longest interval a Timer can hold.
constexpr std::int64_t MaxTimerInterval = 4294967295LL;

// The rules that start runs without the user: the delayed-start timer StartTimer, the repeat
// timer ElapsedTimer, and the arming steps that start-up, File > Open Ini and the schedule dialog
// apply. A timed run is started by process1Click, the same action as File > Process.
class Scheduler {
public:
    // What the window tells the user when a run starts for a time the computer slept through.
    static constexpr auto CaughtUpText =
        QT_TRANSLATE_NOOP("Scheduler", "Caught up a run missed during sleep");

    Scheduler(JobTable& table, MainFlags& flags, const Clock& clock, Timer& startTimer,
              Timer& elapsedTimer, std::function<void()> process1Click);

    // ElapsedTimer's interval from the schedule; a period beyond the timer's range is clamped
    // to MaxTimerInterval instead of wrapping around.
    void SetIntervalFromSchedule();
    void StartTimerTimer();
    void ElapsedTimerTimer();

    // A run has ended, normally or by an error that has been shown: the repeat timer goes on
    // (or starts) when the schedule repeats.
    void runEnded();

    // Start-up, right after the job file named on the command line was loaded.
    void armAtStartup();
    // File > Open Ini, right after the file was loaded.
    void armAfterOpen(Prompts& prompts);
    // The schedule dialog closed with Save, after SetIntervalFromSchedule.
    void armAfterScheduleSave(Prompts& prompts);
    // StartTimer checks once a minute from now on.
    void armDelayedStart();

    // While a run that a timer started is under way: it was due while the computer slept. One
    // run makes up for all the ticks the sleep held back.
    [[nodiscard]] bool lastRunCaughtUp() const;

private:
    // The confirmation box; Yes arms StartTimer for the delayed start.
    void offerDelayedStart(Prompts& prompts);
    void startRun(const Timer& dueTimer);

    JobTable& m_table;
    MainFlags& m_flags;
    const Clock& m_clock;
    Timer& m_startTimer;
    Timer& m_elapsedTimer;
    std::function<void()> m_process1Click;
    bool m_lastRunCaughtUp = false;
};
