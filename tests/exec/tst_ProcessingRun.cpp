#include "ActivityLog.h"
#include "ChildRecords.h"
#include "Errors.h"
#ifndef Q_OS_WIN
#include "FileSizeLimit.h"
#endif
#include "JobLock.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "MemoLines.h"
#include "ProcessingRun.h"
#include "Scheduler.h"
#include "ScopeExit.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "StartAndWait.h"
#include "TestFiles.h"
#include "Timer.h"
#include "Watchdog.h"

#include <QFile>
#include <QHash>
#include <QTest>

#include <future>
#include <thread>
#include <QTimer>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

class ListMemo final : public MemoLines {
public:
    QStringList lines;
    [[nodiscard]] int count() const override { return static_cast<int>(lines.size()); }
    void deleteFirst() override { lines.removeFirst(); }
    void append(const QString& line) override { lines << line; }
};

const QString LogName = QString::fromLatin1(ActivityLog::FileName);

QStringList logLines()
{
    return crlfLines(LogName);
}

// The pieces a run works on, set up in a scratch folder with a fixed clock.
struct Bench {
    ScratchDir scratch;
    ChildLog childLog{scratch.path()};
    JobTable table;
    MainFlags flags;
    ListMemo memo;
    ActivityLog log;
    SettableClock clock{QDateTime(QDate(2001, 3, 7), QTime(9, 5, 3))};
    Timer startTimer;
    Timer elapsedTimer;
    ScriptedPrompts prompts;
    int closes = 0;
    QStringList started;
    Launcher launcher = [this](const QString& name, const QString& param, std::uint16_t show,
                               std::uint32_t wait, RunStop* stop, std::optional<ProgramEnd>* end) {
        started << name + u'|' + param;
        if (show != 5 || wait != WaitMode::Pumping || stop == nullptr || end == nullptr)
            throw RunlatchError(QStringLiteral("wrong show code, wait mode, stop or end"));
        return StartAndWait(name, param, show, wait, stop, end);
    };
    // Ticks are never delivered here: the tests call the run directly.
    Scheduler scheduler{table, flags, clock, startTimer, elapsedTimer, [] {
                        }};
    ProcessingRun run{table,
                      flags,
                      memo,
                      log,
                      clock,
                      [this] { scheduler.runEnded(); },
                      prompts,
                      [this] { ++closes; },
                      [this](const QString& n, const QString& p, std::uint16_t s, std::uint32_t w,
                             RunStop* stop, std::optional<ProgramEnd>* end) {
                          return launcher(n, p, s, w, stop, end);
                      }};

    Bench() { log.PrepareLogFile(); }

    void add(const QString& name, const QString& param = {}) { addEntry(table, name, param); }
    [[nodiscard]] QList<ChildRecord> children() const { return childLog.records(); }
    // Runs and returns what the general error display showed for the error that ended the run,
    // if any. The run shows it itself and raises nothing.
    QString execute()
    {
        const int shown = prompts.count(ScriptedPrompts::Kind::General);
        run.execute();
        const QStringList texts = prompts.texts(ScriptedPrompts::Kind::General);
        return texts.size() > shown ? texts.constLast() : QString();
    }
};

const QString Stamp = QStringLiteral("09:05:03 Mar 07, 2001:  ");

// A program that ends at once.
QString quickProgram()
{
#ifdef Q_OS_WIN
    return testChildPath();
#else
    return QStringLiteral("/bin/true");
#endif
}

} // namespace

class TestProcessingRun : public QObject {
    Q_OBJECT

private slots:
    void runsEachEntryInTurnAndLogsIt();
    void failedProgramsGetALineAndTheRunGoesOn();
    void memoDropsItsOldestLinesBeyondFifteen_data();
    void memoDropsItsOldestLinesBeyondFifteen();
    void emptyTableRunsNothing_data();
    void emptyTableRunsNothing();
    void failedRunKeepsTheSchedule_data();
    void failedRunKeepsTheSchedule();
    void entriesAreReadWhenReached();
    void nestedRunEndsBeforeTheOuterRunGoesOn();
    void stopEndsTheRunAndKeepsTheSchedule_data();
    void stopEndsTheRunAndKeepsTheSchedule();
    void runHeldOffStartsNothing_data();
    void runHeldOffStartsNothing();
};

void TestProcessingRun::runsEachEntryInTurnAndLogsIt()
{
    Bench b;
    const QString child = testChildPath();
    // Quoted so that a program splits the text alike on every platform.
    b.add(child, QStringLiteral("one \"two words\""));
    b.add(child);
    b.add(child, QStringLiteral("\"x y\" z"));
    QCOMPARE(b.execute(), QString());

    const QStringList entryLines{Stamp + child + QStringLiteral(" one \"two words\""),
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

// A program that exits with 3 and one that is killed (on Windows: that crashes) each get their
// line right after their end, before the next entry's line, and the next entry still runs.
void TestProcessingRun::failedProgramsGetALineAndTheRunGoesOn()
{
#ifdef Q_OS_WIN
    const QString shell = uR"(C:\windows\system32\cmd.exe)"_s;
    const QStringList params{u"/c exit 3"_s, u"/c exit -1073741819"_s};
    const QStringList ends{u"1 0 3 ended with exit code 3"_s,
                           u"2 0 3221225477 ended with exit code 0xC0000005"_s};
#else
    const QString shell = u"/bin/sh"_s;
    const QStringList params{u"-c 'exit 3'"_s, u"-c 'kill -KILL $$'"_s};
    const QStringList ends{u"1 0 3 ended with exit code 3"_s,
                           u"2 1 9 ended by signal 9 (Killed)"_s};
#endif
    Bench b;
    b.add(shell, params[0]);
    b.add(shell, params[1]);
    b.add(testChildPath(), u"next"_s);
    const auto describe = [&shell](const ProgramEnd& end) { // entry, kind, value and text
        return u"%1 %2 %3 "_s.arg(end.entry).arg(int(end.kind)).arg(end.value) +
               (end.program == shell ? end.text : u"<program "_s + end.program + u'>');
    };
    QStringList told;
    QStringList collected; // with the run's end, after the run's entry count
    RunProgress progress;
    progress.programFailed = [&](const ProgramEnd& end) { told << describe(end); };
    progress.ended = [&](const RunProgress::End& end) {
        collected << QString::number(end.count);
        for (const ProgramEnd& failed : end.failedPrograms)
            collected << describe(failed);
    };
    b.run.setProgress(progress);
    QCOMPARE(b.execute(), QString());

    const QString at = Stamp + shell + u' ';
    const QStringList lines{at + params[0], at + ends[0].section(u' ', 3), at + params[1],
                            at + ends[1].section(u' ', 3), Stamp + testChildPath() + u" next"_s,
                            Stamp + u"Processes Complete"_s};
    QCOMPARE(logLines(), lines);
    QCOMPARE(b.memo.lines, lines + QStringList{QString()});
    QCOMPARE(b.children().constLast().args, QStringList{u"next"_s});
    QCOMPARE(told, ends);
    QCOMPARE(collected, QStringList{u"3"_s} + ends);
}

void TestProcessingRun::memoDropsItsOldestLinesBeyondFifteen_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("firstLine");

    // A run adds its entries, the completion line and the separator.
    // clang-format off
    QTest::newRow("empty memo, three entries")               << 0  << 3  << 5  << quickProgram();
    QTest::newRow("fills to exactly 15")                     << 10 << 3  << 15 << "old 0";
    QTest::newRow("sixteenth addition drops the first")      << 11 << 3  << 15 << "old 1";
    QTest::newRow("long run keeps the newest 15")            << 0  << 20 << 15 << quickProgram();
    QTest::newRow("typed lines beyond 15 shrink one by one") << 20 << 1  << 20 << "old 3";
    // clang-format on
}

void TestProcessingRun::memoDropsItsOldestLinesBeyondFifteen()
{
    QFETCH(int, before);
    QFETCH(int, entries);
    QFETCH(int, after);
    QFETCH(QString, firstLine);
    Bench b;
    for (int i = 0; i < before; ++i)
        b.memo.lines << QStringLiteral("old %1").arg(i);
    b.launcher = [](const QString&, const QString&, std::uint16_t, std::uint32_t, RunStop*,
                    std::optional<ProgramEnd>*) { return true; };
    for (int i = 0; i < entries; ++i)
        b.add(quickProgram());
    QCOMPARE(b.execute(), QString());
    QCOMPARE(b.memo.count(), after);
    QVERIFY2(b.memo.lines.first().contains(firstLine), qPrintable(b.memo.lines.first()));
    QCOMPARE(b.memo.lines.last(), QString());
    // The log keeps every line whatever the memo dropped.
    QCOMPARE(logLines().size(), entries + 1);
}

void TestProcessingRun::emptyTableRunsNothing_data()
{
    QTest::addColumn<std::uint32_t>("interval");
    QTest::addColumn<bool>("autoRun");

    // clang-format off
    QTest::newRow("no repeat")       << std::uint32_t{0}      << false;
    QTest::newRow("repeat interval") << std::uint32_t{600000} << false;
    QTest::newRow("auto-run")        << std::uint32_t{0}      << true;
    // clang-format on
}

void TestProcessingRun::emptyTableRunsNothing()
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

void TestProcessingRun::failedRunKeepsTheSchedule_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("logged"); // entry lines in the log when the run stopped
    QTest::addColumn<bool>("autoRun");
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("missing program")
        << "missing program" << 2 << false << "Unable to find application missing-tool.";
    QTest::newRow("missing program, auto-run")
        << "missing program" << 2 << true  << "Unable to find application missing-tool.";
    QTest::newRow("log deleted")
        << "log deleted"     << 0 << false << "File not found.";
    QTest::newRow("disk full")
        << "disk full"       << 0 << true  << "Disk full.";
#ifndef Q_OS_WIN
    QTest::newRow("program that cannot run")
        << "not runnable"    << 2 << false << "System Error.  Code: 13.\nPermission denied.";
#endif
    // clang-format on
}

// A failed run shows its error while the flag is still set, so a tick meanwhile starts nothing,
// and then clears the flag and lets the repeat timer go on: the schedule survives the failure.
void TestProcessingRun::failedRunKeepsTheSchedule()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    QFETCH(int, logged);
    QFETCH(bool, autoRun);
    Bench b;
    const QString child = testChildPath();
    const QString missing = b.scratch.filePath(QStringLiteral("gone/missing-tool"));
    const QString notRunnable = b.scratch.filePath(QStringLiteral("not-runnable"));
    QVERIFY(QFile::copy(child, notRunnable));
    QVERIFY(QFile::setPermissions(notRunnable, QFile::ReadOwner | QFile::WriteOwner));
    b.add(child, QStringLiteral("a"));
    const QHash<QString, QString> failing{{u"missing program"_s, missing},
                                          {u"not runnable"_s, notRunnable}};
    b.add(failing.value(failure, child), QStringLiteral("b"));
    b.add(child, QStringLiteral("c"));
    b.flags.AutoRun = autoRun;
    b.elapsedTimer.setInterval(60000);
    const QByteArray logBefore = readBytes(LogName);
    if (failure == QStringLiteral("log deleted"))
        QVERIFY(QFile::remove(LogName));
        // The log may grow by a few bytes more, as on a disk that is all but full.
#ifdef Q_OS_WIN
    if (failure == QStringLiteral("disk full"))
        QSKIP("POSIX only: a file size limit stands in for a full disk");
    std::optional<int> diskFull;
#else
    std::optional<FileSizeLimit> diskFull;
    if (failure == QStringLiteral("disk full")) {
        diskFull.emplace(static_cast<rlim_t>(logBefore.size() + 10));
        QVERIFY(diskFull->isActive());
    }
#endif

    bool flagWhileShown = false;
    b.prompts.whileAsking = [&](const ScriptedPrompts::Asked&) {
        flagWhileShown = b.flags.RunInProgress;
    };
    QCOMPARE(b.execute(), message);
    diskFull.reset();
    QVERIFY(flagWhileShown);
    QVERIFY(!b.flags.RunInProgress);
    QVERIFY(b.elapsedTimer.enabled());
    QCOMPARE(b.closes, 0);
    QCOMPARE(b.children().size(), logged > 0 ? logged - 1 : 0);
    // The stop line names the last entry logged (the first when the log took none) and the
    // message, on one line; a log that took the entry lines takes it too.
    const QString stopLine = Stamp + u"Run stopped at entry %1 of 3: "_s.arg(qMax(logged, 1)) +
                             QString(message).replace(u'\n', u' ');
    QCOMPARE(b.memo.lines.constLast(), stopLine);
    if (failure != QStringLiteral("log deleted")) {
        // No fragment of the refused line stays behind to run into the next one.
        const QStringList lines = logLines();
        QCOMPARE(lines.mid(logged), logged > 0 ? QStringList{stopLine} : QStringList());
        for (const QString& line : lines)
            QVERIFY2(line.startsWith(Stamp), qPrintable(line));
    }

    // Once the cause is gone the next run, started by a tick, runs the whole list; in auto-run
    // mode that run closes the window.
    if (failure == QStringLiteral("missing program")) {
        QVERIFY(QDir().mkpath(b.scratch.filePath(QStringLiteral("gone"))));
        QVERIFY(QFile::copy(child, missing));
    } else if (failure == QStringLiteral("not runnable")) {
        QVERIFY(QFile::setPermissions(notRunnable, QFile::ReadOwner | QFile::ExeOwner));
    } else if (failure == QStringLiteral("log deleted")) {
        b.log.PrepareLogFile();
    }
    QCOMPARE(b.execute(), QString());
    QVERIFY(!b.flags.RunInProgress);
    QCOMPARE(b.closes, autoRun ? 1 : 0);
}

void TestProcessingRun::entriesAreReadWhenReached()
{
    Bench b;
    for (const char* name : {"a", "b", "c"})
        b.add(testChildPath(), QString::fromLatin1(name));
    // While the first program runs an editor shortens the table and rewrites the second entry.
    bool edited = false;
    b.launcher = [&](const QString& n, const QString& p, std::uint16_t s, std::uint32_t w,
                     RunStop* stop, std::optional<ProgramEnd>* end) {
        b.started << p;
        if (!edited) {
            edited = true;
            b.table.ProcList[1].Param = QStringLiteral("B");
            b.table.LastProc = 0;
        }
        return StartAndWait(n, p, s, w, stop, end);
    };
    QCOMPARE(b.execute(), QString());
    // The count was fixed at the start; the slot above the new end kept its entry.
    QCOMPARE(b.started,
             (QStringList{QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("c")}));
}

void TestProcessingRun::nestedRunEndsBeforeTheOuterRunGoesOn()
{
    Bench b;
    b.elapsedTimer.setInterval(60000);
    b.add(testChildPath(), QStringLiteral("outer-1"));
    b.add(testChildPath(), QStringLiteral("outer-2"));
    // The user chooses File > Process while the first program runs: a whole second run happens
    // inside the first one's pumping wait.
    b.childLog.setSleepMs(300);
    bool nestedStarted = false;
    b.launcher = [&](const QString& n, const QString& p, std::uint16_t s, std::uint32_t w,
                     RunStop* stop, std::optional<ProgramEnd>* end) {
        b.started << p;
        if (!nestedStarted) {
            nestedStarted = true;
            QTimer::singleShot(0, [&] {
                b.childLog.setSleepMs(0);
                QCOMPARE(b.execute(), QString());
                QVERIFY(!b.flags.RunInProgress);
            });
        }
        return StartAndWait(n, p, s, w, stop, end);
    };
    QCOMPARE(b.execute(), QString());

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

void TestProcessingRun::stopEndsTheRunAndKeepsTheSchedule_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("autoRun");
    QTest::addColumn<bool>("askedAgain"); // Stop Run chosen again and again while it waits
#ifdef Q_OS_WIN
    // The test child without a window: it is never asked, only made to end.
    const QString ignores = u"ignores"_s;
#else
    const QString ignores = u"trap '' TERM; exec sleep 60"_s;
#endif
    QTest::newRow("program ends when asked") << u"exec sleep 60"_s << false << false;
    QTest::newRow("program ignores the request") << ignores << false << false;
    QTest::newRow("asking again does not put the kill off") << ignores << false << true;
    QTest::newRow("auto-run stays open") << u"exec sleep 60"_s << true << false;
#ifndef Q_OS_WIN
    // A program the script starts writes its pid to grandchild.pid; the stop comes once it has.
    QTest::newRow("what the program started ends with it")
        << u"sh -c 'echo $$ > grandchild.pid; exec sleep 60'; echo done"_s << false << false;
    QTest::newRow("what ignores the request ends with the program")
        << uR"(sh -c 'trap \"\" TERM; echo $$ > grandchild.pid; exec sleep 60'; echo done)"_s
        << false << false;
#endif
}

// File > Stop Run while the first of two programs runs: it ends (made to, if it will not), the
// second never starts, the run says so in its own words, and the schedule goes on.
void TestProcessingRun::stopEndsTheRunAndKeepsTheSchedule()
{
    QFETCH(QString, script);
    QFETCH(bool, autoRun);
    QFETCH(bool, askedAgain);
    const QString pidFile = u"grandchild.pid"_s;
    const bool grandchild = script.contains(pidFile);
    const FailInsteadOfHanging watchdog;
    Bench b;
    b.flags.AutoRun = autoRun;
    b.elapsedTimer.setInterval(60000);
    b.run.setStopGrace(std::chrono::milliseconds(200));
    QList<RunProgress::End> ends;
    int stoppings = 0;
    RunProgress progress;
    progress.ended = [&ends](const RunProgress::End& end) { ends << end; };
    progress.stopping = [&stoppings] { ++stoppings; };
    b.run.setProgress(progress);
    QVERIFY(!b.run.requestStop());
#ifdef Q_OS_WIN
    b.childLog.setSleepMs(60000);
    b.add(testChildPath(), script);
#else
    b.add(QStringLiteral("/bin/sh"), QStringLiteral("-c \"%1\"").arg(script));
#endif
    b.add(quickProgram());
    QTimer underWay;
    QObject::connect(&underWay, &QTimer::timeout, [&] {
        if (grandchild && !readBytes(pidFile).endsWith('\n'))
            return;
        underWay.stop();
        QVERIFY(b.run.requestStop());
    });
    underWay.start(10);
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] { (void)b.run.requestStop(); });
    if (askedAgain)
        again.start(50);
    QCOMPARE(b.execute(), QString());
    again.stop();

    QCOMPARE(b.started.size(), 1);
    // The stopped program's end has its line before the run's.
    QCOMPARE(logLines().size(), 3);
    QVERIFY(logLines()[1].startsWith(Stamp + b.table.ProcList[0].Name + u" ended "_s));
    QCOMPARE(logLines().constLast(), Stamp + QStringLiteral("Processes Stopped"));
    QCOMPARE(b.memo.lines.mid(b.memo.lines.size() - 2),
             (QStringList{Stamp + QStringLiteral("Processes Stopped"), QString()}));
    QVERIFY(!b.flags.RunInProgress);
    QVERIFY(b.elapsedTimer.enabled());
    QCOMPARE(b.closes, 0);
    QCOMPARE(ends.size(), 1);
    QCOMPARE(ends[0].outcome, RunProgress::Outcome::Stopped);
    QCOMPARE(stoppings, 1);
    if (grandchild)
        QTRY_VERIFY(processGone(readBytes(pidFile).trimmed().toLongLong()));

    // The next run is an ordinary one.
    b.table.LastProc = 0;
    b.childLog.setSleepMs(0);
    b.table.ProcList[0] = {quickProgram(), QString()};
    QCOMPARE(b.execute(), QString());
    QCOMPARE(logLines().constLast(), Stamp + QStringLiteral("Processes Complete"));
    QCOMPARE(ends.constLast().outcome, RunProgress::Outcome::Completed);
}

void TestProcessingRun::runHeldOffStartsNothing_data()
{
    QTest::addColumn<bool>("lockHeld"); // else a stop comes as the first entry is heard of
    QTest::addColumn<QString>("line");  // %1 stands for the job file
    QTest::addColumn<RunProgress::Outcome>("outcome");

    QTest::newRow("another process runs the job file")
        << true << u"Skipped: %1 is being run by another Runlatch"_s
        << RunProgress::Outcome::Skipped;
    QTest::newRow("stop as the entry is heard of")
        << false << u"Processes Stopped"_s << RunProgress::Outcome::Stopped;
}

// Neither starts a program; the schedule goes on, and auto-run mode closes only after a run that
// was not stopped.
void TestProcessingRun::runHeldOffStartsNothing()
{
    QFETCH(bool, lockHeld);
    QFETCH(QString, line);
    QFETCH(RunProgress::Outcome, outcome);
    Bench b;
    b.flags.AutoRun = true;
    b.elapsedTimer.setInterval(60000);
    b.table.JobFileName = b.scratch.filePath(u"jobs.ini"_s);
    // A thread stands in for the other process: on Windows the lock is its holder thread's own.
    std::promise<void> release;
    std::promise<JobLock::State> taken;
    std::thread elsewhere([&, path = lockHeld ? u"jobs.ini"_s : u"other.ini"_s] {
        const JobLock lock(b.scratch.filePath(path));
        taken.set_value(lock.state());
        release.get_future().wait();
    });
    const ScopeExit join([&] {
        release.set_value();
        elsewhere.join();
    });
    QCOMPARE(taken.get_future().get(), JobLock::State::Held);
    b.add(quickProgram());
    QList<RunProgress::Outcome> ends;
    RunProgress progress;
    progress.entryStarted = [&](int, int, const QString&) { QVERIFY(b.run.requestStop()); };
    progress.ended = [&ends](const RunProgress::End& end) { ends << end.outcome; };
    b.run.setProgress(progress);
    QCOMPARE(b.execute(), QString());

    QCOMPARE(b.started, QStringList());
    const QString text = Stamp + line.arg(b.table.JobFileName);
    QCOMPARE(logLines(), QStringList{text});
    QCOMPARE(b.memo.lines, (QStringList{text, QString()}));
    QCOMPARE(ends, QList{outcome});
    QVERIFY(!b.flags.RunInProgress);
    QVERIFY(b.elapsedTimer.enabled());
    QCOMPARE(b.closes, lockHeld ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestProcessingRun)
#include "tst_ProcessingRun.moc"
