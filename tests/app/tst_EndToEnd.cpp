// Starts the real program as a separate process, as a user or a cron job would, and checks what
// it leaves behind: the log file, what each child received, and whether the program ended.
#include "ChildRecords.h"
#include "ScratchDir.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString Program = QStringLiteral(RUNLATCH_PROGRAM);

struct Entry {
    QString name;
    QString param;
};

QByteArray jobFile(const QList<Entry>& entries, const QByteArray& schedule = {})
{
    QByteArray text = "[Processes]\r\nCount=" + QByteArray::number(entries.size()) + "\r\n";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QByteArray nn = QByteArray::number(i + 1).rightJustified(2, '0');
        text += nn + "Name=" + entries[i].name.toUtf8() + "\r\n";
        if (!entries[i].param.isEmpty())
            text += nn + "Param=" + entries[i].param.toUtf8() + "\r\n";
    }
    return text + "[Schedule]\r\n" + schedule;
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
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }
    void start(const QStringList& arguments) { process.start(Program, arguments); }
    [[nodiscard]] QByteArray log() const
    {
        QFile file(scratch.filePath(QStringLiteral("Runlatch.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    [[nodiscard]] QStringList logLines() const
    {
        QStringList lines = QString::fromUtf8(log()).split(QStringLiteral("\r\n"));
        lines.removeLast(); // after the last CR LF
        return lines;
    }
    // The program is still running a good while after it had every chance to end.
    [[nodiscard]] bool staysOpen() { return !process.waitForFinished(2000); }
};

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
    void autoRun_data();
    void autoRun();
    void autoRunWithoutJobFile();
    void missingProgramInTheMiddle();
    void delayedStartInTheFuture();
};

void TestEndToEnd::autoRun_data()
{
    QTest::addColumn<QStringList>("switches"); // %1 stands for the job file's path

    QTest::newRow("/I then /R") << QStringList{"/I%1", "/R"};
    QTest::newRow("/r lower case first") << QStringList{"/r", "/i%1"};
    QTest::newRow("later /I wins") << QStringList{"/I/nonexistent/other.ini", "/R", "/I%1"};
}

void TestEndToEnd::autoRun()
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
    QCOMPARE(children[0].args, (QStringList{QStringLiteral("first"), QStringLiteral("two words")}));
    QCOMPARE(children[1].args, QStringList());
    QCOMPARE(children[2].args, (QStringList{QStringLiteral("x\"y"), QStringLiteral("z")}));
    QCOMPARE(children[0].cwd, s.scratch.path());
    QVERIFY(children[0].endNs <= children[1].startNs);
    QVERIFY(children[1].endNs <= children[2].startNs);
}

void TestEndToEnd::autoRunWithoutJobFile()
{
    Session s;
    s.start({QStringLiteral("/R")});
    // The error box keeps the program open; the log file was prepared before.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(s.scratch.filePath(QStringLiteral("Runlatch.log"))),
                             30000);
    QVERIFY(s.staysOpen());
    QCOMPARE(s.log(), QByteArray());
}

void TestEndToEnd::missingProgramInTheMiddle()
{
    Session s;
    const QString child = testChildPath();
    const QString missing = s.scratch.filePath(QStringLiteral("no-such-tool"));
    const QString path = s.writeJobFile(jobFile({{child, QStringLiteral("1")},
                                                 {missing, QStringLiteral("2")},
                                                 {child, QStringLiteral("3")}}));
    s.start({QStringLiteral("/I") + path, QStringLiteral("/R")});
    QTRY_COMPARE_WITH_TIMEOUT(s.logLines().size(), 2, 30000);
    QVERIFY(s.staysOpen());
    QCOMPARE(textAfterStamp(s.logLines()[1]), missing + QStringLiteral(" 2"));
    QCOMPARE(readChildRecords(s.childLog()).size(), 1);
}

void TestEndToEnd::delayedStartInTheFuture()
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
