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
};

void TestStatusTexts::jobFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("saved") << u"/home/ann/jobs/nightly.ini"_s << false << u"nightly.ini"_s;
    QTest::newRow("edited") << u"/home/ann/jobs/nightly.ini"_s << true << u"nightly.ini *"_s;
    QTest::newRow("none yet, edited") << QString() << true << u"No job file *"_s;
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
    QTest::addColumn<QString>("shown");

    // Now is 14:00 on 9 December 2026.
    // clang-format off
    QTest::newRow("nothing armed")        << QString()           << QString()           << u"Idle"_s;
    QTest::newRow("delayed start")        << u"2026-12-09 14:30"_s << QString()         << u"Delayed start at 14:30 Dec 09"_s;
    QTest::newRow("delayed start first")  << u"2026-12-24 06:30"_s << u"2026-12-09 15:00"_s << u"Delayed start at 06:30 Dec 24"_s;
    QTest::newRow("next run today")       << QString() << u"2026-12-09 15:00"_s << u"Next run at 15:00 (every 1 h 0 min)"_s;
    QTest::newRow("next run tomorrow")    << QString() << u"2026-12-10 00:05"_s << u"Next run at 00:05 Dec 10 (every 1 h 0 min)"_s;
    // clang-format on
}

void TestStatusTexts::schedule()
{
    QFETCH(QString, delayedStart);
    QFETCH(QString, nextRun);
    QFETCH(QString, shown);
    const auto moment = [](const QString& text) -> std::optional<QDateTime> {
        if (text.isEmpty())
            return std::nullopt;
        return QDateTime::fromString(text, u"yyyy-MM-dd HH:mm"_s);
    };
    const StatusTexts::Schedule schedule{moment(delayedStart), moment(nextRun), 1, 0};
    const QDateTime now(QDate(2026, 12, 9), QTime(14, 0));
    QCOMPARE(StatusTexts::schedule(schedule, now, QLocale::c()), shown);
}

QTEST_GUILESS_MAIN(TestStatusTexts)
#include "tst_StatusTexts.moc"
