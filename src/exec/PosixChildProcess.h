#pragma once

#include "ChildProcess.h"
#include "UniqueFd.h"

#include <QStringList>

#include <sys/types.h>

#include <chrono>
#include <optional>

// A child process on Linux: started with posix_spawn as the leader of its own process group,
// watched through a descriptor that polls as readable once the process has ended, and reaped by
// whoever learns of its end first, who keeps its wait status.
class PosixChildProcess final : public ChildProcess {
public:
    // How the end of the process is noticed. The pidfd needs Linux 5.3; without it a reaper
    // thread waits for the process from the start. Tests choose the fallback directly.
    enum class EndWatch { Pidfd, ReaperThread };

    [[nodiscard]] static std::unique_ptr<PosixChildProcess>
    start(const QString& program, const QStringList& arguments, EndWatch watch = EndWatch::Pidfd);

    PosixChildProcess(pid_t pid, EndWatch watch);
    ~PosixChildProcess() override;

    [[nodiscard]] bool waitForEnd(std::chrono::milliseconds limit) override;
    void waitForEnd() override;
    [[nodiscard]] std::unique_ptr<QObject> watchEnd(std::function<void()> ended) override;
    [[nodiscard]] std::optional<ProgramEnd> end() const override;
    void askToEnd() override;
    void makeEnd() override;

private:
    void watchThroughReaper();
    void sendSignal(int signal);
    bool awaitEnd(std::optional<std::chrono::steady_clock::time_point> deadline);

    pid_t m_pid;
    UniqueFd m_endNotice; // readable (or hung up) once the process has ended
    bool m_reaperOwnsChild = false;
    bool m_ended = false;
    std::optional<int> m_status; // from waitpid, once reaped
};
