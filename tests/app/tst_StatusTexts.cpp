#include "StatusTexts.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStatusTexts : public QObject {
    Q_OBJECT

private slots:
    void jobFile_data();
    void jobFile();
    void schedule_data();
    void schedule();
    void runEnd_data();
    void runEnd();
};

void TestStatusTexts::jobFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("saved") << u"/home/ann/jobs/nightly.ini"_s << false << u"nightly.ini"_s;
    QTest::newRow("edited") << u"/home/ann/jobs/nightly.ini"_s << true << u"nightly.ini *"_s;
    QTest::newRow("none yet, edited") << QString() << true << u"Untitled *"_s;
}

void TestStatusTexts::jobFile()
{
    QFETCH(QString, path);
    QFETCH(bool, changed);
    QFETCH(QString, shown);
    QCOMPARE(StatusTexts::jobFile(path, changed), shown);
}

void TestStatusTexts::schedule_data()
{
    QTest::addColumn<QString>("delayedStart"); // "yyyy-MM-dd HH:mm", or empty
    QTest::addColumn<QString>("nextRun");
    QTest::addColumn<int>("everyHours");
    QTest::addColumn<QString>("shown");

    // Now is 14:00 on 9 December 2026.
    // clang-format off
    QTest::newRow("nothing armed")        << QString()           << QString()           << 0 << u"Idle"_s;
    QTest::newRow("repeat not started")   << QString()           << QString()           << 1 << u"Repeats every 1 h 0 min after the first run"_s;
    QTest::newRow("delayed start")        << u"2026-12-09 14:30"_s << QString()         << 1 << u"Delayed start at 14:30 Dec 09"_s;
    QTest::newRow("next run first")       << u"2026-12-24 06:30"_s << u"2026-12-09 15:00"_s << 1 << u"Next run at 15:00 (every 1 h 0 min); Delayed start at 06:30 Dec 24"_s;
    QTest::newRow("delayed start first")  << u"2026-12-09 14:30"_s << u"2026-12-09 15:00"_s << 1 << u"Delayed start at 14:30 Dec 09; Next run at 15:00 (every 1 h 0 min)"_s;
    QTest::newRow("next run today")       << QString() << u"2026-12-09 15:00"_s << 1 << u"Next run at 15:00 (every 1 h 0 min)"_s;
    QTest::newRow("next run tomorrow")    << QString() << u"2026-12-10 00:05"_s << 1 << u"Next run at 00:05 Dec 10 (every 1 h 0 min)"_s;
    // clang-format on
}

void TestStatusTexts::schedule()
{
    QFETCH(QString, delayedStart);
    QFETCH(QString, nextRun);
    QFETCH(int, everyHours);
    QFETCH(QString, shown);
    const auto moment = [](const QString& text) -> std::optional<QDateTime> {
        if (text.isEmpty())
            return std::nullopt;
        return QDateTime::fromString(text, u"yyyy-MM-dd HH:mm"_s);
    };
    const StatusTexts::Schedule schedule{moment(delayedStart), moment(nextRun), everyHours, 0};
    const QDateTime now(QDate(2026, 12, 9), QTime(14, 0));
    QCOMPARE(StatusTexts::schedule(schedule, now, QLocale::c()), shown);
}

void TestStatusTexts::runEnd_data()
{
    using Outcome = RunProgress::Outcome;
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("failed"); // programs that ended with exit code 3
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("lastRun");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");

    const QString ends = u"/bin/a ended with exit code 3\n/bin/a ended with exit code 3"_s;
    const QString notFound = u"Unable to find application b"_s;
    QTest::newRow("clean") << Outcome::Completed << 0 << notFound << u"Last run completed 14:02"_s
                           << QString() << QString();
    QTest::newRow("programs failed") << Outcome::Completed << 2 << notFound
                                     << u"Last run completed 14:02, 2 of 12 programs failed"_s
                                     << u"2 of 12 programs failed"_s << ends;
    QTest::newRow("stopped by hand") << Outcome::Stopped << 0 << notFound
                                     << u"Last run stopped 14:02"_s << QString() << QString();
    QTest::newRow("could not start")
        << Outcome::Failed << 0 << notFound
        << u"Last run failed at entry 4: Unable to find application b"_s << u"Run failed"_s
        << u"/bin/b at entry 4 of 12: Unable to find application b"_s;
    QTest::newRow("a message of lines is one line in the status bar")
        << Outcome::Failed << 0 << u"Win32 Error.  Code: 193.\r\nBad EXE\nformat"_s
        << u"Last run failed at entry 4: Win32 Error.  Code: 193. Bad EXE format"_s
        << u"Run failed"_s
        << u"/bin/b at entry 4 of 12: Win32 Error.  Code: 193.\r\nBad EXE\nformat"_s;
}

void TestStatusTexts::runEnd()
{
    QFETCH(RunProgress::Outcome, outcome);
    QFETCH(int, failed);
    QFETCH(QString, message);
    RunProgress::End end{outcome, QDateTime(QDate(2026, 12, 9), QTime(14, 2)), 4, message, 12, {}};
    for (int i = 0; i < failed; ++i)
        end.failedPrograms << ProgramEnd{1, u"/bin/a"_s, ProgramEnd::Kind::ExitCode, 3,
                                         u"ended with exit code 3"_s};
    QTEST(StatusTexts::lastRun(end), "lastRun");
    QTEST(StatusTexts::failureSummary(end), "summary");
    QTEST(StatusTexts::failureBody(end, u"/bin/b"_s), "body");
}

QTEST_GUILESS_MAIN(TestStatusTexts)
#include "tst_StatusTexts.moc"
