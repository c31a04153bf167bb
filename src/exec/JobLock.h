#pragma once

#include "PlatformTypes.h"

#include <QString>

// One run of a job file at a time, whichever process runs it: a run holds its job file's lock
// while it lasts. On Linux the lock is the user's own, where another user's could hold a job file
// forever; on Windows it spans the machine, so that a task in another session meets the window.
// The system lets go of the lock when the process ends, however it ends, so a killed run holds no
// later run back. The programs a run starts do not inherit it.
class JobLock {
public:
    enum class State {
        Held,        // this run holds the lock
        Busy,        // another process holds it: the run does not start
        Unavailable, // no lock could be made (no folder for it): the run goes on unguarded
    };

    // Tries once, without waiting.
    explicit JobLock(const QString& jobFile);
    ~JobLock();
    JobLock(const JobLock&) = delete;
    JobLock& operator=(const JobLock&) = delete;

    [[nodiscard]] State state() const { return m_state; }

    // The job file as the lock knows it: every path that leads to the same file gives the same
    // text (its links resolved), and a file that does not exist yet its absolute path.
    [[nodiscard]] static QString keyOf(const QString& jobFile);

private:
    State m_state = State::Unavailable;
    NativeFile m_handle = NoNativeFile;
};
