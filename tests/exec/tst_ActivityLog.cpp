#include "ActivityLog.h"
#include "Errors.h"
#include "ScratchDir.h"
#include "TestFiles.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

namespace {

QByteArray logBytes()
{
    return readBytes(QString::fromLatin1(ActivityLog::FileName));
}

bool writeLog(const QByteArray& bytes)
{
    return writeBytes(QString::fromLatin1(ActivityLog::FileName), bytes);
}

} // namespace

class TestActivityLog : public QObject {
    Q_OBJECT

private slots:
    void prepare_data();
    void prepare();
    void appendsCrLfLinesInUtf8();
    void appendNeverCreatesTheFile();
    void followsTheCurrentFolder();
    void failures_data();
    void failures();
    void clearLeavesAnEmptyFile();
};

void TestActivityLog::prepare_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing file is created empty") << false << QByteArray() << QByteArray();
    QTest::newRow("existing file kept")
        << true << QByteArray("10:00:00 Jan 01, 2026:  /bin/true \r\n")
        << QByteArray("10:00:00 Jan 01, 2026:  /bin/true \r\n");
    QTest::newRow("existing empty file kept") << true << QByteArray() << QByteArray();
}

void TestActivityLog::prepare()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    ScratchDir scratch;
    if (exists)
        QVERIFY(writeLog(before));
    ActivityLog log;
    log.PrepareLogFile();
    QCOMPARE(logBytes(), after);
}

void TestActivityLog::appendsCrLfLinesInUtf8()
{
    ScratchDir scratch;
    ActivityLog log;
    log.PrepareLogFile();
    log.AppendLogLine(QStringLiteral("first"));
    log.AppendLogLine(QString());
    log.AppendLogLine(QStringLiteral("Gr\u00fc\u00dfe \u2713"));
    QCOMPARE(logBytes(), QByteArray("first\r\n\r\nGr\xc3\xbc\xc3\x9f"
                                    "e \xe2\x9c\x93\r\n"));
}

void TestActivityLog::appendNeverCreatesTheFile()
{
    ScratchDir scratch;
    ActivityLog log;
    QCOMPARE(errorOf([&] { log.AppendLogLine(QStringLiteral("x")); }),
             QStringLiteral("File not found"));
    QVERIFY(!QFile::exists(QString::fromLatin1(ActivityLog::FileName)));
}

void TestActivityLog::followsTheCurrentFolder()
{
    ScratchDir first;
    ActivityLog log;
    log.PrepareLogFile();
    log.AppendLogLine(QStringLiteral("in first"));
    {
        ScratchDir second;
        QCOMPARE(errorOf([&] { log.AppendLogLine(QStringLiteral("in second")); }),
                 QStringLiteral("File not found"));
    }
    QCOMPARE(logBytes(), QByteArray("in first\r\n"));
}

void TestActivityLog::failures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("expected");

    QTest::newRow("log name is a folder") << "folder"
                                          << "";
    QTest::newRow("current folder removed") << "removed"
                                            << "File not found";
}

void TestActivityLog::failures()
{
    QFETCH(QString, setup);
    QFETCH(QString, expected);
    ScratchDir scratch;
    ActivityLog log;
    if (setup == u"folder") {
        QVERIFY(QDir().mkdir(QString::fromLatin1(ActivityLog::FileName)));
        // The name exists, so preparing leaves it alone; appending to a folder must fail.
        log.PrepareLogFile();
        const QString error = errorOf([&] { log.AppendLogLine(QStringLiteral("x")); });
        QVERIFY2(!error.isEmpty(), "appending to a folder did not fail");
    } else {
        QVERIFY(QDir().rmdir(scratch.path()));
        QCOMPARE(errorOf([&] { log.PrepareLogFile(); }), expected);
        QCOMPARE(errorOf([&] { log.Clear(); }), expected);
    }
}

void TestActivityLog::clearLeavesAnEmptyFile()
{
    ScratchDir scratch;
    QVERIFY(writeLog("old line\r\n"));
    ActivityLog log;
    log.Clear();
    QCOMPARE(logBytes(), QByteArray());
    log.AppendLogLine(QStringLiteral("new"));
    QCOMPARE(logBytes(), QByteArray("new\r\n"));
}

QTEST_GUILESS_MAIN(TestActivityLog)
#include "tst_ActivityLog.moc"
