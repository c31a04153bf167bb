#include "HeadlessRun.h"

#include "ActivityLog.h"
#include "Clock.h"
#include "ConsolePrompts.h"
#include "ConsoleStreams.h"
#include "ErrorGuard.h"
#include "Errors.h"
#include "JobFile.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "MemoLines.h"
#include "ProcessingRun.h"
#include "StartSwitches.h"
#include "StopSignals.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

// The memo of a run without a window is standard output: every line of the log, as it is
// written. The blank line that parts the runs in the window's memo has no place there.
class ConsoleMemo : public MemoLines {
public:
    [[nodiscard]] int count() const override { return 0; }
    void deleteFirst() override {}
    void append(const QString& line) override
    {
        if (!line.isEmpty())
            printText(stdout, line + u'\n');
    }
};

int exitStatus(const std::optional<RunProgress::End>& end, int stopSignal)
{
    if (!end)
        return HeadlessStatus::RunStopped;
    switch (end->outcome) {
    case RunProgress::Outcome::Skipped:
        return HeadlessStatus::Skipped;
    case RunProgress::Outcome::Failed:
        return HeadlessStatus::RunStopped;
    case RunProgress::Outcome::Stopped:
        return HeadlessStatus::SignalBase + stopSignal;
    case RunProgress::Outcome::Completed:
        break;
    }
    return end->failedPrograms.isEmpty() ? HeadlessStatus::AllEnded : HeadlessStatus::ProgramFailed;
}

} // namespace

int runHeadless(const QString& jobFile)
{
    ConsolePrompts prompts;
    const SystemClock clock;
    JobTable table;
    if (!jobFileExists(jobFile)) {
        ConsolePrompts::tell(QStringLiteral("%1 not found!").arg(jobFile));
        return HeadlessStatus::BadRequest;
    }
    try {
        if (readJobFile(jobFile, clock.nowDays(), table))
            prompts.information(QStringLiteral("Sorry, Runlatch is limited to 50 Processes."));
    } catch (...) {
        ConsolePrompts::tell(QStringLiteral("Cannot read the job file %1: %2")
                                 .arg(jobFile, errorText(std::current_exception())));
        return HeadlessStatus::BadRequest;
    }
    table.JobFileName = QDir::toNativeSeparators(QFileInfo(jobFile).absoluteFilePath());

    ActivityLog log;
    try {
        log.PrepareLogFile();
    } catch (...) {
        ConsolePrompts::tell(QStringLiteral("Cannot write %1: %2")
                                 .arg(QString::fromLatin1(ActivityLog::FileName),
                                      errorText(std::current_exception())));
        return HeadlessStatus::RunStopped;
    }

    MainFlags flags;
    ConsoleMemo memo;
    ProcessingRun run(
        table, flags, memo, log, clock, [] {}, prompts, [] {}, startAndWaitLauncher());
    int stopSignal = 0;
    StopSignals stopSignals([&](int signal) {
        if (stopSignal == 0)
            stopSignal = signal;
        run.requestStop();
    });
    std::optional<RunProgress::End> ended;
    RunProgress progress;
    // Quick programs give the event loop no turn: a signal that came meanwhile is looked at
    // before each entry starts.
    progress.entryStarted = [&](int, int, const QString&) {
        stopSignals.deliverPending();
    };
    progress.ended = [&](const RunProgress::End& end) {
        ended = end;
    };
    run.setProgress(std::move(progress));
    run.execute();
    return exitStatus(ended, stopSignal);
}
