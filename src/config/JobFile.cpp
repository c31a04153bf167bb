#include "JobFile.h"

#include "JobTable.h"
#include "StRegIni.h"
#include "TrimmedText.h"

#include <algorithm>

namespace {

const QString ProcessesSection = QStringLiteral("Processes");
const QString ScheduleSection = QStringLiteral("Schedule");

// Entry keys carry the entry's number in two digits in front: 01Name, 01Param, ... 50Param.
QString entryKey(int number, const char* field)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')) + QLatin1String(field);
}

} // namespace

bool readJobFile(const QString& path, TDateTime now, JobTable& table)
{
    TStRegIni ini(path);
    ini.load();
    ini.setCurrentSection(ProcessesSection);
    table.LastProc = -1;
    const std::int32_t count = ini.ReadInteger(QStringLiteral("Count"), 0);
    for (int number = 1; number <= std::min(count, JobTable::MaxProcs); ++number) {
        const QString name = trimmedText(ini.ReadString(entryKey(number, "Name"), QString()));
        if (name.isEmpty())
            continue;
        ProcRec& entry = table.ProcList[static_cast<std::size_t>(++table.LastProc)];
        entry.Name = name;
        entry.Param = trimmedText(ini.ReadString(entryKey(number, "Param"), QString()));
    }
    // The file's own schedule is read even past the limit: stopping there would leave the
    // previous file's schedule in force, and the next save would write it into this file.
    ini.setCurrentSection(ScheduleSection);
    table.EveryHours = ini.ReadInteger(QStringLiteral("EveryHours"), 0);
    table.EveryMins = ini.ReadInteger(QStringLiteral("EveryMins"), 0);
    table.DelayedStart = ini.ReadBoolean(QStringLiteral("DelayedStart"), false);
    table.DelayedStartTime = ini.ReadFloat(QStringLiteral("DelayedStartTime"), now);
    return count > JobTable::MaxProcs;
}

void writeJobFile(const JobTable& table)
{
    TStRegIni ini(table.JobFileName);
    // The file is replaced once, at the end: a save that fails leaves the job file as it was
    // rather than half rewritten, and one rewrite costs one disk flush instead of a hundred.
    ini.beginUpdates();
    // Processes is rewritten whole, every copy of it, so that a shorter list leaves no entries of
    // a longer one behind; Schedule's keys are replaced in place, keeping whatever else the user
    // put there.
    if (ini.SectionExists(ProcessesSection))
        ini.EraseSection(ProcessesSection);
    ini.setCurrentSection(ProcessesSection);
    ini.WriteInteger(QStringLiteral("Count"), table.LastProc + 1);
    for (int i = 0; i <= table.LastProc; ++i) {
        const ProcRec& entry = table.ProcList[static_cast<std::size_t>(i)];
        ini.WriteString(entryKey(i + 1, "Name"), entry.Name);
        if (!entry.Param.isEmpty())
            ini.WriteString(entryKey(i + 1, "Param"), entry.Param);
    }
    ini.setCurrentSection(ScheduleSection);
    ini.WriteInteger(QStringLiteral("EveryHours"), table.EveryHours);
    ini.WriteInteger(QStringLiteral("EveryMins"), table.EveryMins);
    ini.WriteBoolean(QStringLiteral("DelayedStart"), table.DelayedStart);
    ini.WriteFloat(QStringLiteral("DelayedStartTime"), table.DelayedStartTime);
    ini.commitUpdates();
}
