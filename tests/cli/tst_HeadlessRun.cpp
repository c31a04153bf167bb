// "--run" and "/R" without a display, through the real program in a scratch folder with no
// display in its environment: what it writes, what it prints and its exit status; its stop on a
// signal; and one run per job file across processes.
#include "ScratchDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

namespace {

const QString Program = QStringLiteral(RUNLATCH_PROGRAM);
const QString Shell = QStringLiteral("/bin/sh");

// A program that says it started (a file named started), then waits until there is a file named
// gate; trapTerm makes it ignore SIGTERM, as some programs do.
QString waitingProgram(bool trapTerm = false)
{
    // It gives up when its folder is gone, so a test that failed leaves nothing behind.
    return QStringLiteral(
               "-c \"%1: > started; while [ ! -e gate ] && [ -e jobs.ini ]; do sleep 0.05; done\"")
        .arg(trapTerm ? QStringLiteral("trap '' TERM; ") : QString());
}

QStringList textsAfterStamps(const QStringList& lines)
{
    static const QRegularExpression stamp(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d [A-Z][a-z][a-z] \\d\\d, \\d\\d\\d\\d:  "));
    QStringList texts;
    for (const QString& line : lines)
        texts << (stamp.match(line).hasMatch() ? line.mid(stamp.match(line).capturedLength())
                                               : QStringLiteral("<no stamp> ") + line);
    return texts;
}

struct Headless {
    ScratchDir scratch;

    Headless() { QDir(scratch.path()).mkdir(QStringLiteral("run")); }

    [[nodiscard]] QString path(const QString& name) const { return scratch.filePath(name); }
    QString writeJob(const QList<JobEntry>& entries, const QString& name = "jobs.ini") const
    {
        static_cast<void>(writeBytes(path(name), processesSection(entries)));
        return path(name);
    }
    // Started as a timer or a script would: no display to be reached, unless it opens its window
    // on an offscreen one.
    // A desktop session gives its programs a runtime folder; cron and ssh give none.
    void start(QProcess& process, const QStringList& arguments, bool window = false,
               bool session = false, const QString& program = Program) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        // A display named where none answers, as a stale session leaves it, is none.
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":1999"));
        if (window)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (session)
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(scratch.path());
        process.start(program, arguments);
    }
    [[nodiscard]] QStringList log() const
    {
        return textsAfterStamps(crlfLines(path(QStringLiteral("Runlatch.log"))));
    }
    [[nodiscard]] bool started() const { return QFile::exists(path(QStringLiteral("started"))); }
    void openGate() const { static_cast<void>(writeBytes(path(QStringLiteral("gate")), {})); }
};

} // namespace

class TestHeadlessRun : public QObject {
    Q_OBJECT

private slots:
    void runsOnceAndTellsHowInItsStatus_data();
    void runsOnceAndTellsHowInItsStatus();
    void signalStopsTheRun_data();
    void signalStopsTheRun();
    void signalTheCallerIgnoresStaysIgnored();
    void oneRunPerJobFile_data();
    void oneRunPerJobFile();
};

void TestHeadlessRun::runsOnceAndTellsHowInItsStatus_data()
{
    QTest::addColumn<QList<JobEntry>>("entries");
    QTest::addColumn<QStringList>("arguments"); // %1 stands for the job file's path
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("log");

    const JobEntry ok{Shell, QStringLiteral("-c \"exit 0\"")};
    const QStringList okLines{QStringLiteral("/bin/sh -c \"exit 0\""),
                              QStringLiteral("Processes Complete")};
    QTest::newRow("every program ends with 0")
        << QList{ok} << QStringList{"--run", "jobs.ini"} << 0 << okLines;
    QTest::newRow("/R where there is no display")
        << QList{ok} << QStringList{"/I%1", "/R"} << 0 << okLines;
    QTest::newRow("a program fails, the list runs on")
        << QList<JobEntry>{{Shell, "-c \"exit 3\""}, {Shell, "-c \"kill -KILL $$\""}, ok}
        << QStringList{"--run", "%1"} << 1
        << QStringList{"/bin/sh -c \"exit 3\"",
                       "/bin/sh ended with exit code 3",
                       "/bin/sh -c \"kill -KILL $$\"",
                       "/bin/sh ended by signal 9 (Killed)",
                       okLines[0],
                       okLines[1]};
    QTest::newRow("a program cannot start, the run stops")
        << QList<JobEntry>{{"/nonexistent/tool", ""}, ok} << QStringList{"--run", "jobs.ini"} << 2
        << QStringList{"/nonexistent/tool ",
                       "Run stopped at entry 1 of 2: Unable to find application tool."};
    QTest::newRow("no such job file")
        << QList{ok} << QStringList{"--run", "other.ini"} << 3 << QStringList{};
    QTest::newRow("--run without a job file")
        << QList{ok} << QStringList{"--run"} << 3 << QStringList{};
    QTest::newRow("--run with more")
        << QList{ok} << QStringList{"--run", "jobs.ini", "/R"} << 3 << QStringList{};
    QTest::newRow("--run not first")
        << QList{ok} << QStringList{"/R", "--run", "jobs.ini"} << 3 << QStringList{};
}

void TestHeadlessRun::runsOnceAndTellsHowInItsStatus()
{
    QFETCH(QList<JobEntry>, entries);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, log);

    const Headless headless;
    const QString job = headless.writeJob(entries);
    arguments.replaceInStrings(QStringLiteral("%1"), job);
    QProcess process;
    headless.start(process, arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    // A job that cannot be read leaves no log behind.
    QCOMPARE(QFile::exists(headless.path(QStringLiteral("Runlatch.log"))), status != 3);
    if (status != 3)
        QCOMPARE(headless.log(), log);
    // Every line of the log, and nothing else, on standard output; a message on standard error
    // whenever the status is not a program's doing.
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    QCOMPARE(textsAfterStamps(output.split(u'\n', Qt::SkipEmptyParts)), log);
    QCOMPARE(process.readAllStandardError().startsWith("runlatch: "), status >= 2);
}

void TestHeadlessRun::signalStopsTheRun_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("trapTerm");
    QTest::addColumn<QString>("programEnd");

    // Made to end once the grace time is over.
    QTest::newRow("SIGTERM, to a program that ignores it")
        << int{SIGTERM} << true << QStringLiteral("ended by signal 9 (Killed)");
    QTest::newRow("SIGINT") << int{SIGINT} << false
                            << QStringLiteral("ended by signal 15 (Terminated)");
    QTest::newRow("SIGHUP") << int{SIGHUP} << false
                            << QStringLiteral("ended by signal 15 (Terminated)");
}

void TestHeadlessRun::signalStopsTheRun()
{
    QFETCH(int, signal);
    QFETCH(bool, trapTerm);
    QFETCH(QString, programEnd);

    const Headless headless;
    const QString waiting = waitingProgram(trapTerm);
    headless.writeJob({{Shell, waiting}, {Shell, QStringLiteral("-c \": > second\"")}});
    QProcess process;
    headless.start(process, {QStringLiteral("--run"), QStringLiteral("jobs.ini")});
    QTRY_VERIFY_WITH_TIMEOUT(headless.started(), 20000);
    QVERIFY(::kill(static_cast<pid_t>(process.processId()), signal) == 0);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 128 + signal);
    QCOMPARE(headless.log(), (QStringList{QStringLiteral("/bin/sh ") + waiting,
                                          QStringLiteral("/bin/sh ") + programEnd,
                                          QStringLiteral("Processes Stopped")}));
    QVERIFY(!QFile::exists(headless.path(QStringLiteral("second"))));
}

// nohup and a shell's background jobs start a program with SIGHUP or SIGINT ignored.
void TestHeadlessRun::signalTheCallerIgnoresStaysIgnored()
{
    const Headless headless;
    headless.writeJob({{Shell, waitingProgram()}});
    QProcess process;
    headless.start(
        process,
        {QStringLiteral("-c"), QStringLiteral("trap '' HUP; exec \"$0\" --run jobs.ini"), Program},
        false, false, Shell);
    QTRY_VERIFY_WITH_TIMEOUT(headless.started(), 20000);
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const auto mask = [&](const QByteArray& name) {
        const QByteArray text = status.readAll();
        const qsizetype at = text.indexOf(name + ":\t") + name.size() + 2;
        status.seek(0);
        return text.mid(at, 16).toULongLong(nullptr, 16);
    };
    const unsigned long long hangUp = 1ULL << (SIGHUP - 1);
    QCOMPARE(mask("SigIgn") & hangUp, hangUp);
    QCOMPARE(mask("SigCgt") & (1ULL << (SIGTERM - 1)), 1ULL << (SIGTERM - 1));
    headless.openGate();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
}

void TestHeadlessRun::oneRunPerJobFile_data()
{
    QTest::addColumn<bool>("killFirst");
    QTest::addColumn<QStringList>("second"); // %1 stands for the scratch folder
    QTest::addColumn<int>("status");

    QTest::newRow("while another runs it, by another name")
        << false << QStringList{"--run", "./link.ini"} << 4;
    QTest::newRow("a window's /R while another runs it")
        << false << QStringList{"/I%1/jobs.ini", "/R"} << 4;
    QTest::newRow("after the run that held it was killed")
        << true << QStringList{"--run", "jobs.ini"} << 0;
}

void TestHeadlessRun::oneRunPerJobFile()
{
    QFETCH(bool, killFirst);
    QFETCH(QStringList, second);
    QFETCH(int, status);

    const Headless headless;
    const QString job = headless.writeJob({{Shell, waitingProgram()}});
    QVERIFY(QFile::link(job, headless.path(QStringLiteral("link.ini"))));
    headless.writeJob({{Shell, QStringLiteral("-c \"exit 0\"")}}, QStringLiteral("other.ini"));
    QProcess first;
    headless.start(first, {QStringLiteral("--run"), job}, false, true);
    QTRY_VERIFY_WITH_TIMEOUT(headless.started(), 20000);
    if (killFirst) {
        first.kill();
        QVERIFY(first.waitForFinished(10000));
    }

    // The waiting program outlives a killed run, but holds no lock of it.
    QFile::remove(headless.path(QStringLiteral("started")));
    second.replaceInStrings(QStringLiteral("%1"), headless.scratch.path());
    const bool window = second.constFirst() != QStringLiteral("--run");
    QProcess secondRun;
    headless.start(secondRun, second, window);
    QProcess otherJob;
    headless.start(otherJob, {QStringLiteral("--run"), QStringLiteral("other.ini")});
    QVERIFY(otherJob.waitForFinished(30000));
    QCOMPARE(otherJob.exitCode(), 0);
    if (status == 4) {
        QVERIFY(secondRun.waitForFinished(30000));
        QCOMPARE(secondRun.exitCode(), 4);
        const QString named = window ? second.constFirst().mid(2) : second.constLast();
        const QString skipped = QStringLiteral("Skipped: %1 is being run by another Runlatch")
                                    .arg(QFileInfo(named).absoluteFilePath());
        QVERIFY2(headless.log().contains(skipped), qPrintable(headless.log().join(u'\n')));
        if (!window)
            QVERIFY(secondRun.readAllStandardOutput().contains(skipped.toLocal8Bit()));
    }
    if (status == 0)
        QTRY_VERIFY_WITH_TIMEOUT(headless.started(), 20000);
    headless.openGate();
    if (status == 0) {
        QVERIFY(secondRun.waitForFinished(30000));
        QCOMPARE(secondRun.exitCode(), 0);
    }
    if (!killFirst) {
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
    }
}

QTEST_GUILESS_MAIN(TestHeadlessRun)
#include "tst_HeadlessRun.moc"
