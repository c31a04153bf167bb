#pragma once

#include "DateTime.h"

#include <QString>

struct JobTable;

// The job file's format: its Processes section holds Count and the entries 01Name, 01Param, ...
// 50Param; its Schedule section EveryHours, EveryMins, DelayedStart and DelayedStartTime.

// Reads the job file at path into table's list and schedule; now is the delayed start time of a
// file that names none. The file is read before anything changes: one that cannot be read throws
// and leaves the table as it was. The job file name and the modified flag are left alone. Returns
// true when the file lists more than JobTable::MaxProcs entries, of which the first are kept.
[[nodiscard]] bool readJobFile(const QString& path, TDateTime now, JobTable& table);

// Writes table's list and schedule into the job file table.JobFileName, replacing the file once,
// at the end; whatever else the file holds is kept.
void writeJobFile(const JobTable& table);
