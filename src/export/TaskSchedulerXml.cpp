#include "TaskSchedulerXml.h"

#include "Errors.h"
#include "JobSchedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringEncoder>
#include <QXmlStreamWriter>

namespace {

constexpr std::int64_t MinutesPerHour = 60;
constexpr std::int64_t MinutesPerDay = 24 * MinutesPerHour;
constexpr std::int64_t MaxIntervalDays = 31;

// The folder without its trailing separator, but for a drive's or the file system's root.
QString nativeFolderOf(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    const qsizetype separator = native.lastIndexOf(QDir::separator());
    const bool root = separator == 0 || (separator == 2 && native.at(1) == u':');
    return native.left(root ? separator + 1 : separator);
}

QString commandLineWord(const QString& path)
{
    if (path.contains(u'"'))
        throw RunlatchError(
            QCoreApplication::translate("ScheduleExport",
                                        "%1 holds a double quote, which the Task Scheduler "
                                        "cannot pass on.")
                .arg(path));
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

QString taskTime(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void writeTrigger(QXmlStreamWriter& xml, const JobSchedule& schedule, const QDateTime& now)
{
    xml.writeStartElement(QStringLiteral("Triggers"));
    // The trigger's elements go in the order the task schema's sequence sets.
    xml.writeStartElement(QStringLiteral("TimeTrigger"));
    xml.writeTextElement(QStringLiteral("Enabled"), QStringLiteral("true"));
    xml.writeTextElement(QStringLiteral("StartBoundary"),
                         taskTime(schedule.firstRun.value_or(now)));
    // Without a duration the repetition goes on for as long as the task exists.
    if (schedule.periodMinutes > 0) {
        xml.writeStartElement(QStringLiteral("Repetition"));
        xml.writeTextElement(QStringLiteral("Interval"), taskInterval(schedule.periodMinutes));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

void writeSettings(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("Settings"));
    // A run that is still going when the next falls due takes that turn, as in the window.
    xml.writeTextElement(QStringLiteral("MultipleInstancesPolicy"), QStringLiteral("IgnoreNew"));
    xml.writeTextElement(QStringLiteral("DisallowStartIfOnBatteries"), QStringLiteral("false"));
    xml.writeTextElement(QStringLiteral("StopIfGoingOnBatteries"), QStringLiteral("false"));
    xml.writeTextElement(QStringLiteral("StartWhenAvailable"), QStringLiteral("true"));
    xml.writeTextElement(QStringLiteral("Enabled"), QStringLiteral("true"));
    xml.writeTextElement(QStringLiteral("ExecutionTimeLimit"), QStringLiteral("PT0S"));
    xml.writeEndElement();
}

void writeAction(QXmlStreamWriter& xml, const QString& jobFilePath, const QString& programPath)
{
    xml.writeStartElement(QStringLiteral("Actions"));
    xml.writeStartElement(QStringLiteral("Exec"));
    xml.writeTextElement(QStringLiteral("Command"), QDir::toNativeSeparators(programPath));
    xml.writeTextElement(QStringLiteral("Arguments"),
                         QStringLiteral("--run ") + commandLineWord(jobFilePath));
    xml.writeTextElement(QStringLiteral("WorkingDirectory"), nativeFolderOf(jobFilePath));
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

QString taskInterval(std::int64_t minutes)
{
    const std::int64_t days = minutes / MinutesPerDay;
    if (days > MaxIntervalDays || (days == MaxIntervalDays && minutes % MinutesPerDay > 0))
        throw RunlatchError(QCoreApplication::translate("ScheduleExport",
                                                        "The Task Scheduler repeats a task at most "
                                                        "every 31 days; this job repeats every "
                                                        "%1 hours and %2 minutes.")
                                .arg(minutes / MinutesPerHour)
                                .arg(minutes % MinutesPerHour));
    const std::int64_t hours = minutes % MinutesPerDay / MinutesPerHour;
    const std::int64_t rest = minutes % MinutesPerHour;
    QString interval = QStringLiteral("P");
    if (days > 0)
        interval += QStringLiteral("%1D").arg(days);
    if (hours > 0 || rest > 0)
        interval += u'T';
    if (hours > 0)
        interval += QStringLiteral("%1H").arg(hours);
    if (rest > 0)
        interval += QStringLiteral("%1M").arg(rest);
    return interval;
}

QString taskName(const QString& jobFilePath)
{
    return QStringLiteral("Runlatch ") + jobNameOf(jobFilePath);
}

QByteArray taskSchedulerXml(const QString& jobFilePath, const QString& programPath,
                            const JobSchedule& schedule, const QDateTime& now)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n");
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.writeStartElement(QStringLiteral("Task"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
    xml.writeDefaultNamespace(
        QStringLiteral("http://schemas.microsoft.com/windows/2004/02/mit/task"));
    xml.writeStartElement(QStringLiteral("RegistrationInfo"));
    xml.writeTextElement(QStringLiteral("Description"),
                         QStringLiteral("Runlatch: run ") + QDir::toNativeSeparators(jobFilePath));
    xml.writeEndElement();
    writeTrigger(xml, schedule, now);
    writeSettings(xml);
    writeAction(xml, jobFilePath, programPath);
    xml.writeEndElement();
    xml.writeEndDocument();
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}
