#include "StartAndWait.h"

#include "ChildProcess.h"
#include "Errors.h"
#include "RunStop.h"

#include <QCoreApplication>

namespace {

// The pumping wait first waits this long for the process alone, so that a program that ends at
// once is waited for without a single event being dispatched.
constexpr std::chrono::milliseconds firstSlice{50};

// The program must be an entry at exactly that path that is not a directory: no search path, no
// default extension, relative names against the current directory. The message names only the
// last path component.
void requireProgramFile(const QString& programName)
{
    if (ChildProcess::isProgramFile(programName))
        return;
    throw RunlatchError(QCoreApplication::translate("StartAndWait", "Unable to find application %1")
                            .arg(programName.sliced(ChildProcess::fileNameStart(programName))));
}

// After the first slice the event loop runs, and sleeps until an event comes: the end of the
// process is one, so nothing polls on a clock. Only that end ends the wait, not a request to
// quit; events dispatched here may start further nested launches, which is why all state lives
// in the call.
void pumpUntilEnd(ChildProcess& child, RunStop* stop)
{
    if (child.waitForEnd(firstSlice))
        return;
    {
        // Let go before the wait below reaps the program: a stop ends what is left of its group
        // then, while the group can still be told apart.
        const RunStop::Watch stoppable(stop, child);
        child.dispatchEventsUntilEnd();
    }
    child.waitForEnd();
}

} // namespace

void ChildProcess::dispatchEventsUntilEnd()
{
    bool ended = false;
    const std::unique_ptr<QObject> watch = watchEnd([&ended] { ended = true; });
    while (!ended)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

namespace {

// True when the wait saw the end of the process: only the waits without a limit do.
bool waitAsAsked(ChildProcess& child, std::uint32_t wait, RunStop* stop)
{
    switch (wait) {
    case WaitMode::NoWait:
        return false;
    case WaitMode::Blocking:
        child.waitForEnd();
        return true;
    case WaitMode::Pumping:
        pumpUntilEnd(child, stop);
        return true;
    default:
        (void)child.waitForEnd(std::chrono::milliseconds(wait));
        return false;
    }
}

} // namespace

bool StartAndWait(const QString& ProgramName, const QString& Parameters, std::uint16_t ShowWindow,
                  std::uint32_t Wait)
{
    return StartAndWait(ProgramName, Parameters, ShowWindow, Wait, nullptr, nullptr);
}

bool StartAndWait(const QString& ProgramName, const QString& Parameters, std::uint16_t ShowWindow,
                  std::uint32_t Wait, RunStop* stop, std::optional<ProgramEnd>* end)
{
    if (end != nullptr)
        end->reset();
    requireProgramFile(ProgramName);
    // Releasing the child when the call returns never ends it (see ChildProcess).
    const std::unique_ptr<ChildProcess> child =
        ChildProcess::launch(ProgramName, Parameters, ShowWindow);
    if (waitAsAsked(*child, Wait, stop) && end != nullptr) {
        *end = child->end();
        if (*end)
            (*end)->program = ProgramName;
    }
    return true;
}
