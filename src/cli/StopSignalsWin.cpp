#include "StopSignals.h"

#include <QCoreApplication>
#include <QPointer>

#include <atomic>
#include <csignal>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// The console's handler runs on a thread of its own: it only notes the event and asks the event
// loop to hand it over.
std::atomic<int> s_pending{0};
std::atomic<StopSignals*> s_receiver{nullptr};

BOOL WINAPI noteConsoleEvent(DWORD event)
{
    int number = SIGTERM; // closing the console, logging off, shutting down
    if (event == CTRL_C_EVENT)
        number = SIGINT;
    else if (event == CTRL_BREAK_EVENT)
        number = SIGBREAK;
    s_pending.store(number);
    if (StopSignals* receiver = s_receiver.load())
        QMetaObject::invokeMethod(receiver, &StopSignals::deliverPending, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

struct StopSignals::Native {};

StopSignals::StopSignals(std::function<void(int signal)> stop)
    : m_stop(std::move(stop))
    , m_native(std::make_unique<Native>())
{
    s_receiver.store(this);
    ::SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
}

StopSignals::~StopSignals()
{
    ::SetConsoleCtrlHandler(noteConsoleEvent, FALSE);
    s_receiver.store(nullptr);
}

void StopSignals::deliverPending()
{
    if (const int number = s_pending.exchange(0); number != 0)
        m_stop(number);
}
