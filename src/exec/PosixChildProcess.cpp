#include "PosixChildProcess.h"

#include "ByteText.h"
#include "ParameterSplitter.h"
#include "SystemError.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// How every program is started: with an empty signal mask and default signal dispositions, as a
// freshly started program expects, whatever the launcher itself blocks or ignores; and as the
// leader of a process group of its own, which what it starts joins, so that a stop reaches them
// all. Being no longer in the terminal's foreground group, it gets no SIGINT from a Ctrl+C typed
// where Runlatch was started: the run, not the terminal, decides when a program is stopped.
class SpawnAttributes {
public:
    SpawnAttributes()
    {
        posix_spawnattr_init(&m_value);
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&m_value, &none);
        posix_spawnattr_setsigdefault(&m_value, &all);
        posix_spawnattr_setpgroup(&m_value, 0);
        posix_spawnattr_setflags(&m_value, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                               POSIX_SPAWN_SETPGROUP);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_value); }

    [[nodiscard]] const posix_spawnattr_t* get() const { return &m_value; }

private:
    posix_spawnattr_t m_value;
};

// The child reads its standard input from /dev/null, so a program that reads input ends at once
// instead of waiting for a terminal or a pipe that nobody writes to; standard output and error
// are the launcher's. It keeps no other descriptor: whatever else the program holds open without
// close-on-exec (ours never are) does not leak into programs the launcher starts.
class SpawnFileActions {
public:
    SpawnFileActions()
    {
        posix_spawn_file_actions_init(&m_value);
        int error =
            posix_spawn_file_actions_addopen(&m_value, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (error == 0)
            error = posix_spawn_file_actions_addclosefrom_np(&m_value, 3);
        if (error != 0) {
            posix_spawn_file_actions_destroy(&m_value);
            throw systemError(error);
        }
    }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&m_value); }

    [[nodiscard]] const posix_spawn_file_actions_t* get() const { return &m_value; }

private:
    posix_spawn_file_actions_t m_value;
};

// glibc (2.24 and later) runs the child on the parent's memory until it has called execve, so a
// program that cannot be executed comes back as posix_spawn's result and never as a child that
// exits with 127, and the child is in its own process group by the time posix_spawn returns.
pid_t spawn(const QString& program, const QStringList& arguments)
{
    std::vector<QByteArray> bytes;
    bytes.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& argument : arguments)
        bytes.push_back(encodeText(argument));
    std::vector<char*> argv;
    argv.reserve(bytes.size() + 1);
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The same for every program, so made once: making the file actions asks the system for the
    // descriptor limit twice, which every launch would otherwise pay.
    static const SpawnFileActions actions;
    static const SpawnAttributes attributes;
    pid_t pid = 0;
    const int error = posix_spawn(&pid, encodeText(program).constData(), actions.get(),
                                  attributes.get(), argv.data(), environ);
    if (error != 0)
        throw systemError(error, program);
    return pid;
}

// The wait status of the reaped process; none when the system kept it from us (another part of the
// program reaped the process, or SIGCHLD is ignored and the kernel reaped it).
std::optional<int> reap(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) != pid) {
        if (errno != EINTR)
            return std::nullopt;
    }
    return status;
}

// Reaps pid in a detached thread of its own that blocks in waitpid on that pid alone and ends
// with the process; once the process is reaped, the thread sends its wait status through notice,
// one end of a socket pair, and closes it. So a child that nobody waits for leaves no zombie,
// without a SIGCHLD handler that would take other children's exit statuses and without any record
// kept between launches. A socket, not a pipe: when the other end has gone, sending fails with
// EPIPE instead of raising SIGPIPE, which would end the program. Returns 0, or the error when no
// thread could be had; the process then stays a zombie until the program ends, which is still
// better than blocking or ending it.
int reapInBackground(pid_t pid, UniqueFd notice)
{
    try {
        std::thread([pid, notice = std::move(notice)] {
            const std::optional<int> status = reap(pid);
            if (status && notice.isValid())
                (void)::send(notice.get(), &*status, sizeof *status, MSG_NOSIGNAL);
        }).detach();
        return 0;
    } catch (const std::system_error& error) {
        return error.code().value();
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, std::numeric_limits<int>::max()));
}

// Polls fd until it is readable or hung up (true), the deadline has passed or poll fails
// (false). A signal that interrupts the poll does not end the wait.
bool pollUntil(int fd, std::optional<Clock::time_point> deadline)
{
    pollfd watch{fd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&watch, 1, deadline ? millisecondsUntil(*deadline) : -1);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready == 0 && deadline && Clock::now() >= *deadline)
            return false;
    }
}

// The status the reaper thread sent before it closed its end; none when it closed it without.
std::optional<int> receiveStatus(int notice)
{
    int status = 0;
    if (::recv(notice, &status, sizeof status, MSG_WAITALL) != sizeof status)
        return std::nullopt;
    return status;
}

// The description of a signal as strsignal gives it in English: the log reads alike in every
// language. Signals without one (the real-time signals) fall back to strsignal's wording.
QString signalDescription(int signal)
{
    const char* const description = sigdescr_np(signal);
    return QString::fromLocal8Bit(description != nullptr ? description : strsignal(signal));
}

} // namespace

// The show state has no meaning here: a started program opens its windows as it and the desktop
// decide.
std::unique_ptr<ChildProcess> ChildProcess::launch(const QString& program,
                                                   const QString& parameters,
                                                   std::uint16_t /*showWindow*/)
{
    return PosixChildProcess::start(program, QStringList{program} + splitParameters(parameters));
}

std::unique_ptr<PosixChildProcess>
PosixChildProcess::start(const QString& program, const QStringList& arguments, EndWatch watch)
{
    return std::make_unique<PosixChildProcess>(spawn(program, arguments), watch);
}

PosixChildProcess::PosixChildProcess(pid_t pid, EndWatch watch)
    : m_pid(pid)
{
    // The pid cannot name another process here: it stays ours until it is reaped.
    if (watch == EndWatch::Pidfd)
        m_endNotice = UniqueFd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    if (!m_endNotice.isValid())
        watchThroughReaper();
}

// The reaper thread holds one end of a socket pair and sends the wait status through it once it
// has reaped the process; the other end then polls as readable.
void PosixChildProcess::watchThroughReaper()
{
    m_reaperOwnsChild = true;
    int ends[2] = {-1, -1};
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        const int error = errno;
        (void)reapInBackground(m_pid, UniqueFd());
        throw systemError(error);
    }
    m_endNotice = UniqueFd(ends[0]);
    if (const int error = reapInBackground(m_pid, UniqueFd(ends[1])); error != 0)
        throw systemError(error);
}

PosixChildProcess::~PosixChildProcess()
{
    if (!m_ended && !m_reaperOwnsChild)
        (void)reapInBackground(m_pid, UniqueFd());
}

bool PosixChildProcess::waitForEnd(std::chrono::milliseconds limit)
{
    return awaitEnd(Clock::now() + limit);
}

void PosixChildProcess::waitForEnd()
{
    (void)awaitEnd(std::nullopt);
}

// The end notice polls as readable once the process has ended, and stays so: the notifier is
// switched off at its first report so that the event loop does not spin on it.
std::unique_ptr<QObject> PosixChildProcess::watchEnd(std::function<void()> ended)
{
    auto notifier = std::make_unique<QSocketNotifier>(m_endNotice.get(), QSocketNotifier::Read);
    QSocketNotifier* const watch = notifier.get();
    QObject::connect(watch, &QSocketNotifier::activated, watch, [watch, ended = std::move(ended)] {
        watch->setEnabled(false);
        ended();
    });
    return notifier;
}

// A stopped process acts on SIGTERM only once it is continued, and outside the terminal's
// foreground group a program that reads the terminal is stopped (SIGTTIN): so the group is
// continued as well.
void PosixChildProcess::askToEnd()
{
    sendSignal(SIGTERM);
    sendSignal(SIGCONT);
}

void PosixChildProcess::makeEnd()
{
    sendSignal(SIGKILL);
}

// The signal goes to the process group the process leads. Until the process is reaped, the pid
// names it and no other process, nor a group other than its own, so the signal cannot hit a
// stranger; an ended process not yet reaped still holds its group's number for what is left of
// the group. The reaper thread may reap at any moment, so with it the end notice is asked first;
// what is left is the instant between that check and the signal.
void PosixChildProcess::sendSignal(int signal)
{
    if (m_ended || (m_reaperOwnsChild && pollUntil(m_endNotice.get(), Clock::now())))
        return;
    (void)::kill(-m_pid, signal);
}

// The end is told by the end notice alone, never by an exit status, so no status value can pass
// for "still running". The status comes from the reaping, by whichever side reaped.
bool PosixChildProcess::awaitEnd(std::optional<Clock::time_point> deadline)
{
    if (!m_ended && pollUntil(m_endNotice.get(), deadline)) {
        m_status = m_reaperOwnsChild ? receiveStatus(m_endNotice.get()) : reap(m_pid);
        m_ended = true;
    }
    return m_ended;
}

std::optional<ProgramEnd> PosixChildProcess::end() const
{
    if (!m_status)
        return std::nullopt;
    ProgramEnd end;
    if (WIFSIGNALED(*m_status)) {
        const int signal = WTERMSIG(*m_status);
        end.kind = ProgramEnd::Kind::Signal;
        end.value = static_cast<std::uint32_t>(signal);
        end.text = QStringLiteral("ended by signal %1 (%2)")
                       .arg(QString::number(signal), signalDescription(signal));
    } else {
        end.value = static_cast<std::uint32_t>(WEXITSTATUS(*m_status));
        end.text = QStringLiteral("ended with exit code %1").arg(end.value);
    }
    return end;
}

bool ChildProcess::isProgramFile(const QString& program)
{
    struct stat entry {};
    return ::stat(encodeText(program).constData(), &entry) == 0 && !S_ISDIR(entry.st_mode);
}

qsizetype ChildProcess::fileNameStart(const QString& program)
{
    return program.lastIndexOf(u'/') + 1;
}
