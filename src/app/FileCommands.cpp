#include "FileCommands.h"

#include "Clock.h"
#include "JobTable.h"
#include "Prompts.h"
#include "Scheduler.h"
#include "StRegIni.h"
#include "TrimmedText.h"

#include <QCoreApplication>

namespace {

const QString ProcessesSection = QStringLiteral("Processes");
const QString ScheduleSection = QStringLiteral("Schedule");

// Entry keys carry the entry's number in two digits in front: 01Name, 01Param, ... 50Param.
QString entryKey(int number, const char* field)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')) + QLatin1String(field);
}

} // namespace

FileCommands::FileCommands(JobTable& table, const Clock& clock, Prompts& prompts,
                           Scheduler& scheduler, QString programDir)
    : m_table(table)
    , m_clock(clock)
    , m_prompts(prompts)
    , m_scheduler(scheduler)
    , m_programDir(std::move(programDir))
{}

void FileCommands::LoadIni(const QString& path)
{
    TStRegIni ini(path);
    // The file is read before anything changes: one that cannot be read leaves the table and
    // the schedule as they were.
    ini.load();
    ini.setCurrentSection(ProcessesSection);
    m_table.LastProc = -1;
    const std::int32_t count = ini.ReadInteger(QStringLiteral("Count"), 0);
    for (int number = 1; number <= std::min(count, JobTable::MaxProcs); ++number) {
        const QString name = trimmedText(ini.ReadString(entryKey(number, "Name"), QString()));
        if (name.isEmpty())
            continue;
        ProcRec& entry = m_table.ProcList[static_cast<std::size_t>(++m_table.LastProc)];
        entry.Name = name;
        entry.Param = trimmedText(ini.ReadString(entryKey(number, "Param"), QString()));
    }
    // The first 50 entries are kept and the file's own schedule is still read: stopping here
    // would leave the previous file's schedule in force, and the next save would write it into
    // this file.
    if (count > JobTable::MaxProcs)
        m_prompts.information(QCoreApplication::translate(
            "FileCommands", "Sorry, Runlatch is limited to 50 Processes."));

    ini.setCurrentSection(ScheduleSection);
    m_table.EveryHours = ini.ReadInteger(QStringLiteral("EveryHours"), 0);
    m_table.EveryMins = ini.ReadInteger(QStringLiteral("EveryMins"), 0);
    m_table.DelayedStart = ini.ReadBoolean(QStringLiteral("DelayedStart"), false);
    m_table.DelayedStartTime = ini.ReadFloat(QStringLiteral("DelayedStartTime"), m_clock.nowDays());
    m_scheduler.SetIntervalFromSchedule();
}

std::optional<QString> FileCommands::chooseFile(bool forSaving)
{
    // Beside the current job file, the one the user last chose or named; without one, in the
    // program's folder.
    QString folder = FileDialogRequest::folderOf(m_table.JobFileName);
    if (folder.isEmpty())
        folder = m_programDir;
    const FileDialogRequest request{
        folder, QCoreApplication::translate("FileCommands", "Ini File (*.ini)"),
        QStringLiteral("ini"),
        forSaving ? QCoreApplication::translate("FileCommands", "Save As Ini")
                  : QCoreApplication::translate("FileCommands", "Open Ini")};
    return forSaving ? m_prompts.saveFile(request) : m_prompts.openFile(request);
}

bool FileCommands::offerToSave()
{
    if (!m_table.Modified)
        return true;
    switch (m_prompts.confirmOrCancel(QCoreApplication::translate(
        "FileCommands", "Ini has been modified, do you wish to save?"))) {
    case Prompts::Answer::No:
        return true;
    case Prompts::Answer::Cancel:
        return false;
    case Prompts::Answer::Yes:
        break;
    }
    SaveAsIni1Click();
    // A cancelled save dialog or a failed save leaves the flag set: the edits are still only
    // here, and stay.
    return !m_table.Modified;
}

// Open and New would replace unsaved edits: they ask first, as closing the window does.
bool FileCommands::Open1Click()
{
    if (!offerToSave())
        return false;
    const std::optional<QString> chosen = chooseFile(false);
    if (!chosen)
        return false;
    // The name follows a load that succeeded: a file that cannot be read must not become the
    // target of the next save, which would overwrite it with the table still in memory.
    LoadIni(*chosen);
    m_table.JobFileName = *chosen;
    m_scheduler.armAfterOpen(m_prompts);
    return true;
}

// A new job has no file yet: its first save asks where, so that it never overwrites the job
// file the user had open before.
bool FileCommands::NewIni2Click()
{
    if (!offerToSave())
        return false;
    m_table.LastProc = -1;
    m_table.JobFileName.clear();
    return true;
}

void FileCommands::SaveIni1Click()
{
    if (m_table.JobFileName.isEmpty()) {
        const std::optional<QString> chosen = chooseFile(true);
        if (!chosen)
            return;
        m_table.JobFileName = *chosen;
    }
    m_table.Modified = false;
    try {
        writeJobFile();
    } catch (...) {
        // The file does not hold the table: closing must still offer to save it.
        m_table.Modified = true;
        throw;
    }
}

void FileCommands::SaveAsIni1Click()
{
    const std::optional<QString> chosen = chooseFile(true);
    if (!chosen)
        return;
    m_table.JobFileName = *chosen;
    SaveIni1Click();
}

void FileCommands::writeJobFile()
{
    TStRegIni ini(m_table.JobFileName);
    // The file is replaced once, at the end: a save that fails leaves the job file as it was
    // rather than half rewritten, and one rewrite costs one disk flush instead of a hundred.
    ini.beginUpdates();
    // Processes is rewritten whole, every copy of it, so that a shorter list leaves no entries of
    // a longer one behind; Schedule's keys are replaced in place, keeping whatever else the user
    // put there.
    if (ini.SectionExists(ProcessesSection))
        ini.EraseSection(ProcessesSection);
    ini.setCurrentSection(ProcessesSection);
    ini.WriteInteger(QStringLiteral("Count"), m_table.LastProc + 1);
    for (int i = 0; i <= m_table.LastProc; ++i) {
        const ProcRec& entry = m_table.ProcList[static_cast<std::size_t>(i)];
        ini.WriteString(entryKey(i + 1, "Name"), entry.Name);
        if (!entry.Param.isEmpty())
            ini.WriteString(entryKey(i + 1, "Param"), entry.Param);
    }
    ini.setCurrentSection(ScheduleSection);
    ini.WriteInteger(QStringLiteral("EveryHours"), m_table.EveryHours);
    ini.WriteInteger(QStringLiteral("EveryMins"), m_table.EveryMins);
    ini.WriteBoolean(QStringLiteral("DelayedStart"), m_table.DelayedStart);
    ini.WriteFloat(QStringLiteral("DelayedStartTime"), m_table.DelayedStartTime);
    ini.commitUpdates();
}
