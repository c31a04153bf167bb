#include "StopSignals.h"

#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <mutex>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// The console's handler runs on a thread of its own: it notes the first event and asks the
// event loop to hand it over, under a lock that the object's end takes too, so nothing is ever
// posted to an object that has gone.
std::mutex s_lock;
StopSignals* s_receiver = nullptr;
std::atomic<int> s_pending{0};
// Set once the run has ended. The system ends the program as soon as the handler of a closing
// console, a logoff or a shutdown returns, so that handler waits for the stop, within the few
// seconds the system allows.
HANDLE s_runEnded = nullptr;
constexpr DWORD ClosingWaitMs = 4500;

BOOL WINAPI noteConsoleEvent(DWORD event)
{
    int number = SIGTERM; // closing the console, logging off, shutting down
    if (event == CTRL_C_EVENT)
        number = SIGINT;
    else if (event == CTRL_BREAK_EVENT)
        number = SIGBREAK;
    int none = 0;
    s_pending.compare_exchange_strong(none, number);
    {
        const std::lock_guard lock(s_lock);
        if (s_receiver != nullptr)
            QMetaObject::invokeMethod(s_receiver, &StopSignals::deliverPending,
                                      Qt::QueuedConnection);
    }
    if (number == SIGTERM && s_runEnded != nullptr)
        ::WaitForSingleObject(s_runEnded, ClosingWaitMs);
    return TRUE;
}

} // namespace

struct StopSignals::Native {};

StopSignals::StopSignals(std::function<void(int signal)> stop)
    : m_stop(std::move(stop))
    , m_native(std::make_unique<Native>())
{
    if (s_runEnded == nullptr)
        s_runEnded = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    else
        ::ResetEvent(s_runEnded);
    {
        const std::lock_guard lock(s_lock);
        s_receiver = this;
    }
    ::SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
}

StopSignals::~StopSignals()
{
    ::SetConsoleCtrlHandler(noteConsoleEvent, FALSE);
    {
        const std::lock_guard lock(s_lock);
        s_receiver = nullptr;
    }
    if (s_runEnded != nullptr)
        ::SetEvent(s_runEnded);
}

void StopSignals::deliverPending()
{
    if (const int number = s_pending.exchange(0); number != 0)
        m_stop(number);
}
