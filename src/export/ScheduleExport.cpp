#include "ScheduleExport.h"

#include "AtomicFileWriter.h"
#include "Errors.h"
#include "JobFile.h"
#include "JobSchedule.h"
#include "Prompts.h"
#include "SystemdUnits.h"
#include "TaskSchedulerXml.h"
#include "UserFile.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

namespace {

void checkPathFitsUnit(const QString& path)
{
    const bool hasControl = std::any_of(
        path.cbegin(), path.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (hasControl)
        throw RunlatchError(
            QCoreApplication::translate("ScheduleExport",
                                        "%1 holds a line break or another control character, "
                                        "which a scheduled command cannot hold.")
                .arg(path));
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') || folder.endsWith(QDir::separator())
               ? folder + name
               : folder + QDir::separator() + name;
}

// The timer's name as a word of the shell, quoted when it holds more than plain characters.
QString shellWord(const QString& word)
{
    const bool plain = std::all_of(word.cbegin(), word.cend(), [](QChar c) {
        return (c.isLetterOrNumber() && c.unicode() < 0x80) || QStringLiteral("._:@-").contains(c);
    });
    return plain ? word : u'\'' + word + u'\'';
}

ExportPlan systemdPlan(const JobTable& job, const QString& programPath, const QString& folder,
                       const JobSchedule& schedule)
{
    const QString stem = systemdUnitStem(job.JobFileName);
    const QString timer = stem + QStringLiteral(".timer");
    return {{{joined(folder, stem + QStringLiteral(".service")),
              systemdService(job.JobFileName, programPath)},
             {joined(folder, timer), systemdTimer(job.JobFileName, schedule)}},
            QStringLiteral("systemctl --user daemon-reload && systemctl --user enable --now ") +
                shellWord(timer)};
}

ExportPlan taskPlan(const JobTable& job, const QString& programPath, const QString& folder,
                    const JobSchedule& schedule, TDateTime now)
{
    const QString name = taskName(job.JobFileName);
    const QString path = joined(folder, name + QStringLiteral(".xml"));
    return {{{path, taskSchedulerXml(job.JobFileName, programPath, schedule, fromDateTime(now))}},
            QStringLiteral("schtasks /Create /XML \"%1\" /TN \"%2\"")
                .arg(QDir::toNativeSeparators(path), name)};
}

} // namespace

QString defaultExportFolder(ExportTarget target)
{
    if (target == ExportTarget::TaskScheduler)
        return pathText(currentFolderPath());
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The base directory rules ignore a relative path there.
    if (!isAbsoluteFilePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::toNativeSeparators(config + QStringLiteral("/systemd/user"));
}

JobTable readJobToExport(const QString& path, TDateTime now)
{
    // The INI store takes a missing file for an empty one; a run without the window would not.
    if (pathKind(nativePath(path)) == PathKind::Missing)
        throw RunlatchError(
            QCoreApplication::translate("ScheduleExport", "%1 not found!").arg(path));
    JobTable job;
    static_cast<void>(readJobFile(path, now, job));
    job.JobFileName = path;
    return job;
}

ExportPlan planScheduleExport(ExportTarget target, const JobTable& job, const QString& programPath,
                              const QString& folder, TDateTime now)
{
    checkPathFitsUnit(job.JobFileName);
    checkPathFitsUnit(programPath);
    const JobSchedule schedule = jobSchedule(job, now);
    return target == ExportTarget::Systemd ? systemdPlan(job, programPath, folder, schedule)
                                           : taskPlan(job, programPath, folder, schedule, now);
}

QStringList existingExportFiles(const ExportPlan& plan)
{
    QStringList existing;
    for (const ExportFile& file : plan.files)
        if (pathKind(nativePath(file.path)) != PathKind::Missing)
            existing << file.path;
    return existing;
}

void writeScheduleExport(const ExportPlan& plan)
{
    for (const ExportFile& file : plan.files) {
        const QString folder = FileDialogRequest::folderOf(file.path);
        if (!QDir().mkpath(folder) || !AtomicFileWriter(file.path).write(file.contents))
            throw RunlatchError(
                QCoreApplication::translate("ScheduleExport", "Cannot write %1.").arg(file.path));
    }
}
