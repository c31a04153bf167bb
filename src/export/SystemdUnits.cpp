#include "SystemdUnits.h"

#include "Errors.h"
#include "JobSchedule.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The longest unit name systemd takes, its suffix included.
constexpr qsizetype MaxUnitNameLength = 255;

// systemd-escape keeps ":" too, but systemd's own checks of a unit file ("systemd-analyze
// verify") refuse a name that holds one, so it is escaped like the rest.
bool keptByEscape(char byte, bool first)
{
    if (byte == '.')
        return !first;
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '_';
}

// Specifiers begin with "%" in every value that takes them.
QString withoutSpecifiers(QString value)
{
    return value.replace(u'%', QStringLiteral("%%"));
}

// The folder with its trailing "/": a value that ended in a blank or a backslash would lose the
// blank or run on into the next line.
QString folderOf(const QString& path)
{
    return FileDialogRequest::folderOf(path);
}

// A description ends in a quote so that nothing at the end of the path is taken away.
QString descriptionLine(const char* what, const QString& jobFilePath)
{
    return QStringLiteral("Description=Runlatch: %1 \"%2\"\n")
        .arg(QLatin1StringView(what), withoutSpecifiers(jobFilePath));
}

} // namespace

QString systemdEscape(const QString& text)
{
    QString escaped;
    const QByteArray bytes = text.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte == '/')
            escaped += u'-';
        else if (keptByEscape(byte, i == 0))
            escaped += QLatin1Char(byte);
        else
            escaped += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(byte), 2, 16,
                                                   QLatin1Char('0'));
    }
    return escaped;
}

QString systemdUnitStem(const QString& jobFilePath)
{
    const QString stem = QStringLiteral("runlatch-") + systemdEscape(jobNameOf(jobFilePath));
    if (stem.size() + QStringLiteral(".service").size() > MaxUnitNameLength)
        throw RunlatchError(
            QCoreApplication::translate(
                "ScheduleExport", "The name of %1 is too long for the name of a systemd unit.")
                .arg(jobFilePath));
    return stem;
}

QString systemdCommandWord(const QString& word)
{
    QString quoted = withoutSpecifiers(word);
    quoted.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'$', QStringLiteral("$$"));
    return u'"' + quoted + u'"';
}

QString systemdTimeSpan(std::int64_t minutes)
{
    QStringList parts;
    if (const std::int64_t hours = minutes / 60; hours > 0)
        parts << QStringLiteral("%1h").arg(hours);
    if (const std::int64_t rest = minutes % 60; rest > 0)
        parts << QStringLiteral("%1min").arg(rest);
    return parts.join(u' ');
}

QByteArray systemdService(const QString& jobFilePath, const QString& programPath)
{
    const QString execStart =
        QStringList{systemdCommandWord(programPath), systemdCommandWord(QStringLiteral("--run")),
                    systemdCommandWord(jobFilePath)}
            .join(u' ');
    return (QStringLiteral("[Unit]\n") + descriptionLine("run", jobFilePath) +
            QStringLiteral("\n[Service]\nType=oneshot\nWorkingDirectory=") +
            withoutSpecifiers(folderOf(jobFilePath)) + QStringLiteral("\nExecStart=") + execStart +
            u'\n')
        .toUtf8();
}

QByteArray systemdTimer(const QString& jobFilePath, const JobSchedule& schedule)
{
    const QString period = systemdTimeSpan(schedule.periodMinutes);
    QString timer = QStringLiteral("[Unit]\n") + descriptionLine("schedule of", jobFilePath) +
                    QStringLiteral("\n[Timer]\n");
    if (schedule.firstRun)
        timer += QStringLiteral("OnCalendar=") +
                 schedule.firstRun->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\n';
    else
        timer += QStringLiteral("OnActiveSec=") + period + u'\n';
    if (schedule.periodMinutes > 0)
        timer += QStringLiteral("OnUnitActiveSec=") + period + u'\n';
    // A run missed while the computer was off or asleep is made up for at once.
    timer +=
        QStringLiteral("Persistent=true\nAccuracySec=1s\n\n[Install]\nWantedBy=timers.target\n");
    return timer.toUtf8();
}
