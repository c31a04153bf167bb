// Starts the real program as a separate process, as a user or a cron job would, and checks what
// it leaves behind: the log file, what each child received, and whether the program ended.
#include "ChildRecords.h"
#include "ScratchDir.h"
#include "TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Program = QStringLiteral(RUNLATCH_PROGRAM);

QByteArray jobFile(const QList<JobEntry>& entries, const QByteArray& schedule = {})
{
    return processesSection(entries) + "[Schedule]\r\n" + schedule;
}

// The program under test, started in a scratch folder that is also its current folder.
struct Session {
    ScratchDir scratch;
    QProcess process;

    Session()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("RUNLATCH_CHILD_LOG"), childLog());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(scratch.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~Session()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    [[nodiscard]] QString childLog() const { return scratch.filePath(QStringLiteral("children")); }
    [[nodiscard]] QString writeJobFile(const QByteArray& bytes) const
    {
        const QString path = scratch.filePath(QStringLiteral("jobs.ini"));
        static_cast<void>(writeBytes(path, bytes));
        return path;
    }
    void start(const QStringList& arguments) { process.start(Program, arguments); }
    [[nodiscard]] QString logPath() const
    {
        return scratch.filePath(QStringLiteral("Runlatch.log"));
    }
    [[nodiscard]] QByteArray log() const { return readBytes(logPath()); }
    [[nodiscard]] QStringList logLines() const { return crlfLines(logPath()); }
    // The program is still running a good while after it had every chance to end.
    [[nodiscard]] bool staysOpen() { return !process.waitForFinished(2000); }
};

// What the child gets of the parameters "first 'two words'": POSIX splits them as a shell would;
// Windows hands them on whole, and the child's own parsing knows no single quotes.
const QStringList FirstArguments =
#ifdef Q_OS_WIN
    {QStringLiteral("first"), QStringLiteral("'two"), QStringLiteral("words'")};
#else
    {QStringLiteral("first"), QStringLiteral("two words")};
#endif

const QRegularExpression
    LogLine(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d [A-Z][a-z][a-z] \\d\\d, \\d\\d\\d\\d:  (.*)$"));

QString textAfterStamp(const QString& line)
{
    const QRegularExpressionMatch match = LogLine.match(line);
    return match.hasMatch() ? match.captured(1) : QStringLiteral("<no timestamp: %1>").arg(line);
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void autoRunRunsTheListAndEnds_data();
    void autoRunRunsTheListAndEnds();
    void autoRunWithoutJobFileStaysOpen();
    void missingProgramStopsTheRunAndStaysOpen();
    void delayedStartInTheFutureRunsNothing();
    void helpAndVersionNeedNoWindow_data();
    void helpAndVersionNeedNoWindow();
};

void TestEndToEnd::autoRunRunsTheListAndEnds_data()
{
    QTest::addColumn<QStringList>("switches"); // %1 stands for the job file's path

    // clang-format off
    QTest::newRow("/I then /R")          << QStringList{"/I%1", "/R"};
    QTest::newRow("/r lower case first") << QStringList{"/r", "/i%1"};
    QTest::newRow("later /I wins")       << QStringList{"/I/nonexistent/other.ini", "/R", "/I%1"};
    // clang-format on
}

void TestEndToEnd::autoRunRunsTheListAndEnds()
{
    QFETCH(QStringList, switches);
    Session s;
    const QString child = testChildPath();
    const QString path = s.writeJobFile(jobFile({{child, QStringLiteral("first 'two words'")},
                                                 {child, QString()},
                                                 {child, QStringLiteral("\"x\\\"y\" z")}}));
    for (QString& argument : switches)
        argument = argument.arg(path);
    s.start(switches);
    QVERIFY(s.process.waitForFinished(60000));
    QCOMPARE(s.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(s.process.exitCode(), 0);

    QVERIFY(s.log().endsWith("\r\n"));
    const QStringList lines = s.logLines();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(textAfterStamp(lines[0]), child + QStringLiteral(" first 'two words'"));
    QCOMPARE(textAfterStamp(lines[1]), child + u' ');
    QCOMPARE(textAfterStamp(lines[2]), child + QStringLiteral(" \"x\\\"y\" z"));
    QCOMPARE(textAfterStamp(lines[3]), QStringLiteral("Processes Complete"));

    const QList<ChildRecord> children = readChildRecords(s.childLog());
    QCOMPARE(children.size(), 3);
    QCOMPARE(children[0].args, FirstArguments);
    QCOMPARE(children[1].args, QStringList());
    QCOMPARE(children[2].args, (QStringList{QStringLiteral("x\"y"), QStringLiteral("z")}));
    QCOMPARE(children[0].cwd, s.scratch.path());
    QVERIFY(children[0].endNs <= children[1].startNs);
    QVERIFY(children[1].endNs <= children[2].startNs);
}

void TestEndToEnd::autoRunWithoutJobFileStaysOpen()
{
    Session s;
    s.start({QStringLiteral("/R")});
    // The error box keeps the program open; the log file was prepared before.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(s.scratch.filePath(QStringLiteral("Runlatch.log"))),
                             30000);
    QVERIFY(s.staysOpen());
    QCOMPARE(s.log(), QByteArray());
}

void TestEndToEnd::missingProgramStopsTheRunAndStaysOpen()
{
    Session s;
    const QString child = testChildPath();
    const QString missing = s.scratch.filePath(QStringLiteral("no-such-tool"));
    const QString path = s.writeJobFile(jobFile({{child, QStringLiteral("1")},
                                                 {missing, QStringLiteral("2")},
                                                 {child, QStringLiteral("3")}}));
    s.start({QStringLiteral("/I") + path, QStringLiteral("/R")});
    QTRY_COMPARE_WITH_TIMEOUT(s.logLines().size(), 3, 30000);
    QVERIFY(s.staysOpen());
    QCOMPARE(textAfterStamp(s.logLines()[1]), missing + QStringLiteral(" 2"));
    QCOMPARE(textAfterStamp(s.logLines()[2]),
             QStringLiteral("Run stopped at entry 2 of 3: Unable to find application no-such-tool."));
    QCOMPARE(readChildRecords(s.childLog()).size(), 1);
}

void TestEndToEnd::delayedStartInTheFutureRunsNothing()
{
    Session s;
    // 1 January 2100: far ahead of any clock this test meets.
    const QString path = s.writeJobFile(
        jobFile({{testChildPath(), QStringLiteral("never")}},
                "DelayedStart=TRUE\r\nDelayedStartTime= 7.30510000000000E+0004\r\n"));
    s.start({QStringLiteral("/I") + path, QStringLiteral("/R")});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(s.scratch.filePath(QStringLiteral("Runlatch.log"))),
                             30000);
    QVERIFY(s.staysOpen());
    QCOMPARE(s.log(), QByteArray());
    QVERIFY(readChildRecords(s.childLog()).isEmpty());
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_EndToEnd.moc"

void TestEndToEnd::helpAndVersionNeedNoWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("firstLine"); // a pattern

    // The About box's build number has three parts: so has the version everywhere.
    const QString usage = u"Usage: runlatch(\\.exe)? \\[/I<job file>\\] \\[/R\\]"_s;
    const QString version = u"Runlatch \\d+\\.\\d+\\.\\d+"_s;
    // clang-format off
    QTest::newRow("--help")             << QStringList{"--help"}              << usage;
    QTest::newRow("--version")          << QStringList{"--version"}           << version;
    QTest::newRow("--help wins")        << QStringList{"--version", "--help"} << usage;
    QTest::newRow("among the switches") << QStringList{"/R", "--help", "/Ix"} << usage;
    QTest::newRow("/?")                 << QStringList{"/?"}                  << usage;
    // clang-format on
}

// Without a display: the program would fail to start at all if it made its window.
void TestEndToEnd::helpAndVersionNeedNoWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, firstLine);
    Session s;
    QProcessEnvironment env = s.process.processEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    s.process.setProcessEnvironment(env);
    s.process.setProcessChannelMode(QProcess::SeparateChannels);
    s.start(arguments);
    QVERIFY(s.process.waitForFinished(30000));
    QCOMPARE(s.process.exitCode(), 0);
    QCOMPARE(s.process.readAllStandardError(), QByteArray());
    // Windows writes a text stream's line ends as CR LF.
    const QStringList printed = QString::fromLocal8Bit(s.process.readAllStandardOutput())
                                    .replace(u"\r\n"_s, u"\n"_s)
                                    .split(u'\n');
    const QRegularExpression expected(QRegularExpression::anchoredPattern(firstLine));
    QVERIFY2(expected.match(printed.first()).hasMatch(), qPrintable(printed.first()));
    QVERIFY(!QFile::exists(s.logPath()));
}
