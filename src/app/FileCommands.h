#pragma once

#include <QString>

#include <optional>

class Clock;
class Prompts;
class Scheduler;
struct JobTable;

// The job file and the File menu's commands on it: loading a job file into the job table,
// Open, New, Save and Save As. All file access goes through the INI store; every dialog and
// message goes through the prompts.
class FileCommands {
public:
    FileCommands(JobTable& table, const Clock& clock, Prompts& prompts, Scheduler& scheduler,
                 QString programDir);

    // Reads the job file at path into the job table and sets the repeat interval from its
    // schedule. Leaves the job file name, the modified flag and the delayed-start timer alone.
    void LoadIni(const QString& path);

    // Offers to save unsaved edits before something would replace them: true when the caller may
    // go on (nothing to save, saved, or the user chose not to keep them), false when the user
    // cancelled or the save did not happen, with the edits still in the table.
    [[nodiscard]] bool offerToSave();

    // Each returns true when it put another job in the table.
    bool Open1Click();
    bool NewIni2Click();
    void SaveIni1Click();
    void SaveAsIni1Click();

private:
    [[nodiscard]] std::optional<QString> chooseFile(bool forSaving);

    JobTable& m_table;
    const Clock& m_clock;
    Prompts& m_prompts;
    Scheduler& m_scheduler;
    QString m_programDir;
};
