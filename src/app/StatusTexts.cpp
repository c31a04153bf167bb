#include "StatusTexts.h"

#include "TrimmedText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

using namespace Qt::StringLiterals;

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

QString programsFailed(int failedCount, int count)
{
    return QCoreApplication::translate("StatusTexts", "%1 of %2 programs failed")
        .arg(failedCount)
        .arg(count);
}

QString failedPart(int failedCount, int count)
{
    return failedCount == 0 ? QString() : u", "_s + programsFailed(failedCount, count);
}

} // namespace

namespace StatusTexts {

QString jobFile(const QString& path, bool changed)
{
    const QString name = path.isEmpty() ? QCoreApplication::translate("StatusTexts", "Untitled")
                                        : QFileInfo(path).fileName();
    return changed ? name + QStringLiteral(" *") : name;
}

QString schedule(const Schedule& schedule, const QDateTime& now, const QLocale& locale)
{
    QString delayed;
    if (schedule.delayedStart)
        delayed = QCoreApplication::translate("StatusTexts", "Delayed start at %1")
                      .arg(timeAndDay(*schedule.delayedStart, locale));
    QString next;
    if (schedule.nextRun)
        next = QCoreApplication::translate("StatusTexts", "Next run at %1 (every %2 h %3 min)")
                   .arg(moment(*schedule.nextRun, now, locale))
                   .arg(schedule.everyHours)
                   .arg(schedule.everyMins);
    if (!delayed.isEmpty() && !next.isEmpty())
        return *schedule.nextRun <= *schedule.delayedStart ? next + u"; "_s + delayed
                                                           : delayed + u"; "_s + next;
    if (!delayed.isEmpty())
        return delayed;
    if (!next.isEmpty())
        return next;
    // The repeat timer starts with the first run, by hand or by the delayed start.
    if (schedule.everyHours != 0 || schedule.everyMins != 0)
        return QCoreApplication::translate("StatusTexts",
                                           "Repeats every %1 h %2 min after the first run")
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

QString completed(const QDateTime& at, int failedCount, int count)
{
    return QCoreApplication::translate("StatusTexts", "Last run completed %1").arg(clockTime(at)) +
           failedPart(failedCount, count);
}

QString stopped(const QDateTime& at, int failedCount, int count)
{
    return QCoreApplication::translate("StatusTexts", "Last run stopped %1").arg(clockTime(at)) +
           failedPart(failedCount, count);
}

// The status bar shows one line, and a system error's message has two: it reads on, each line
// break a blank.
QString failed(int entry, const QString& message)
{
    return QCoreApplication::translate("StatusTexts", "Last run failed at entry %1: %2")
        .arg(entry)
        .arg(oneLineText(message));
}

QString lastRun(const RunProgress::End& end)
{
    const int failedCount = static_cast<int>(end.failedPrograms.size());
    switch (end.outcome) {
    case RunProgress::Outcome::Completed:
        return completed(end.at, failedCount, end.count);
    case RunProgress::Outcome::Stopped:
        return stopped(end.at, failedCount, end.count);
    case RunProgress::Outcome::Skipped:
        return QCoreApplication::translate(
                   "StatusTexts", "Last run skipped %1: another Runlatch was running the job file")
            .arg(clockTime(end.at));
    case RunProgress::Outcome::Failed:
        break;
    }
    return failed(end.entry, end.message);
}

QString programEnds(const QList<ProgramEnd>& ends)
{
    QStringList lines;
    for (const ProgramEnd& end : ends)
        lines << end.program + u' ' + end.text;
    return lines.join(u'\n');
}

QString failureSummary(const RunProgress::End& end)
{
    if (end.outcome == RunProgress::Outcome::Failed)
        return QCoreApplication::translate("StatusTexts", "Run failed");
    if (end.failedPrograms.isEmpty())
        return {};
    return programsFailed(static_cast<int>(end.failedPrograms.size()), end.count);
}

QString failureBody(const RunProgress::End& end, const QString& failedProgram)
{
    if (end.outcome != RunProgress::Outcome::Failed)
        return programEnds(end.failedPrograms);
    const QString stoppedAt = QCoreApplication::translate("StatusTexts", "%1 at entry %2 of %3: %4")
                                  .arg(failedProgram)
                                  .arg(end.entry)
                                  .arg(end.count)
                                  .arg(end.message);
    return end.failedPrograms.isEmpty() ? stoppedAt
                                        : programEnds(end.failedPrograms) + u'\n' + stoppedAt;
}

} // namespace StatusTexts
