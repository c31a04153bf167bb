#pragma once

#include <QString>
#include <QStringList>

// The switches the window program starts with: "/I<job file>" and "/R", in any letter case; a
// later /I wins and other arguments are ignored. A job file name that is not an absolute path is
// taken from the program's folder.
struct StartSwitches {
    bool autoRun = false;
    QString jobFile; // native separators; empty when no /I was given

    [[nodiscard]] static StartSwitches parse(const QStringList& arguments,
                                             const QString& programDir);
};

// A folder (as "/I" alone names) counts as no job file; anything else that stands there, a FIFO
// say, is handed to the load, which refuses it with a clear message. Plain file calls: a name
// that starts with ":" is a file like any other.
[[nodiscard]] bool jobFileExists(const QString& name);
