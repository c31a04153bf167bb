#include "DateTime.h"

#include <QTest>

class TestDateTime : public QObject {
    Q_OBJECT

private slots:
    void dayCountsAndDateTimesConvertBothWays_data();
    void dayCountsAndDateTimesConvertBothWays();
    void combineTakesTheDayOfOneAndTheTimeOfTheOther_data();
    void combineTakesTheDayOfOneAndTheTimeOfTheOther();
    void outOfRangeIsInvalid_data();
    void outOfRangeIsInvalid();
    void timestampShowsTimeThenDate_data();
    void timestampShowsTimeThenDate();
    void timestampFollowsLocale();
};

void TestDateTime::dayCountsAndDateTimesConvertBothWays_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<double>("days");

    QTest::newRow("origin") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
    QTest::newRow("noon at origin") << QDateTime(QDate(1899, 12, 30), QTime(12, 0)) << 0.5;
    QTest::newRow("worked example")
        << QDateTime(QDate(2026, 12, 24), QTime(6, 30)) << 46380.0 + 6.5 / 24.0;
    QTest::newRow("day before origin, 06:00")
        << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << -1.25;
    QTest::newRow("two days before, 18:00")
        << QDateTime(QDate(1899, 12, 28), QTime(18, 0)) << -2.75;
    QTest::newRow("1 January 1900") << QDateTime(QDate(1900, 1, 1), QTime(0, 0)) << 2.0;
    QTest::newRow("last millisecond of a day")
        << QDateTime(QDate(2001, 3, 7), QTime(23, 59, 59, 999))
        << 36957.0 + 86399999.0 / 86400000.0;
}

void TestDateTime::dayCountsAndDateTimesConvertBothWays()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(double, days);
    QCOMPARE(toDateTime(dateTime), days);
    QCOMPARE(fromDateTime(days), dateTime);
}

void TestDateTime::combineTakesTheDayOfOneAndTheTimeOfTheOther_data()
{
    QTest::addColumn<double>("datePart");
    QTest::addColumn<double>("timePart");
    QTest::addColumn<double>("expected");

    // clang-format off
    QTest::newRow("date's time ignored") << 46086.9 << 0.6041666666666666 << 46086.6041666666666666;
    QTest::newRow("time's date ignored") << 46086.0 << 12345.25           << 46086.25;
    QTest::newRow("before the origin")   << -3.0    << 0.5                << -3.5;
    QTest::newRow("negative time part")  << 10.0    << -2.25              << 10.25;
    // clang-format on
}

void TestDateTime::combineTakesTheDayOfOneAndTheTimeOfTheOther()
{
    QFETCH(double, datePart);
    QFETCH(double, timePart);
    QFETCH(double, expected);
    QCOMPARE(combineDateAndTime(datePart, timePart), expected);
}

void TestDateTime::outOfRangeIsInvalid_data()
{
    QTest::addColumn<double>("days");

    // clang-format off
    QTest::newRow("huge positive") << 1e300;
    QTest::newRow("huge negative") << -1e300;
    QTest::newRow("infinity")      << std::numeric_limits<double>::infinity();
    QTest::newRow("NaN")           << std::numeric_limits<double>::quiet_NaN();
    // clang-format on
}

void TestDateTime::outOfRangeIsInvalid()
{
    QFETCH(double, days);
    QVERIFY(!fromDateTime(days).isValid());
}

void TestDateTime::timestampShowsTimeThenDate_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<QString>("expected");

    QTest::newRow("morning") << QDateTime(QDate(2001, 3, 7), QTime(9, 5, 3))
                             << QStringLiteral("09:05:03 Mar 07, 2001");
    QTest::newRow("hours counted to 24") << QDateTime(QDate(2026, 12, 24), QTime(23, 59, 59))
                                         << QStringLiteral("23:59:59 Dec 24, 2026");
    QTest::newRow("midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0))
                              << QStringLiteral("00:00:00 Jan 01, 2027");
    QTest::newRow("year padded to four digits")
        << QDateTime(QDate(987, 6, 5), QTime(4, 3, 2)) << QStringLiteral("04:03:02 Jun 05, 0987");
}

void TestDateTime::timestampShowsTimeThenDate()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(QString, expected);
    QCOMPARE(runTimestamp(dateTime, QLocale::c()), expected);
}

void TestDateTime::timestampFollowsLocale()
{
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 3));
    const QString stamp = runTimestamp(when, finnish);
    // Finnish writes the time with dots and has its own month abbreviations.
    QVERIFY2(stamp.startsWith(QStringLiteral("09.05.03 ")), qPrintable(stamp));
    QVERIFY2(stamp.contains(finnish.monthName(3, QLocale::ShortFormat)), qPrintable(stamp));
    QVERIFY2(stamp.endsWith(QStringLiteral(" 07, 2026")), qPrintable(stamp));
}

QTEST_APPLESS_MAIN(TestDateTime)
#include "tst_DateTime.moc"
