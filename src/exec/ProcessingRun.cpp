#include "ProcessingRun.h"

#include "ActivityLog.h"
#include "Clock.h"
#include "ErrorGuard.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "MemoLines.h"
#include "Scheduler.h"
#include "StartAndWait.h"

namespace {
// What a run passes as the launcher's ShowWindow, which the launcher ignores.
constexpr std::uint16_t ShowNormally = 5;
} // namespace

ProcessingRun::ProcessingRun(JobTable& table, MainFlags& flags, MemoLines& memo, ActivityLog& log,
                             const Clock& clock, Scheduler& scheduler, Prompts& prompts,
                             std::function<void()> closeMainWindow, Launcher launcher)
    : m_table(table)
    , m_flags(flags)
    , m_memo(memo)
    , m_log(log)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_prompts(prompts)
    , m_closeMainWindow(std::move(closeMainWindow))
    , m_launcher(std::move(launcher))
{}

void ProcessingRun::addMemoLine(MemoLines& memo, const QString& line)
{
    if (memo.count() >= MemoLineLimit)
        memo.deleteFirst();
    memo.append(line);
}

void ProcessingRun::writeLine(const QString& text)
{
    const QString line = runTimestamp(m_clock.now()) + QStringLiteral(":  ") + text;
    addMemoLine(m_memo, line);
    m_log.AppendLogLine(line);
}

void ProcessingRun::execute()
{
    m_flags.RunInProgress = true;
    try {
        runEntries();
    } catch (...) {
        // Shown while the flag is still set; the window stays open in auto-run mode, and the
        // schedule goes on once the message is closed.
        showGeneralError(m_prompts, std::current_exception());
        m_flags.RunInProgress = false;
        m_scheduler.runEnded();
        return;
    }
    m_flags.RunInProgress = false;
    m_scheduler.runEnded();
    if (m_flags.AutoRun)
        m_closeMainWindow();
}

void ProcessingRun::runEntries()
{
    // The count is fixed now; each entry's texts are read only when it is reached, so an editor
    // used meanwhile changes entries the run has not yet started. Slots above a lowered LastProc
    // keep their strings, so the walk never reads a released entry.
    const int entryCount = m_table.LastProc + 1;
    if (entryCount == 0)
        return;
    for (int i = 0; i < entryCount; ++i) {
        const ProcRec entry = m_table.ProcList[static_cast<std::size_t>(i)];
        writeLine(entry.Name + u' ' + entry.Param);
        m_launcher(entry.Name, entry.Param, ShowNormally, WaitMode::Pumping);
    }
    writeLine(QStringLiteral("Processes Complete"));
    addMemoLine(m_memo, QString());
}
