#include "ActivityLog.h"
#include "ChildRecords.h"
#include "Errors.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "MemoLines.h"
#include "ProcessingRun.h"
#include "ScratchDir.h"
#include "SettableClock.h"
#include "StartAndWait.h"
#include "Timer.h"

#include <QFile>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

class ListMemo final : public MemoLines {
public:
    QStringList lines;
    [[nodiscard]] int count() const override { return static_cast<int>(lines.size()); }
    void deleteFirst() override { lines.removeFirst(); }
    void append(const QString& line) override { lines << line; }
};

QStringList logLines()
{
    QFile file(QString::fromLatin1(ActivityLog::FileName));
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing>")};
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {};
    if (!bytes.endsWith("\r\n"))
        return {QStringLiteral("<no CR LF at the end>")};
    return QString::fromUtf8(bytes.chopped(2)).split(QStringLiteral("\r\n"));
}

// The pieces a run works on, set up in a scratch folder with a fixed clock.
struct Bench {
    ScratchDir scratch;
    JobTable table;
    MainFlags flags;
    ListMemo memo;
    ActivityLog log;
    SettableClock clock{QDateTime(QDate(2001, 3, 7), QTime(9, 5, 3))};
    Timer elapsedTimer;
    int closes = 0;
    QStringList started;
    Launcher launcher = [this](const QString& name, const QString& param, std::uint16_t show,
                               std::uint32_t wait) {
        started << name + u'|' + param;
        if (show != 5 || wait != WaitMode::Pumping)
            throw RunlatchError(QStringLiteral("wrong show code or wait mode"));
        return StartAndWait(name, param, show, wait);
    };
    ProcessingRun run{table,
                      flags,
                      memo,
                      log,
                      clock,
                      elapsedTimer,
                      [this] { ++closes; },
                      [this](const QString& n, const QString& p, std::uint16_t s, std::uint32_t w) {
                          return launcher(n, p, s, w);
                      }};

    Bench()
    {
        log.PrepareLogFile();
        qputenv("RUNLATCH_CHILD_LOG", scratch.filePath(QStringLiteral("children.txt")).toUtf8());
    }
    ~Bench() { qunsetenv("RUNLATCH_CHILD_LOG"); }

    void add(const QString& name, const QString& param = {})
    {
        table.ProcList[static_cast<std::size_t>(++table.LastProc)] = {name, param};
    }
    [[nodiscard]] QList<ChildRecord> children() const
    {
        return readChildRecords(scratch.filePath(QStringLiteral("children.txt")));
    }
    // Runs and returns the message of the error that ended the run, if any.
    QString execute()
    {
        try {
            run.execute();
        } catch (const RunlatchError& e) {
            return e.message();
        }
        return {};
    }
};

const QString Stamp = QStringLiteral("09:05:03 Mar 07, 2001:  ");

} // namespace

class TestProcessingRun : public QObject {
    Q_OBJECT

private slots:
    void threeEntries();
    void memoRule_data();
    void memoRule();
    void emptyTable_data();
    void emptyTable();
    void missingSecondProgram();
    void failedLogAppendStopsBeforeTheProgram();
    void autoRunClosesOnlyAfterSuccess();
    void entriesAreReadWhenReached();
    void nestedRunFromTheMenu();
};

void TestProcessingRun::threeEntries()
{
    Bench b;
    const QString child = testChildPath();
    b.add(child, QStringLiteral("one 'two words'"));
    b.add(child);
    b.add(child, QStringLiteral("\"x y\" z"));
    QCOMPARE(b.execute(), QString());

    const QStringList entryLines{Stamp + child + QStringLiteral(" one 'two words'"),
                                 Stamp + child + u' ',
                                 Stamp + child + QStringLiteral(" \"x y\" z")};
    const QString complete = Stamp + QStringLiteral("Processes Complete");
    QCOMPARE(b.memo.lines, entryLines + QStringList({complete, QString()}));
    QCOMPARE(logLines(), entryLines + QStringList{complete});
    QVERIFY(!b.flags.RunInProgress);

    const QList<ChildRecord> children = b.children();
    QCOMPARE(children.size(), 3);
    QCOMPARE(children[0].args, (QStringList{QStringLiteral("one"), QStringLiteral("two words")}));
    QCOMPARE(children[1].args, QStringList());
    QCOMPARE(children[2].args, (QStringList{QStringLiteral("x y"), QStringLiteral("z")}));
    // Each program has ended before the next one starts.
    QVERIFY(children[0].endNs <= children[1].startNs);
    QVERIFY(children[1].endNs <= children[2].startNs);
}

void TestProcessingRun::memoRule_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("firstLine");

    // A run adds its entries, the completion line and the separator.
    QTest::newRow("empty memo, three entries") << 0 << 3 << 5 << "/bin/true";
    QTest::newRow("fills to exactly 15") << 10 << 3 << 15 << "old 0";
    QTest::newRow("sixteenth addition drops the first") << 11 << 3 << 15 << "old 1";
    QTest::newRow("long run keeps the newest 15") << 0 << 20 << 15 << "/bin/true";
    QTest::newRow("typed lines beyond the limit shrink one per addition")
        << 20 << 1 << 20 << "old 3";
}

void TestProcessingRun::memoRule()
{
    QFETCH(int, before);
    QFETCH(int, entries);
    QFETCH(int, after);
    QFETCH(QString, firstLine);
    Bench b;
    for (int i = 0; i < before; ++i)
        b.memo.lines << QStringLiteral("old %1").arg(i);
    b.launcher = [](const QString&, const QString&, std::uint16_t, std::uint32_t) {
        return true;
    };
    for (int i = 0; i < entries; ++i)
        b.add(QStringLiteral("/bin/true"));
    QCOMPARE(b.execute(), QString());
    QCOMPARE(b.memo.count(), after);
    QVERIFY2(b.memo.lines.first().contains(firstLine), qPrintable(b.memo.lines.first()));
    QCOMPARE(b.memo.lines.last(), QString());
    // The log keeps every line whatever the memo dropped.
    QCOMPARE(logLines().size(), entries + 1);
}

void TestProcessingRun::emptyTable_data()
{
    QTest::addColumn<std::uint32_t>("interval");
    QTest::addColumn<bool>("autoRun");

    QTest::newRow("no repeat") << std::uint32_t{0} << false;
    QTest::newRow("repeat interval") << std::uint32_t{600000} << false;
    QTest::newRow("auto-run") << std::uint32_t{0} << true;
}

void TestProcessingRun::emptyTable()
{
    QFETCH(std::uint32_t, interval);
    QFETCH(bool, autoRun);
    Bench b;
    b.flags.AutoRun = autoRun;
    b.elapsedTimer.setInterval(interval);
    QCOMPARE(b.execute(), QString());
    QVERIFY(b.memo.lines.isEmpty());
    QCOMPARE(logLines(), QStringList());
    QVERIFY(!b.flags.RunInProgress);
    QCOMPARE(b.elapsedTimer.enabled(), interval != 0);
    QCOMPARE(b.closes, autoRun ? 1 : 0);
}

void TestProcessingRun::missingSecondProgram()
{
    Bench b;
    const QString child = testChildPath();
    const QString missing = b.scratch.filePath(QStringLiteral("gone/missing-tool"));
    b.add(child, QStringLiteral("a"));
    b.add(missing, QStringLiteral("b"));
    b.add(child, QStringLiteral("c"));
    b.elapsedTimer.setInterval(60000);
    QCOMPARE(b.execute(), QStringLiteral("Unable to find application missing-tool"));

    const QStringList expected{Stamp + child + QStringLiteral(" a"),
                               Stamp + missing + QStringLiteral(" b")};
    QCOMPARE(b.memo.lines, expected);
    QCOMPARE(logLines(), expected);
    QCOMPARE(b.children().size(), 1);
    QVERIFY(b.flags.RunInProgress);
    QVERIFY(!b.elapsedTimer.enabled());

    // A later run from the menu with the program back in place ends normally and clears the flag.
    QVERIFY(QDir().mkpath(b.scratch.filePath(QStringLiteral("gone"))));
    QVERIFY(QFile::copy(child, missing));
    QCOMPARE(b.execute(), QString());
    QVERIFY(!b.flags.RunInProgress);
    QVERIFY(b.elapsedTimer.enabled());
    QCOMPARE(b.children().size(), 4);
}

void TestProcessingRun::failedLogAppendStopsBeforeTheProgram()
{
    Bench b;
    b.add(testChildPath(), QStringLiteral("never"));
    QVERIFY(QFile::remove(QString::fromLatin1(ActivityLog::FileName)));
    QCOMPARE(b.execute(), QStringLiteral("File not found"));
    QCOMPARE(b.memo.lines, QStringList{Stamp + testChildPath() + QStringLiteral(" never")});
    QVERIFY(b.started.isEmpty());
    QVERIFY(b.flags.RunInProgress);
}

void TestProcessingRun::autoRunClosesOnlyAfterSuccess()
{
    Bench b;
    b.flags.AutoRun = true;
    b.add(QStringLiteral("/nonexistent/tool"));
    QVERIFY(!b.execute().isEmpty());
    QCOMPARE(b.closes, 0);

    b.table.ProcList[0].Name = testChildPath();
    QCOMPARE(b.execute(), QString());
    QCOMPARE(b.closes, 1);
    QVERIFY(b.flags.AutoRun);
}

void TestProcessingRun::entriesAreReadWhenReached()
{
    Bench b;
    for (const char* name : {"a", "b", "c"})
        b.add(testChildPath(), QString::fromLatin1(name));
    // While the first program runs an editor shortens the table and rewrites the second entry.
    bool edited = false;
    b.launcher = [&](const QString& n, const QString& p, std::uint16_t s, std::uint32_t w) {
        b.started << p;
        if (!edited) {
            edited = true;
            b.table.ProcList[1].Param = QStringLiteral("B");
            b.table.LastProc = 0;
        }
        return StartAndWait(n, p, s, w);
    };
    QCOMPARE(b.execute(), QString());
    // The count was fixed at the start; the slot above the new end kept its entry.
    QCOMPARE(b.started,
             (QStringList{QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("c")}));
}

void TestProcessingRun::nestedRunFromTheMenu()
{
    Bench b;
    b.elapsedTimer.setInterval(60000);
    b.add(testChildPath(), QStringLiteral("outer-1"));
    b.add(testChildPath(), QStringLiteral("outer-2"));
    // The user chooses File > Process while the first program runs: a whole second run happens
    // inside the first one's pumping wait.
    qputenv("RUNLATCH_CHILD_SLEEP_MS", "300");
    bool nestedStarted = false;
    b.launcher = [&](const QString& n, const QString& p, std::uint16_t s, std::uint32_t w) {
        b.started << p;
        if (!nestedStarted) {
            nestedStarted = true;
            QTimer::singleShot(0, [&] {
                qunsetenv("RUNLATCH_CHILD_SLEEP_MS");
                QCOMPARE(b.execute(), QString());
                QVERIFY(!b.flags.RunInProgress);
            });
        }
        return StartAndWait(n, p, s, w);
    };
    QCOMPARE(b.execute(), QString());
    qunsetenv("RUNLATCH_CHILD_SLEEP_MS");

    QCOMPARE(b.started, (QStringList{QStringLiteral("outer-1"), QStringLiteral("outer-1"),
                                     QStringLiteral("outer-2"), QStringLiteral("outer-2")}));
    // The nested run's lines and completion come before the outer run goes on.
    const QStringList log = logLines();
    QCOMPARE(log.size(), 6);
    QVERIFY(log[0].endsWith(QStringLiteral("outer-1")));
    QVERIFY(log[3].endsWith(QStringLiteral("Processes Complete")));
    QVERIFY(log[4].endsWith(QStringLiteral("outer-2")));
    QVERIFY(log[5].endsWith(QStringLiteral("Processes Complete")));
    // The outer run's second program started only after its own first program and the whole
    // nested run had ended.
    QList<ChildRecord> children = b.children();
    QCOMPARE(children.size(), 4);
    std::sort(children.begin(), children.end(),
              [](const ChildRecord& l, const ChildRecord& r) { return l.startNs < r.startNs; });
    QCOMPARE(children.last().args, QStringList{QStringLiteral("outer-2")});
    for (qsizetype i = 0; i < 3; ++i)
        QVERIFY(children[i].endNs <= children.last().startNs);
    QVERIFY(!b.flags.RunInProgress);
    QVERIFY(b.elapsedTimer.enabled());
}

QTEST_GUILESS_MAIN(TestProcessingRun)
#include "tst_ProcessingRun.moc"
