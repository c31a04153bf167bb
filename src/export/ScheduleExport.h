#pragma once

#include "DateTime.h"
#include "ExportTarget.h"
#include "JobTable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The export of a job's schedule to the system's scheduler, as File > Export Schedule and the
// command line both make it: first planned, every file in full, then written.

struct ExportFile {
    QString path; // absolute
    QByteArray contents;
};

struct ExportPlan {
    QList<ExportFile> files;
    QString startCommand; // what the user runs to start the schedule
};

// Where the scheduler looks for what the user gives it: systemd's user units in
// $XDG_CONFIG_HOME/systemd/user (~/.config/systemd/user when that is not set); for the Task
// Scheduler, which imports the file from anywhere, the current folder.
[[nodiscard]] QString defaultExportFolder(ExportTarget target);

// Reads the job file at path, absolute, as a run without the window will read it. Raises
// RunlatchError when there is no such file or it cannot be read.
[[nodiscard]] JobTable readJobToExport(const QString& path, TDateTime now);

// The files that hand job's schedule, as of now, to target in folder; they run programPath on
// job.JobFileName. Both paths are absolute. Raises RunlatchError when there is nothing to
// schedule, or a path holds a line break or another control character, which no unit or task
// can hold.
[[nodiscard]] ExportPlan planScheduleExport(ExportTarget target, const JobTable& job,
                                            const QString& programPath, const QString& folder,
                                            TDateTime now);

// The planned files that are there already.
[[nodiscard]] QStringList existingExportFiles(const ExportPlan& plan);

// Writes each planned file whole, replacing any file of its name whole or not at all, and makes
// the folder first when it is missing. Raises RunlatchError naming the file that could not be
// written.
void writeScheduleExport(const ExportPlan& plan);
