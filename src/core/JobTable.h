#pragma once

#include <QString>

#include <array>
#include <cstdint>

// One process entry of the job table.
struct ProcRec {
    QString Name;  // program path; never empty in a used entry
    QString Param; // parameter text, may be empty
};

// The whole working configuration held in memory: the process list, the schedule, the current
// job file and whether the list or the schedule was edited since the last save. Plain data,
// owned by the main window and handed by reference to whoever reads or writes it.
//
// Shrinking the table only lowers LastProc: slots above it keep their strings, so a run that
// fixed its entry count before an editor shortened the table never meets a released entry.
struct JobTable {
    static constexpr int MaxProcs = 50;

    // 51 slots, but both ways of filling the table stop at 50 entries: index 50 is never used.
    std::array<ProcRec, MaxProcs + 1> ProcList;
    std::int32_t LastProc = -1; // index of the last used entry, -1 when empty
    std::int32_t EveryHours = 0;
    std::int32_t EveryMins = 0;
    bool DelayedStart = false;
    double DelayedStartTime = 0.0; // day-count date-time, see DateTime.h
    QString JobFileName;           // full path of the current job file, empty when none
    bool Modified = false;         // the list or the schedule was edited and not saved since
};
