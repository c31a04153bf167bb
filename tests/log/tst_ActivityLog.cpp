#include "ActivityLog.h"
#include "ByteText.h"
#include "Errors.h"
#include "LogLines.h"
#include "ScratchDir.h"
#include "TestFiles.h"
#include "Watchdog.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <filesystem>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

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
    void prepareCreatesOrKeepsTheFile_data();
    void prepareCreatesOrKeepsTheFile();
    void appendsCrLfLinesInUtf8();
    void appendNeverCreatesTheFile();
    void staysWithThePreparedFile();
    void startFolderNamedByBytesThatAreNoText();
    void missingFolderFailsPrepareAndClear_data();
    void missingFolderFailsPrepareAndClear();
    void opensOnlyRegularFilesOrTheNullDevice_data();
    void opensOnlyRegularFilesOrTheNullDevice();
    void keepsTheLinesBytes();
    void clearLeavesAnEmptyFile();
    void viewingSeesWhatBecameOfTheFile_data();
    void viewingSeesWhatBecameOfTheFile();
};

void TestActivityLog::prepareCreatesOrKeepsTheFile_data()
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

void TestActivityLog::prepareCreatesOrKeepsTheFile()
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

void TestActivityLog::staysWithThePreparedFile()
{
    ScratchDir first;
    ActivityLog log;
    log.PrepareLogFile();
    log.AppendLogLine(QStringLiteral("in first"));
    {
        // Whatever moves the current folder later, the runs go on writing to the prepared file.
        ScratchDir second;
        log.AppendLogLine(QStringLiteral("still in first"));
        QVERIFY(!QFile::exists(QString::fromLatin1(ActivityLog::FileName)));
    }
    QCOMPARE(logBytes(), QByteArray("in first\r\nstill in first\r\n"));
}

// A folder name is bytes: one that is no valid text in the user's encoding still holds the log,
// and the runs keep writing to that very folder.
void TestActivityLog::startFolderNamedByBytesThatAreNoText()
{
#ifdef Q_OS_WIN
    QSKIP("File names on Windows are UTF-16 text: every name is text");
#else
    ScratchDir scratch;
    const QByteArray folder = QFile::encodeName(QDir::currentPath()) + "/caf\xe9";
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    QCOMPARE(::chdir(folder.constData()), 0);
    ActivityLog log;
    log.PrepareLogFile();
    log.AppendLogLine(QStringLiteral("kept"));
    QCOMPARE(::chdir(".."), 0);
    const QByteArray path = folder + "/Runlatch.log";
    QCOMPARE(::access(path.constData(), F_OK), 0);
    QCOMPARE(log.openForViewing()->size(), qint64(6));
#endif
}

void TestActivityLog::missingFolderFailsPrepareAndClear_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("expected");

    QTest::newRow("current folder removed") << "removed"
                                            << "File not found";
}

void TestActivityLog::missingFolderFailsPrepareAndClear()
{
    QFETCH(QString, setup);
    QFETCH(QString, expected);
#ifdef Q_OS_WIN
    QSKIP("Windows keeps a process's current folder from being removed");
#endif
    ScratchDir scratch;
    ActivityLog log;
    QVERIFY(QDir().rmdir(scratch.path()));
    QCOMPARE(errorOf([&] { log.PrepareLogFile(); }), expected);
    QCOMPARE(errorOf([&] { log.Clear(); }), expected);
}

void TestActivityLog::opensOnlyRegularFilesOrTheNullDevice_data()
{
    QTest::addColumn<Special>("special");
    QTest::addColumn<bool>("atStartUp"); // there before start-up, or swapped in after it

    for (const Special special : {Special::Fifo, Special::Folder, Special::LinkToFifo,
                                  Special::Socket, Special::LinkToNull}) {
        QTest::addRow("%s at start-up", SpecialFiles::nameOf(special)) << special << true;
        QTest::addRow("%s swapped in", SpecialFiles::nameOf(special)) << special << false;
    }
}

// Nothing but a regular file or the null device is ever opened, and nothing blocks.
void TestActivityLog::opensOnlyRegularFilesOrTheNullDevice()
{
    QFETCH(Special, special);
    QFETCH(bool, atStartUp);
    if (!SpecialFiles::canMake(special))
        QSKIP(SpecialFiles::whyNotMade(special));
    ScratchDir scratch;
    const QString name = QString::fromLatin1(ActivityLog::FileName);
    const QString expected = special == Special::LinkToNull
                                 ? QString()
                                 : QStringLiteral("Runlatch.log is not a regular file.");
    const FailInsteadOfHanging watchdog;
    ActivityLog log;
    if (atStartUp) {
        QVERIFY(SpecialFiles::make(special, name));
        QCOMPARE(errorOf([&] { log.PrepareLogFile(); }), expected);
    } else {
        log.PrepareLogFile();
        QVERIFY(QFile::remove(name));
        QVERIFY(SpecialFiles::make(special, name));
    }
    const int type = SpecialFiles::typeOf(name);
    QCOMPARE(errorOf([&] { log.AppendLogLine(QStringLiteral("line")); }), expected);
    QCOMPARE(errorOf([&] { (void)log.openForViewing(); }), expected);
    QCOMPARE(errorOf([&] { log.Clear(); }), expected);
    // Whatever stood there is still there, the null device link too.
    QCOMPARE(SpecialFiles::typeOf(name), type);
}

void TestActivityLog::keepsTheLinesBytes()
{
    ScratchDir scratch;
    ActivityLog log;
    log.PrepareLogFile();
    // A program path that is not valid UTF-8 is logged as the bytes it is.
    log.AppendLogLine(decodeBytes("/opt/caf\xe9/run \xff"));
    QCOMPARE(logBytes(), QByteArray("/opt/caf\xe9/run \xff\r\n"));
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

void TestActivityLog::viewingSeesWhatBecameOfTheFile_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<LogSource::Change>("seen");
    QTest::addColumn<qint64>("size");

    QTest::newRow("unchanged") << "none" << LogSource::Change::None << 5LL;
    QTest::newRow("line appended") << "append" << LogSource::Change::Grown << 10LL;
    QTest::newRow("cut short") << "cut" << LogSource::Change::Replaced << 5LL;
    QTest::newRow("cleared") << "clear" << LogSource::Change::Replaced << 5LL;
    QTest::newRow("deleted") << "delete" << LogSource::Change::Replaced << 5LL;
    QTest::newRow("another file put in its place")
        << "replace" << LogSource::Change::Replaced << 5LL;
}

void TestActivityLog::viewingSeesWhatBecameOfTheFile()
{
    QFETCH(QString, change);
    QFETCH(LogSource::Change, seen);
    QFETCH(qint64, size);
#ifdef Q_OS_WIN
    if (runsUnderWine() && (change == u"delete" || change == u"replace"))
        QSKIP("Wine keeps a deleted file's name, and refuses a file put in its place, while the "
              "viewer holds the file open");
#endif
    ScratchDir scratch;
    QVERIFY(writeLog("old\r\n"));
    ActivityLog log;
    log.PrepareLogFile();
    const std::unique_ptr<LogSource> source = log.openForViewing();
    const QString name = QString::fromLatin1(ActivityLog::FileName);
    if (change == u"append") {
        log.AppendLogLine(QStringLiteral("new"));
    } else if (change == u"cut") {
        QVERIFY(QFile::resize(name, 2));
    } else if (change == u"clear") {
        log.Clear();
    } else if (change == u"delete") {
        QVERIFY(QFile::remove(name));
    } else if (change == u"replace") {
        QVERIFY(writeBytes(QStringLiteral("other.log"), "other\r\nlonger\r\n"));
        std::filesystem::rename("other.log", ActivityLog::FileName);
    }
    QCOMPARE(source->recheck(), seen);
    QCOMPARE(source->size(), size);
}

QTEST_GUILESS_MAIN(TestActivityLog)
#include "tst_ActivityLog.moc"
