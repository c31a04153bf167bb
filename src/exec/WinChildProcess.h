#pragma once

#include "ChildProcess.h"

#include <QString>

#include <chrono>
#include <cstdint>

// A child process on Windows: started with CreateProcessW in a job object of its own, watched
// through its process handle, which is signalled once the process has ended and which the object
// holds until it is destroyed. Nothing needs reaping: closing the handles is all the release
// there is.
class WinChildProcess final : public ChildProcess {
public:
    // The longest command line CreateProcessW takes, without its terminating zero.
    static constexpr qsizetype MaxCommandLine = 32766;

    // The program path in double quotes, one blank, and the parameters as written: the quotes
    // keep a path with blanks from being read as a shorter program name with parameters, and
    // the blank is there even when there are no parameters.
    [[nodiscard]] static QString commandLine(const QString& program, const QString& parameters);

    // Starts program (the application name, so that no other file can be taken for it) with
    // commandLine(program, parameters). Raises RunlatchError when the command line is too long
    // and PlatformError when the process cannot be created.
    [[nodiscard]] static std::unique_ptr<WinChildProcess>
    start(const QString& program, const QString& parameters, std::uint16_t showWindow);

    WinChildProcess(void* process, unsigned long processId, void* job);
    ~WinChildProcess() override;

    [[nodiscard]] bool waitForEnd(std::chrono::milliseconds limit) override;
    void waitForEnd() override;
    [[nodiscard]] std::unique_ptr<QObject> watchEnd(std::function<void()> ended) override;
    // Sleeps in one wait on the process handle and on this thread's message queue, through which
    // every event of the event loop arrives (timers, input, work posted from other threads), and
    // dispatches what arrived before it waits again.
    void dispatchEventsUntilEnd() override;
    // The exit code as GetExitCodeProcess gives it, once the handle is signalled.
    [[nodiscard]] std::optional<ProgramEnd> end() const override;
    // Posts WM_CLOSE to the top-level windows of the job's processes, as the desktop does when
    // the user closes them. A console program is not asked: the console's control events reach
    // every process sharing the console, this one included, so there is no way to ask just the
    // one program. RunStop makes it end after its grace time.
    void askToEnd() override;
    // Ends the job: the process and everything it started.
    void makeEnd() override;

private:
    [[nodiscard]] bool hasEnded() const;

    void* m_process; // a HANDLE; while it is open, the process id names no other process
    unsigned long m_processId;
    void* m_job; // a HANDLE; null when the system gave the process no job
};
