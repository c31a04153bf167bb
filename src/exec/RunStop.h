#pragma once

#include <QTimer>

#include <chrono>
#include <functional>
#include <vector>

class ChildProcess;

// File > Stop Run: a run that is asked to stop starts no further entry, and the program it waits
// for is asked to end (SIGTERM to its process group) and, if it is still there after the grace
// time (Grace unless set otherwise), made to (SIGKILL). What of its group outlives it is made to
// end as soon as the program has ended.
// The pumping wait shows the stop the program it waits for while it waits; nested runs each show
// theirs, and a stop ends them all.
class RunStop {
public:
    static constexpr std::chrono::milliseconds Grace{5000};

    RunStop();

    void setGrace(std::chrono::milliseconds grace);
    // Called each time the grace time starts to run.
    void setStopping(std::function<void()> stopping);

    // A stop was asked for since the outermost run began.
    [[nodiscard]] bool requested() const;
    // Asks every watched program to end and arms the kill for those still there after Grace.
    void request();
    // A new outermost run begins: earlier requests are spent.
    void clear();

    // While it lives, child is the program a run waits for.
    class Watch {
    public:
        Watch(RunStop* stop, ChildProcess& child);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        RunStop* m_stop;
        ChildProcess& m_child;
    };

private:
    void startGrace();
    void killTheRest();

    bool m_requested = false;
    std::vector<ChildProcess*> m_watched;
    QTimer m_kill;
    std::function<void()> m_stopping;
    bool m_stoppingTold = false;
};
