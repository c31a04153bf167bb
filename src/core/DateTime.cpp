#include "DateTime.h"

#include <cmath>

namespace {

constexpr double MsecsPerDay = 86400000.0;
// Far beyond any date a user can mean, and well inside what QDate and qint64 can hold: keeps a
// hand-edited job file with 1E300 from turning into undefined behaviour.
constexpr double MaxDays = 100000000.0;

QDate origin()
{
    return {1899, 12, 30};
}

QString timeSeparator(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    qsizetype i = 0;
    while (i < format.size() && format[i].toLower() != u'h')
        ++i;
    while (i < format.size() && format[i].toLower() == u'h')
        ++i;
    QString separator;
    while (i < format.size() && !format[i].isLetter() && format[i] != u'\'')
        separator += format[i++];
    return separator.isEmpty() ? QStringLiteral(":") : separator;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

TDateTime toDateTime(const QDateTime& dateTime)
{
    const auto days = static_cast<double>(origin().daysTo(dateTime.date()));
    const double fraction = dateTime.time().msecsSinceStartOfDay() / MsecsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDateTime(TDateTime value)
{
    if (!std::isfinite(value) || std::fabs(value) > MaxDays)
        return {};
    const double wholeDays = std::trunc(value);
    auto msecs = std::llround(std::fabs(value - wholeDays) * MsecsPerDay);
    QDate date = origin().addDays(static_cast<qint64>(wholeDays));
    if (msecs >= static_cast<long long>(MsecsPerDay)) {
        // Rounding reached midnight of the next day.
        date = date.addDays(1);
        msecs = 0;
    }
    return {date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs))};
}

TDateTime combineDateAndTime(TDateTime datePart, TDateTime timePart)
{
    const double days = std::trunc(datePart);
    const double fraction = std::fabs(timePart - std::trunc(timePart));
    return days >= 0 ? days + fraction : days - fraction;
}

QString runTimestamp(const QDateTime& dateTime, const QLocale& locale)
{
    const QString sep = timeSeparator(locale);
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return twoDigits(time.hour()) + sep + twoDigits(time.minute()) + sep +
           twoDigits(time.second()) + u' ' + locale.monthName(date.month(), QLocale::ShortFormat) +
           u' ' + twoDigits(date.day()) + QStringLiteral(", ") +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}
