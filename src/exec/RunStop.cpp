#include "RunStop.h"

#include "ChildProcess.h"

#include <algorithm>
#include <utility>

RunStop::RunStop()
{
    m_kill.setSingleShot(true);
    m_kill.setInterval(Grace);
    QObject::connect(&m_kill, &QTimer::timeout, [this] { killTheRest(); });
}

void RunStop::setGrace(std::chrono::milliseconds grace)
{
    m_kill.setInterval(grace);
}

void RunStop::setStopping(std::function<void()> stopping)
{
    m_stopping = std::move(stopping);
}

bool RunStop::requested() const
{
    return m_requested;
}

void RunStop::request()
{
    m_requested = true;
    for (ChildProcess* child : m_watched)
        child->askToEnd();
    if (!m_watched.empty())
        startGrace();
}

// Asking again does not put the kill off, and the window hears of the stop once, even when the
// program is asked again after the kill, while its end is on its way.
void RunStop::startGrace()
{
    if (m_kill.isActive())
        return;
    m_kill.start();
    if (m_stopping && !std::exchange(m_stoppingTold, true))
        m_stopping();
}

void RunStop::clear()
{
    m_requested = false;
    m_stoppingTold = false;
    m_kill.stop();
}

void RunStop::killTheRest()
{
    for (ChildProcess* child : m_watched)
        child->makeEnd();
}

RunStop::Watch::Watch(RunStop* stop, ChildProcess& child)
    : m_stop(stop)
    , m_child(child)
{
    if (m_stop == nullptr)
        return;
    m_stop->m_watched.push_back(&m_child);
    // A stop asked for while an earlier entry was ending reaches this one at once.
    if (m_stop->m_requested) {
        m_child.askToEnd();
        m_stop->startGrace();
    }
}

RunStop::Watch::~Watch()
{
    if (m_stop == nullptr)
        return;
    // The program has ended; what it started and left behind, having been asked as well, ends
    // with it rather than being left without anyone to stop it.
    if (m_stop->m_requested)
        m_child.makeEnd();
    auto& watched = m_stop->m_watched;
    watched.erase(std::remove(watched.begin(), watched.end(), &m_child), watched.end());
    if (watched.empty())
        m_stop->m_kill.stop();
}
