#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What one start of the test child program recorded.
struct ChildRecord {
    qint64 startNs = 0; // the steady clock, the same in every process
    qint64 endNs = 0;
    qint64 pid = 0;
    QString cwd;         // with "/" as separator on every platform
    int showWindow = -1; // the show state the child was started with; -1 for none
    QString commandLine; // the raw command line on Windows; empty elsewhere
    QStringList args;
};

// Path of the built test child program.
[[nodiscard]] QString testChildPath();

// Reads the records the child appended to a log file, in the order they were written.
[[nodiscard]] QList<ChildRecord> readChildRecords(const QString& logPath);

// While this lives, every test child this process starts records itself in child.log in the
// given folder. How long a child waits and how it exits can be set meanwhile; all of it is taken
// back from the environment at the end, so that no later test inherits it.
class ChildLog {
public:
    explicit ChildLog(const QString& folder);
    ~ChildLog();
    ChildLog(const ChildLog&) = delete;
    ChildLog& operator=(const ChildLog&) = delete;

    [[nodiscard]] QList<ChildRecord> records() const { return readChildRecords(m_path); }

    // Children started from now on wait this long between their start and their end.
    void setSleepMs(int ms);
    // Children started from now on exit with this status.
    void setExitStatus(int status);
    // Children started from now on read their standard input to its end, then write
    // "read <bytes>" to standard output and "to-error" to standard error.
    void setEchoStandardInput(bool echo);
    // Children started from now on open a top-level window and run until it is closed
    // (Windows only).
    void setWindow(bool window);

private:
    QString m_path;
};

// Once reaped, a process leaves /proc; a zombie stays there. On Windows: the process has ended.
[[nodiscard]] bool processGone(qint64 pid);
