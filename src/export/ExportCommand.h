#pragma once

#include "DateTime.h"
#include "ExportTarget.h"

#include <QString>
#include <QStringList>

class QTextStream;

// The command line's export of a job's schedule ("--export-systemd JOBFILE [FOLDER]",
// "--export-task JOBFILE [FOLDER]"): arguments are what follows the option. A relative JOBFILE or
// FOLDER is taken from the current folder; FOLDER is by default defaultExportFolder(target).
// Prints the written files, one a line, and then the command that starts the schedule to out.
// Returns 0, or 3 with a message on err when the command line is wrong, the job file cannot be
// read or has nothing to schedule, a path cannot go into a unit (nothing is written then), or a
// file cannot be written.
// The command line's option for the target: "--export-systemd" or "--export-task".
[[nodiscard]] QString exportOption(ExportTarget target);

[[nodiscard]] int exportScheduleCommand(ExportTarget target, const QStringList& arguments,
                                        const QString& programPath, TDateTime now, QTextStream& out,
                                        QTextStream& err);
