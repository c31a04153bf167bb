#pragma once

#include "ProgramEnd.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// A program that the launcher started, as the operating system hands it over. Each platform
// brings its own implementation and its own launch(); the launcher sees only this interface.
// Destroying the object releases the process without ending it: the program runs on, and the
// platform makes sure nothing of it stays behind once it ends. The program starts as the head of
// a group of its own (a process group, a job), which everything it starts joins, so that a stop
// reaches all of it.
class ChildProcess {
public:
    // Starts the program at exactly the path program (no search path, no default extension;
    // relative to the current directory) with the parameter string as the user wrote it. On
    // POSIX systems the string is split into arguments (splitParameters) after the program path
    // as the name the program gets for itself; on Windows it follows the quoted program path on
    // the command line unchanged, and the program parses it itself. showWindow is the show state
    // of the program's first window where the platform has one. The child inherits the
    // environment and the current directory, reads its standard input from the null device, and
    // gets none of the launcher's descriptors or handles besides standard output and error.
    // Raises RunlatchError for parameters that cannot be passed, and PlatformError with the
    // system's error code when the process cannot be created or its program not executed.
    [[nodiscard]] static std::unique_ptr<ChildProcess>
    launch(const QString& program, const QString& parameters, std::uint16_t showWindow);

    // An entry at exactly that path that is not a folder, named as launch() takes it.
    [[nodiscard]] static bool isProgramFile(const QString& program);
    // Where the last component of a program path begins, by the platform's separators.
    [[nodiscard]] static qsizetype fileNameStart(const QString& program);

    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    virtual ~ChildProcess() = default;

    // Waits until the process has ended or limit has run out; true when it has ended.
    [[nodiscard]] virtual bool waitForEnd(std::chrono::milliseconds limit) = 0;
    // Waits without limit until the process has ended.
    virtual void waitForEnd() = 0;
    // Calls ended from the event loop once the process has ended, at most once, for as long as
    // the returned object lives: the event loop can sleep until then instead of polling.
    [[nodiscard]] virtual std::unique_ptr<QObject> watchEnd(std::function<void()> ended) = 0;
    // Runs the event loop until the process has ended, sleeping while there is neither an event
    // nor the end: events dispatched here may start further nested launches. By default the
    // loop sleeps until an event comes and the end is one (watchEnd).
    virtual void dispatchEventsUntilEnd();

    // How the process ended, once a wait has seen it end; empty before that, and when the system
    // could not tell.
    [[nodiscard]] virtual std::optional<ProgramEnd> end() const = 0;

    // Asks the process and its group to end, as a desktop asks at log-out; they may take their
    // time or refuse, and on Windows a program without a window is not asked at all (see
    // WinChildProcess). Nothing happens once the process has ended.
    virtual void askToEnd() = 0;
    // Ends the process and whatever of its group is left, without asking. Once the process has
    // ended, its group is still reached for as long as the platform can tell it apart: until a
    // wait has reaped the process on Linux, for as long as the object lives on Windows.
    virtual void makeEnd() = 0;
};
