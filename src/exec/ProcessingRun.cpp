#include "ProcessingRun.h"

#include "ActivityLog.h"
#include "Clock.h"
#include "ErrorGuard.h"
#include "JobLock.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "MemoLines.h"
#include "ScopeExit.h"
#include "StartAndWait.h"
#include "TrimmedText.h"

#include <utility>

namespace {

// What a run passes as the launcher's ShowWindow, which the launcher ignores.
constexpr std::uint16_t ShowNormally = 5;

} // namespace

Launcher startAndWaitLauncher()
{
    return [](const QString& name, const QString& param, std::uint16_t show, std::uint32_t wait,
              RunStop* stop, std::optional<ProgramEnd>* end) {
        return StartAndWait(name, param, show, wait, stop, end);
    };
}

ProcessingRun::ProcessingRun(JobTable& table, MainFlags& flags, MemoLines& memo, ActivityLog& log,
                             const Clock& clock, std::function<void()> runEnded, Prompts& prompts,
                             std::function<void()> closeMainWindow, Launcher launcher)
    : m_table(table)
    , m_flags(flags)
    , m_memo(memo)
    , m_log(log)
    , m_clock(clock)
    , m_runEnded(std::move(runEnded))
    , m_prompts(prompts)
    , m_closeMainWindow(std::move(closeMainWindow))
    , m_launcher(std::move(launcher))
{
    m_stop.setStopping([this] {
        if (m_progress.stopping)
            m_progress.stopping();
    });
}

ProcessingRun::~ProcessingRun() = default;

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

// Right after the program's end, before the next entry's line.
void ProcessingRun::reportProgramEnd(ProgramEnd end)
{
    end.entry = m_entry;
    m_failedPrograms << end;
    writeLine(end.program + u' ' + end.text);
    if (m_progress.programFailed)
        m_progress.programFailed(end);
}

// Written where it still can be, so that an unattended failure can be read afterwards; the
// message box then shows the error itself, which a failure here must not replace.
void ProcessingRun::writeStopLine(const QString& message) noexcept
{
    try {
        writeLine(
            QStringLiteral("Run stopped at entry %1 of %2: %3")
                .arg(QString::number(m_entry), QString::number(m_count), oneLineText(message)));
    } catch (...) {
        // The memo has the line unless it was the memo that failed; the error box follows.
    }
}

void ProcessingRun::setProgress(RunProgress progress)
{
    m_progress = std::move(progress);
}

void ProcessingRun::setStopGrace(std::chrono::milliseconds grace)
{
    m_stop.setGrace(grace);
}

bool ProcessingRun::requestStop()
{
    if (m_depth == 0)
        return false;
    m_stop.request();
    return true;
}

void ProcessingRun::reportEnd(RunProgress::Outcome outcome, const QString& message)
{
    if (m_progress.ended)
        m_progress.ended({outcome, m_clock.now(), m_entry, message, m_count, m_failedPrograms});
}

bool ProcessingRun::takeJobLock()
{
    if (m_table.JobFileName.isEmpty())
        return true;
    m_jobLock = std::make_unique<JobLock>(m_table.JobFileName);
    if (m_jobLock->state() != JobLock::State::Busy)
        return true;
    m_jobLock.reset();
    m_count = 0;
    m_entry = 0;
    m_failedPrograms.clear();
    guarded(m_prompts, [this] {
        writeLine(QString::fromLatin1(SkippedText).arg(m_table.JobFileName));
        addMemoLine(m_memo, QString());
        reportEnd(RunProgress::Outcome::Skipped);
    });
    m_runEnded();
    closeInAutoRun();
    return false;
}

void ProcessingRun::closeInAutoRun()
{
    if (m_flags.AutoRun) {
        // Closed once the flag is clear, as a run that ends normally leaves it.
        m_flags.RunInProgress = false;
        m_closeMainWindow();
    }
}

void ProcessingRun::execute()
{
    if (m_depth == 0) {
        m_stop.clear();
        if (!takeJobLock())
            return;
    }
    ++m_depth;
    // A run started from the menu while this one waits has entries of its own. However this run
    // ends, the count of runs under way goes down again: a count left too high would keep a
    // spent stop request alive for every later run.
    const int outerEntry = m_entry;
    const int outerCount = m_count;
    const QList<ProgramEnd> outerFailed = std::exchange(m_failedPrograms, {});
    const ScopeExit leave([this, outerEntry, outerCount, outerFailed] {
        m_flags.RunInProgress = false;
        m_entry = outerEntry;
        m_count = outerCount;
        m_failedPrograms = outerFailed;
        if (--m_depth == 0)
            m_jobLock.reset();
        m_runEnded();
    });
    m_flags.RunInProgress = true;
    bool completed = false;
    try {
        completed = runEntries();
    } catch (...) {
        // Shown while the flag is still set; the window stays open in auto-run mode, and the
        // schedule goes on once the message is closed.
        const std::exception_ptr error = std::current_exception();
        writeStopLine(errorText(error));
        showGeneralError(m_prompts, error);
        guarded(m_prompts, [&] { reportEnd(RunProgress::Outcome::Failed, errorText(error)); });
        return;
    }
    guarded(m_prompts, [&] {
        reportEnd(completed ? RunProgress::Outcome::Completed : RunProgress::Outcome::Stopped);
    });
    if (completed)
        closeInAutoRun();
}

bool ProcessingRun::runEntries()
{
    // The count is fixed now; each entry's texts are read only when it is reached, so an editor
    // used meanwhile changes entries the run has not yet started. Slots above a lowered LastProc
    // keep their strings, so the walk never reads a released entry.
    const int entryCount = m_table.LastProc + 1;
    m_count = entryCount;
    m_entry = 0;
    if (entryCount == 0)
        return true;
    for (int i = 0; i < entryCount && !m_stop.requested(); ++i) {
        const ProcRec entry = m_table.ProcList[static_cast<std::size_t>(i)];
        m_entry = i + 1;
        if (m_progress.entryStarted)
            m_progress.entryStarted(m_entry, entryCount, entry.Name);
        // Hearing of the entry may be when a stop asked for meanwhile comes through.
        if (m_stop.requested())
            break;
        writeLine(entry.Name + u' ' + entry.Param);
        std::optional<ProgramEnd> end;
        m_launcher(entry.Name, entry.Param, ShowNormally, WaitMode::Pumping, &m_stop, &end);
        if (end && (end->kind != ProgramEnd::Kind::ExitCode || end->value != 0))
            reportProgramEnd(*std::move(end));
    }
    const bool stopped = m_stop.requested();
    writeLine(QString::fromLatin1(stopped ? StoppedText : CompleteText));
    addMemoLine(m_memo, QString());
    return !stopped;
}
