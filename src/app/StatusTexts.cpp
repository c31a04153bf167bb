#include "StatusTexts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString clockTime(const QDateTime& at)
{
    return at.toString(QStringLiteral("HH:mm"));
}

QString timeAndDay(const QDateTime& at, const QLocale& locale)
{
    return QStringLiteral("%1 %2 %3")
        .arg(clockTime(at), locale.monthName(at.date().month(), QLocale::ShortFormat))
        .arg(at.date().day(), 2, 10, QLatin1Char('0'));
}

// "14:30" today, "14:30 Dec 10" on another day.
QString moment(const QDateTime& at, const QDateTime& now, const QLocale& locale)
{
    return at.date() == now.date() ? clockTime(at) : timeAndDay(at, locale);
}

} // namespace

namespace StatusTexts {

QString jobFile(const QString& path, bool changed)
{
    const QString name = path.isEmpty() ? QCoreApplication::translate("StatusTexts", "No job file")
                                        : QFileInfo(path).fileName();
    return changed ? name + QStringLiteral(" *") : name;
}

QString schedule(const Schedule& schedule, const QDateTime& now, const QLocale& locale)
{
    if (schedule.delayedStart)
        return QCoreApplication::translate("StatusTexts", "Delayed start at %1")
            .arg(timeAndDay(*schedule.delayedStart, locale));
    if (schedule.nextRun)
        return QCoreApplication::translate("StatusTexts", "Next run at %1 (every %2 h %3 min)")
            .arg(moment(*schedule.nextRun, now, locale))
            .arg(schedule.everyHours)
            .arg(schedule.everyMins);
    return QCoreApplication::translate("StatusTexts", "Idle");
}

QString running(int entry, int count, const QString& program)
{
    return QCoreApplication::translate("StatusTexts", "Running %1 of %2: %3")
        .arg(entry)
        .arg(count)
        .arg(program);
}

QString completed(const QDateTime& at)
{
    return QCoreApplication::translate("StatusTexts", "Last run completed %1").arg(clockTime(at));
}

QString stopped(const QDateTime& at)
{
    return QCoreApplication::translate("StatusTexts", "Last run stopped %1").arg(clockTime(at));
}

QString failed(int entry, const QString& message)
{
    return QCoreApplication::translate("StatusTexts", "Last run failed at entry %1: %2")
        .arg(entry)
        .arg(message);
}

} // namespace StatusTexts
