#pragma once

#include <QString>
#include <QStringList>

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

// A program that the launcher started, as the operating system hands it over. Each platform
// brings its own implementation and its own start(); the launcher sees only this interface.
// Destroying the object releases the process without ending it: the program runs on, and the
// platform makes sure nothing of it stays behind once it ends.
class ChildProcess {
public:
    // Starts the program at exactly the path program (no search path; relative to the current
    // directory) with arguments as its whole argument list, the first being the name the program
    // gets for itself. The child inherits the environment and the current directory, and none of
    // the launcher's descriptors or handles besides the standard ones. Raises PlatformError with
    // the system's error code when the process cannot be created or its program not executed.
    [[nodiscard]] static std::unique_ptr<ChildProcess> start(const QString& program,
                                                             const QStringList& arguments);

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

    // Asks the process to end, as a desktop asks at log-out; it may take its time or refuse.
    // Nothing happens once it has ended.
    virtual void askToEnd() = 0;
    // Ends the process without asking. Nothing happens once it has ended.
    virtual void makeEnd() = 0;
};
