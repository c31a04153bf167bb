#include "StopSignals.h"

#include "UniqueFd.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array StopSignalNumbers{SIGTERM, SIGINT, SIGHUP};

// The handler's only work is one write(2), which is safe in a handler.
int s_noticeFd = -1;

void noteSignal(int signal)
{
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    (void)!::write(s_noticeFd, &number, 1);
    errno = savedErrno;
}

} // namespace

struct StopSignals::Native {
    UniqueFd readEnd;
    UniqueFd writeEnd;
    std::array<struct sigaction, StopSignalNumbers.size()> previous{};
    std::unique_ptr<QSocketNotifier> notifier;
};

StopSignals::StopSignals(std::function<void(int signal)> stop)
    : m_stop(std::move(stop))
    , m_native(std::make_unique<Native>())
{
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_native->readEnd = UniqueFd(ends[0]);
    m_native->writeEnd = UniqueFd(ends[1]);
    s_noticeFd = ends[1];
    struct sigaction action {};
    action.sa_handler = noteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    // A signal the caller chose to ignore (nohup, a shell's background job) stays ignored.
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i) {
        ::sigaction(StopSignalNumbers[i], nullptr, &m_native->previous[i]);
        if (m_native->previous[i].sa_handler != SIG_IGN)
            ::sigaction(StopSignalNumbers[i], &action, nullptr);
    }
    m_native->notifier = std::make_unique<QSocketNotifier>(ends[0], QSocketNotifier::Read, this);
    connect(m_native->notifier.get(), &QSocketNotifier::activated, this,
            &StopSignals::deliverPending);
}

StopSignals::~StopSignals()
{
    if (!m_native->writeEnd.isValid())
        return;
    for (std::size_t i = 0; i < StopSignalNumbers.size(); ++i)
        ::sigaction(StopSignalNumbers[i], &m_native->previous[i], nullptr);
    s_noticeFd = -1;
}

void StopSignals::deliverPending()
{
    unsigned char number = 0;
    while (m_native->readEnd.isValid() && ::read(m_native->readEnd.get(), &number, 1) == 1)
        m_stop(number);
}
