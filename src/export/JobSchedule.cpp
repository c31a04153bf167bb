#include "JobSchedule.h"

#include "Errors.h"
#include "JobTable.h"
#include "Scheduler.h"

#include <QCoreApplication>
#include <QDir>

JobSchedule jobSchedule(const JobTable& job, TDateTime now)
{
    constexpr std::int64_t MsPerMinute = 60000;
    JobSchedule schedule;
    schedule.periodMinutes = repeatPeriodMs(job.EveryHours, job.EveryMins) / MsPerMinute;
    if (job.DelayedStart && now <= job.DelayedStartTime)
        schedule.firstRun = fromDateTime(job.DelayedStartTime);
    if (schedule.periodMinutes == 0 && !schedule.firstRun)
        throw RunlatchError(
            QCoreApplication::translate("ScheduleExport",
                                        "%1 has nothing to schedule: it neither repeats nor has a "
                                        "delayed start still to come.")
                .arg(job.JobFileName));
    return schedule;
}

QString jobNameOf(const QString& jobFilePath)
{
    const QString path = QDir::fromNativeSeparators(jobFilePath);
    QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const QString suffix = QStringLiteral(".ini");
    if (name.size() > suffix.size() && name.endsWith(suffix, Qt::CaseInsensitive))
        name.chop(suffix.size());
    return name;
}
