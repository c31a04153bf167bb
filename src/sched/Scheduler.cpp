#include "Scheduler.h"

#include "Clock.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "Prompts.h"
#include "Timer.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace {

constexpr std::int64_t MsPerHour = 3600000;
constexpr std::int64_t MsPerMinute = 60000;

// StartTimer looks at DelayedStartTime once a minute while waiting; in auto-run mode it fires
// as soon as the event loop runs.
constexpr std::uint32_t DelayedStartCheckMs = 60000;
constexpr std::uint32_t AutoRunCheckMs = 250;

void arm(Timer& timer, std::uint32_t interval)
{
    timer.setInterval(interval);
    timer.setEnabled(true);
}

} // namespace

std::int64_t repeatPeriodMs(std::int32_t everyHours, std::int32_t everyMins)
{
    if (everyHours <= 0 && everyMins <= 0)
        return 0;
    // Only a hand-edited job file mixes signs; a total that does not reach into the future
    // (1 hour and -90 minutes) means no repetition rather than a huge unsigned interval.
    const std::int64_t total = everyHours * MsPerHour + everyMins * MsPerMinute;
    return std::max<std::int64_t>(total, 0);
}

Scheduler::Scheduler(JobTable& table, MainFlags& flags, const Clock& clock, Timer& startTimer,
                     Timer& elapsedTimer, std::function<void()> process1Click)
    : m_table(table)
    , m_flags(flags)
    , m_clock(clock)
    , m_startTimer(startTimer)
    , m_elapsedTimer(elapsedTimer)
    , m_process1Click(std::move(process1Click))
{}

void Scheduler::SetIntervalFromSchedule()
{
    const std::int64_t period =
        std::min(repeatPeriodMs(m_table.EveryHours, m_table.EveryMins), MaxTimerInterval);
    m_elapsedTimer.setInterval(static_cast<std::uint32_t>(period));
}

void Scheduler::StartTimerTimer()
{
    if (m_clock.nowDays() < m_table.DelayedStartTime)
        return;
    m_table.DelayedStart = false;
    m_startTimer.setEnabled(false);
    // A run already under way enables the repeat timer itself when it ends.
    if (m_flags.RunInProgress)
        return;
    // Enabled before the run so that the repeat period counts from the start of this run.
    m_elapsedTimer.setEnabled(true);
    startRun(m_startTimer);
}

void Scheduler::ElapsedTimerTimer()
{
    // A tick that falls inside a run is spent, not kept for later.
    if (!m_flags.RunInProgress)
        startRun(m_elapsedTimer);
}

void Scheduler::startRun(const Timer& dueTimer)
{
    m_lastRunCaughtUp = dueTimer.lastTickCaughtUp();
    m_process1Click();
    m_lastRunCaughtUp = false;
}

bool Scheduler::lastRunCaughtUp() const
{
    return m_lastRunCaughtUp;
}

void Scheduler::runEnded()
{
    // Enabling an enabled timer keeps its period running, so the grid of ticks stays.
    if (m_elapsedTimer.interval() != 0)
        m_elapsedTimer.setEnabled(true);
}

void Scheduler::armAtStartup()
{
    const TDateTime now = m_clock.nowDays();
    if (m_table.DelayedStart && now <= m_table.DelayedStartTime) {
        armDelayedStart();
        return;
    }
    if (m_flags.AutoRun) {
        m_table.DelayedStartTime = now;
        arm(m_startTimer, AutoRunCheckMs);
    }
}

void Scheduler::armAfterOpen(Prompts& prompts)
{
    if (!m_table.DelayedStart)
        return;
    if (m_clock.nowDays() > m_table.DelayedStartTime) {
        prompts.information(
            QCoreApplication::translate("Scheduler", "Delayed Start Time has already passed"));
        // Read again: the box may have stayed open for a while.
        m_table.DelayedStartTime = m_clock.nowDays();
        return;
    }
    offerDelayedStart(prompts);
}

void Scheduler::armAfterScheduleSave(Prompts& prompts)
{
    // Armed even when DelayedStartTime has passed: the first check then starts the run.
    if (m_table.DelayedStart)
        offerDelayedStart(prompts);
}

void Scheduler::armDelayedStart()
{
    arm(m_startTimer, DelayedStartCheckMs);
}

void Scheduler::offerDelayedStart(Prompts& prompts)
{
    if (prompts.confirm(QCoreApplication::translate(
            "Scheduler", "Do you want to start the clock for delayed processing?")))
        armDelayedStart();
}
