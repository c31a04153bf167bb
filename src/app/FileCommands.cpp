#include "FileCommands.h"

#include "Clock.h"
#include "JobFile.h"
#include "JobTable.h"
#include "Prompts.h"
#include "Scheduler.h"

#include <QCoreApplication>

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
    // The first 50 entries are kept and the file's own schedule is still read.
    if (readJobFile(path, m_clock.nowDays(), m_table))
        m_prompts.information(QCoreApplication::translate(
            "FileCommands", "Sorry, Runlatch is limited to 50 Processes."));
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
        writeJobFile(m_table);
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
