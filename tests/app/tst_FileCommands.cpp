#include "ByteText.h"
#include "Errors.h"
#include "FileCommands.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "Scheduler.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "TestFiles.h"
#include "Timer.h"
#include "Watchdog.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstring>

namespace {

using Kind = ScriptedPrompts::Kind;

// 24 December 2026, 06:30, the worked example's delayed start.
const QDateTime ExampleTime(QDate(2026, 12, 24), QTime(6, 30));
// 24 December 2026, 06:00: a day count that a job file stores exactly (46380.25).
const QDateTime SixAm(QDate(2026, 12, 24), QTime(6, 0));

// The file commands with everything they work on, in a scratch folder that is also the
// program's folder.
struct Commands {
    ScratchDir scratch;
    JobTable table;
    MainFlags flags;
    ScriptedPrompts prompts;
    SettableClock clock{SixAm};
    Timer startTimer;
    Timer elapsedTimer;
    int runs = 0;
    Scheduler scheduler{table, flags, clock, startTimer, elapsedTimer, [this] {
                            ++runs;
                        }};
    FileCommands commands{table, clock, prompts, scheduler, scratch.path() + u'/'};

    [[nodiscard]] QString path(const char* name = "jobs.ini") const
    {
        return scratch.filePath(QString::fromLatin1(name));
    }
    void add(const QString& name, const QString& param = {}) { addEntry(table, name, param); }
    [[nodiscard]] QStringList entries() const { return entriesOf(table); }
    // Empties the list and loads the job file again.
    void reload()
    {
        table.LastProc = -1;
        commands.LoadIni(path());
    }
    // Saves to path without a dialog and returns the error text, if any.
    QString saveTo(const QString& file)
    {
        table.JobFileName = file;
        return errorOf([this] { commands.SaveIni1Click(); });
    }
};

// A Processes section of count entries: program /bin/pN with parameters xN.
QByteArray numberedEntries(int count)
{
    QList<JobEntry> entries;
    for (int n = 1; n <= count; ++n)
        entries.append({QStringLiteral("/bin/p%1").arg(n), QStringLiteral("x%1").arg(n)});
    return processesSection(entries);
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void savesTheWorkedExample();
    void saveWritesTheProcessesThatLoadBack_data();
    void saveWritesTheProcessesThatLoadBack();
    void secondSaveKeepsOtherSectionsAndMovesProcesses();
    void loadReadsEntriesAndSchedule_data();
    void loadReadsEntriesAndSchedule();
    void loadStopsAtFiftyEntries();
    void loadingChangesNeitherNameNorFlagNorStartTimer();
    void openArmsTheDelayedStart_data();
    void openArmsTheDelayedStart();
    void openingAMissingFileStartsAnEmptyList();
    void dialogsStartBesideTheJobFileWithTheIniFilter_data();
    void dialogsStartBesideTheJobFileWithTheIniFilter();
    void cancelledDialogsChangeNothing();
    void newThenSaveAsksWhereAndKeepsTheOldFile();
    void openAndNewAskBeforeDroppingEdits_data();
    void openAndNewAskBeforeDroppingEdits();
    void failedSaveKeepsTheFileAndTheFlag();
    void failedSaveOverAFileLeavesItWhole();
    void refusedJobFileChangesNothing_data();
    void refusedJobFileChangesNothing();
    void nameWithColonFirstIsAFileNotAResource();
};

void TestFileCommands::savesTheWorkedExample()
{
    Commands c;
    c.add(QStringLiteral("C:\\Tools\\Backup.exe"), QStringLiteral("/full D:\\Data"));
    c.add(QStringLiteral("C:\\Tools\\Report.exe"));
    c.table.EveryHours = 1;
    c.table.EveryMins = 30;
    c.table.DelayedStart = true;
    c.table.DelayedStartTime = toDateTime(ExampleTime);
    c.table.Modified = true;
    QCOMPARE(c.saveTo(c.path()), QString());
    QCOMPARE(readBytes(c.path()), QByteArray("[Processes]\r\n"
                                             "Count=2\r\n"
                                             "01Name=C:\\Tools\\Backup.exe\r\n"
                                             "01Param=/full D:\\Data\r\n"
                                             "02Name=C:\\Tools\\Report.exe\r\n"
                                             "[Schedule]\r\n"
                                             "EveryHours=1\r\n"
                                             "EveryMins=30\r\n"
                                             "DelayedStart=TRUE\r\n"
                                             "DelayedStartTime= 4.63802708333333E+0004\r\n"));
    QVERIFY(!c.table.Modified);
    QVERIFY(c.prompts.asked.isEmpty());
}

void TestFileCommands::saveWritesTheProcessesThatLoadBack_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("entries"); // name|param
    QTest::addColumn<QByteArray>("processes");
    QTest::addColumn<QStringList>("reloaded");

    QTest::newRow("empty second Param")
        << QByteArray() << QStringList{"/a|1", "/b|", "/c|3"}
        << QByteArray("[Processes]\r\nCount=3\r\n01Name=/a\r\n01Param=1\r\n02Name=/b\r\n"
                      "03Name=/c\r\n03Param=3\r\n")
        << QStringList{"/a|1", "/b|", "/c|3"};
    QTest::newRow("shrinking from 5 to 2")
        << numberedEntries(5) << QStringList{"/a|1", "/b|2"}
        << QByteArray("[Processes]\r\nCount=2\r\n01Name=/a\r\n01Param=1\r\n02Name=/b\r\n"
                      "02Param=2\r\n")
        << QStringList{"/a|1", "/b|2"};
    QTest::newRow("empty table") << QByteArray() << QStringList()
                                 << QByteArray("[Processes]\r\nCount=0\r\n") << QStringList();
    QTest::newRow("blanks kept by quotes, trimmed by the load")
        << QByteArray() << QStringList{"/opt/my tool|  'quoted' \"x\"  "}
        << QByteArray("[Processes]\r\nCount=1\r\n01Name=/opt/my tool\r\n"
                      "01Param=\"  'quoted' \"x\"  \"\r\n")
        << QStringList{QStringLiteral("/opt/my tool|'quoted' \"x\"")};
    QTest::newRow("arguments in quotes")
        << QByteArray() << QStringList{"/a|\"a b\"", "/b|'x' 'y'", "/c|\"", "/d|\"\""}
        << QByteArray("[Processes]\r\nCount=4\r\n01Name=/a\r\n01Param=\"\"a b\"\"\r\n"
                      "02Name=/b\r\n02Param=\"'x' 'y'\"\r\n03Name=/c\r\n03Param=\"\r\n"
                      "04Name=/d\r\n04Param=\"\"\"\"\r\n")
        << QStringList{"/a|\"a b\"", "/b|'x' 'y'", "/c|\"", "/d|\"\""};
    const QString name = decodeBytes("/opt/\xFF\xFE/tool");
    const QString param = decodeBytes("caf\xE9 \xC3(");
    QTest::newRow("bytes that are not UTF-8")
        << QByteArray() << QStringList{name + u'|' + param}
        << QByteArray("[Processes]\r\nCount=1\r\n01Name=/opt/\xFF\xFE/tool\r\n"
                      "01Param=caf\xE9 \xC3(\r\n")
        << QStringList{name + u'|' + param};
    QTest::newRow("every copy of Processes replaced")
        << QByteArray("[Processes]\r\nCount=1\r\n01Name=/old\r\n[processes]\r\n"
                      "02Name=/stale\r\n02Param=stale\r\n")
        << QStringList{"/a|1", "/b|"}
        << QByteArray("[Processes]\r\nCount=2\r\n01Name=/a\r\n01Param=1\r\n02Name=/b\r\n")
        << QStringList{"/a|1", "/b|"};
}

void TestFileCommands::saveWritesTheProcessesThatLoadBack()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, processes);
    QFETCH(QStringList, reloaded);
#ifdef Q_OS_WIN
    if (QByteArrayView(QTest::currentDataTag()) == "bytes that are not UTF-8")
        QSKIP("Windows reads a job file that is not UTF-8 in its code page (tst_StRegIni)");
#endif
    Commands c;
    if (!before.isEmpty())
        QVERIFY(writeBytes(c.path(), before));
    for (const QString& entry : entries)
        c.add(entry.section(u'|', 0, 0), entry.section(u'|', 1));
    c.table.DelayedStartTime = 46380.25;
    QCOMPARE(c.saveTo(c.path()), QString());
    const QByteArray schedule("[Schedule]\r\nEveryHours=0\r\nEveryMins=0\r\nDelayedStart=FALSE\r\n"
                              "DelayedStartTime= 4.63802500000000E+0004\r\n");
    QCOMPARE(readBytes(c.path()), processes + schedule);

    // What was saved loads back.
    c.reload();
    QCOMPARE(c.entries(), reloaded);
}

void TestFileCommands::secondSaveKeepsOtherSectionsAndMovesProcesses()
{
    Commands c;
    QVERIFY(writeBytes(c.path(),
                       "; my jobs\r\n[Notes]\r\nOwner=me\r\n\r\n[Schedule]\r\nEveryMins=5\r\n"
                       "Extra=kept\r\n[Processes]\r\nCount=1\r\n01Name=/old\r\nStray=gone\r\n"));
    c.add(QStringLiteral("/new"));
    c.table.EveryMins = 7;
    c.table.DelayedStartTime = 46380.25;
    QCOMPARE(c.saveTo(c.path()), QString());
    QCOMPARE(readBytes(c.path()),
             QByteArray("; my jobs\r\n[Notes]\r\nOwner=me\r\n\r\n[Schedule]\r\nEveryMins=7\r\n"
                        "Extra=kept\r\nEveryHours=0\r\nDelayedStart=FALSE\r\n"
                        "DelayedStartTime= 4.63802500000000E+0004\r\n"
                        "[Processes]\r\nCount=1\r\n01Name=/new\r\n"));
}

void TestFileCommands::loadReadsEntriesAndSchedule_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<uint>("interval");

    QTest::newRow("blank 02Name skipped, Param not read")
        << QByteArray("[Processes]\r\nCount=4\r\n01Name=/a\r\n02Name=  \r\n02Param=lost\r\n"
                      "03Name=/c\r\n04Name=/d\r\n04Param=4\r\n05Name=/beyond\r\n")
        << QStringList{"/a|", "/c|", "/d|4"} << false << 0u;
    QTest::newRow("blanks and control characters trimmed")
        << QByteArray("[Processes]\r\nCount=1\r\n01Name= \t/usr/bin/x \t\r\n01Param=\t-v  \r\n")
        << QStringList{"/usr/bin/x|-v"} << false << 0u;
    QTest::newRow("boolean 1") << QByteArray("[Schedule]\r\nDelayedStart=1\r\nEveryHours=2\r\n")
                               << QStringList() << true << 7200000u;
    QTest::newRow("boolean true") << QByteArray("[schedule]\nDELAYEDSTART=true\neverymins=90\n")
                                  << QStringList() << true << 5400000u;
    QTest::newRow("count 0 reads nothing")
        << QByteArray("[Processes]\r\nCount=0\r\n01Name=/a\r\n") << QStringList() << false << 0u;
    QTest::newRow("count not a number")
        << QByteArray("[Processes]\r\nCount=two\r\n01Name=/a\r\n") << QStringList() << false << 0u;
    QTest::newRow("negative count")
        << QByteArray("[Processes]\r\nCount=-3\r\n01Name=/a\r\n") << QStringList() << false << 0u;
    QTest::newRow("lines ending with a lone CR")
        << QByteArray("[Processes]\rCount=2\r01Name=/a\r02Name=/b\r02Param=x\r[Schedule]\r"
                      "EveryMins=1\rDelayedStart=TRUE")
        << QStringList{"/a|", "/b|x"} << true << 60000u;
    QTest::newRow("sections in any order")
        << QByteArray("[Schedule]\r\nEveryMins=1\r\n[Processes]\r\nCount=1\r\n01Name=/a\r\n")
        << QStringList{"/a|"} << false << 60000u;
}

void TestFileCommands::loadReadsEntriesAndSchedule()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, entries);
    QFETCH(bool, delayedStart);
    QFETCH(uint, interval);
    Commands c;
    QVERIFY(writeBytes(c.path(), file));
    c.add(QStringLiteral("/previous"));
    c.commands.LoadIni(c.path());
    QCOMPARE(c.entries(), entries);
    QCOMPARE(c.table.DelayedStart, delayedStart);
    QCOMPARE(c.elapsedTimer.interval(), interval);
    // A missing start time reads as now.
    QCOMPARE(exactly(c.table.DelayedStartTime), exactly(c.clock.nowDays()));
    QVERIFY(c.prompts.asked.isEmpty());

    // Saved again, the entries are numbered from 01 without gaps.
    QCOMPARE(c.saveTo(c.path()), QString());
    c.reload();
    QCOMPARE(c.entries(), entries);
}

void TestFileCommands::loadStopsAtFiftyEntries()
{
    Commands c;
    QVERIFY(writeBytes(c.path(),
                       numberedEntries(55) + "[Schedule]\r\nEveryHours=3\r\nEveryMins=1\r\n"));
    c.table.EveryHours = 9;
    c.commands.LoadIni(c.path());
    QCOMPARE(c.prompts.texts(Kind::Information),
             QStringList{QStringLiteral("Sorry, Runlatch is limited to 50 Processes.")});
    QCOMPARE(c.table.LastProc, 49);
    QCOMPARE(c.table.ProcList[49].Name, QStringLiteral("/bin/p50"));
    QCOMPARE(c.table.ProcList[50].Name, QString());
    // The new file's schedule is read and in force, not the previous one.
    QCOMPARE(c.table.EveryHours, 3);
    QCOMPARE(c.table.EveryMins, 1);
    QCOMPARE(c.elapsedTimer.interval(), 10860000u);
}

void TestFileCommands::loadingChangesNeitherNameNorFlagNorStartTimer()
{
    Commands c;
    QVERIFY(writeBytes(c.path(),
                       "[Schedule]\r\nDelayedStart=TRUE\r\nDelayedStartTime= 7.3051E+0004\r\n"));
    c.table.JobFileName = QStringLiteral("/elsewhere.ini");
    c.table.Modified = true;
    c.commands.LoadIni(c.path());
    QCOMPARE(c.table.JobFileName, QStringLiteral("/elsewhere.ini"));
    QVERIFY(c.table.Modified);
    QVERIFY(!c.startTimer.enabled());
    QCOMPARE(c.table.DelayedStartTime, 73051.0);
}

void TestFileCommands::openArmsTheDelayedStart_data()
{
    QTest::addColumn<int>("nowAfterStartMs");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("information");

    // clang-format off
    QTest::newRow("start time is now, answered yes")
        << 0  << true  << 1 << true  << "";
    QTest::newRow("start time ahead, answered no")
        << -1 << false << 1 << false << "";
    QTest::newRow("start time passed by a millisecond")
        << 1  << true  << 0 << false << "Delayed Start Time has already passed";
    // clang-format on
}

void TestFileCommands::openArmsTheDelayedStart()
{
    QFETCH(int, nowAfterStartMs);
    QFETCH(bool, answer);
    QFETCH(QString, information);
    QFETCH(int, questions);
    QFETCH(bool, armed);
    Commands c;
    QVERIFY(writeBytes(c.path(), "[Schedule]\r\nDelayedStart=TRUE\r\n"
                                 "DelayedStartTime= 4.63802500000000E+0004\r\n"));
    c.clock.advanceMs(nowAfterStartMs);
    c.prompts.fileAnswers << c.path();
    c.prompts.confirmAnswers << answer;
    c.commands.Open1Click();

    QCOMPARE(c.table.JobFileName, c.path());
    QCOMPARE(c.prompts.texts(Kind::Information),
             information.isEmpty() ? QStringList() : QStringList{information});
    QCOMPARE(c.prompts.count(Kind::Confirm), questions);
    QCOMPARE(c.startTimer.enabled(), armed);
    QCOMPARE(c.startTimer.interval(), armed ? 60000u : 0u);
    QVERIFY(c.table.DelayedStart);
    QCOMPARE(exactly(c.table.DelayedStartTime),
             exactly(information.isEmpty() ? 46380.25 : c.clock.nowDays()));
}

void TestFileCommands::openingAMissingFileStartsAnEmptyList()
{
    Commands c;
    c.add(QStringLiteral("/previous"));
    c.table.EveryHours = 4;
    c.table.DelayedStart = true;
    c.table.Modified = true;
    c.prompts.confirmOrCancelAnswers << Prompts::Answer::No;
    c.prompts.fileAnswers << c.path("new.ini");
    c.commands.Open1Click();
    QCOMPARE(c.table.JobFileName, c.path("new.ini"));
    QCOMPARE(c.table.LastProc, -1);
    QCOMPARE(c.table.EveryHours, 0);
    QVERIFY(!c.table.DelayedStart);
    QCOMPARE(exactly(c.table.DelayedStartTime), exactly(c.clock.nowDays()));
    QVERIFY(c.table.Modified);
    QVERIFY(!QFile::exists(c.path("new.ini")));
}

void TestFileCommands::dialogsStartBesideTheJobFileWithTheIniFilter_data()
{
    QTest::addColumn<QString>("jobFile");
    QTest::addColumn<QString>("folder"); // empty: the program's folder

    QTest::newRow("no job file") << QString() << QString();
    QTest::newRow("job file elsewhere") << "/srv/jobs/nightly.ini"
                                        << "/srv/jobs/";
    QTest::newRow("job file named without a folder") << ":jobs.ini" << QString();
}

void TestFileCommands::dialogsStartBesideTheJobFileWithTheIniFilter()
{
    QFETCH(QString, jobFile);
    QFETCH(QString, folder);
    Commands c;
    c.table.JobFileName = jobFile;
    c.prompts.fileAnswers << std::nullopt << std::nullopt;
    c.commands.Open1Click();
    c.commands.SaveAsIni1Click();
    QCOMPARE(c.prompts.asked.size(), 2);
    QCOMPARE(c.prompts.asked[0].kind, Kind::OpenFile);
    QCOMPARE(c.prompts.asked[1].kind, Kind::SaveFile);
    for (const ScriptedPrompts::Asked& asked : std::as_const(c.prompts.asked)) {
        QCOMPARE(asked.request.initialDir, folder.isEmpty() ? c.scratch.path() + u'/' : folder);
        QCOMPARE(asked.request.filter, QStringLiteral("Ini File (*.ini)"));
        QCOMPARE(asked.request.defaultSuffix, QStringLiteral("ini"));
        QVERIFY(!asked.request.title.isEmpty());
    }
}

void TestFileCommands::cancelledDialogsChangeNothing()
{
    Commands c;
    c.add(QStringLiteral("/a"));
    c.table.Modified = true;
    c.commands.SaveIni1Click(); // no name yet: the dialog, cancelled
    c.commands.SaveAsIni1Click();
    c.commands.Open1Click();
    QCOMPARE(c.prompts.asked.size(), 3);
    QVERIFY(c.table.Modified);
    QCOMPARE(c.table.JobFileName, QString());
    QCOMPARE(c.entries(), QStringList{QStringLiteral("/a|")});
    QVERIFY(QDir(c.scratch.path()).isEmpty());
}

// New begins an untitled job: its first save asks where, and the job file that was open stays
// as it was, byte for byte.
void TestFileCommands::newThenSaveAsksWhereAndKeepsTheOldFile()
{
    Commands c;
    const QByteArray old = numberedEntries(2) + "[Schedule]\r\nEveryHours=5\r\n";
    QVERIFY(writeBytes(c.path(), old));
    c.table.JobFileName = c.path();
    c.commands.LoadIni(c.path());
    c.table.Modified = true;
    c.prompts.confirmOrCancelAnswers << Prompts::Answer::No;
    c.commands.NewIni2Click();
    QCOMPARE(c.table.LastProc, -1);
    QCOMPARE(c.table.JobFileName, QString());
    QCOMPARE(c.table.EveryHours, 5);
    QVERIFY(c.table.Modified);
    // Slots keep their strings: only the count went.
    QCOMPARE(c.table.ProcList[1].Name, QStringLiteral("/bin/p2"));

    c.prompts.fileAnswers.enqueue(c.path("new.ini"));
    c.commands.SaveIni1Click();
    QCOMPARE(c.prompts.count(Kind::SaveFile), 1);
    QVERIFY(!c.table.Modified);
    QCOMPARE(c.table.JobFileName, c.path("new.ini"));
    QCOMPARE(readBytes(c.path()), old);
    c.commands.LoadIni(c.path("new.ini"));
    QCOMPARE(c.table.LastProc, -1);
    QCOMPARE(c.table.EveryHours, 5);
}

void TestFileCommands::openAndNewAskBeforeDroppingEdits_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("open, cancelled") << true << Prompts::Answer::Cancel << false;
    QTest::newRow("new, cancelled") << false << Prompts::Answer::Cancel << false;
    QTest::newRow("new, not saved") << false << Prompts::Answer::No << true;
}

// The edits are only in the table: Cancel keeps them, and the job file they belong to.
void TestFileCommands::openAndNewAskBeforeDroppingEdits()
{
    QFETCH(bool, open);
    QFETCH(Prompts::Answer, answer);
    QFETCH(bool, replaced);
    Commands c;
    c.add(QStringLiteral("/edited"));
    c.table.JobFileName = c.path();
    c.table.Modified = true;
    c.prompts.confirmOrCancelAnswers << answer;
    c.prompts.fileAnswers << c.path("other.ini");
    const bool done = open ? c.commands.Open1Click() : c.commands.NewIni2Click();
    QCOMPARE(c.prompts.count(Kind::Confirm), 1);
    QCOMPARE(done, replaced);
    QCOMPARE(c.table.LastProc, replaced ? -1 : 0);
    QCOMPARE(c.table.JobFileName, replaced ? QString() : c.path());
    QCOMPARE(c.prompts.count(Kind::OpenFile), 0);
}

void TestFileCommands::failedSaveKeepsTheFileAndTheFlag()
{
    Commands c;
    c.add(QStringLiteral("/a"));
    c.table.Modified = true;
    const QString target = c.path("missing-folder/jobs.ini");
    c.prompts.fileAnswers << target;
    QCOMPARE(iniFailureOf([&] { c.commands.SaveAsIni1Click(); }),
             IniFailure(7, QStringLiteral("Failed to write value to INI file")));
    QCOMPARE(c.table.JobFileName, target);
    QVERIFY(c.table.Modified);
    QVERIFY(!QFile::exists(target));
    QVERIFY(QDir(c.scratch.path()).isEmpty());
}

void TestFileCommands::failedSaveOverAFileLeavesItWhole()
{
    Commands c;
    const QByteArray before = numberedEntries(5) + "[Schedule]\r\nEveryHours=2\r\n";
    QVERIFY(writeBytes(c.path(), before));
    // The second entry's parameters cannot be written: a line break would split the file's line.
    c.add(QStringLiteral("/a"), QStringLiteral("one"));
    c.add(QStringLiteral("/b"), QStringLiteral("two\nlines"));
    c.table.Modified = true;
    QCOMPARE(c.saveTo(c.path()), QStringLiteral("Failed to write value to INI file"));
    // Not a Processes section erased and half rewritten: the file as it was.
    QCOMPARE(readBytes(c.path()), before);
    QVERIFY(c.table.Modified);
}

void TestFileCommands::refusedJobFileChangesNothing_data()
{
    QTest::addColumn<Special>("special");
    QTest::addColumn<QString>("device"); // a device's name instead of a special thing made
    QTest::addColumn<bool>("inFolder");  // the device's name stands in the scratch folder
    QTest::addColumn<bool>("open");      // Open1Click, else LoadIni

    for (const Special special :
         {Special::Fifo, Special::Folder, Special::LinkToFifo, Special::LinkLoop}) {
        QTest::addRow("%s, load", SpecialFiles::nameOf(special))
            << special << QString() << false << false;
        QTest::addRow("%s, open", SpecialFiles::nameOf(special))
            << special << QString() << false << true;
    }
    for (const SpecialFiles::DeviceName& device : SpecialFiles::deviceNames()) {
        QTest::addRow("%s, load", device.row)
            << Special::Folder << device.name << device.inFolder << false;
        QTest::addRow("%s, open", device.row)
            << Special::Folder << device.name << device.inFolder << true;
    }
}

// A job file that cannot be read raises before the table, the schedule or the job file name
// change, so that nothing of the work in memory is lost.
void TestFileCommands::refusedJobFileChangesNothing()
{
    QFETCH(Special, special);
    QFETCH(QString, device);
    QFETCH(bool, inFolder);
    QFETCH(bool, open);
    if (device.isEmpty() && !SpecialFiles::canMake(special))
        QSKIP(SpecialFiles::whyNotMade(special));
    Commands c;
    QString file = c.path();
    if (device.isEmpty())
        QVERIFY(SpecialFiles::make(special, file));
    else
        file = inFolder ? QDir::toNativeSeparators(c.scratch.filePath(device)) : device;
    const QString expected = special == Special::LinkLoop && device.isEmpty()
                                 ? QStringLiteral("Cannot read %1: %2.")
                                       .arg(file, QString::fromLocal8Bit(std::strerror(ELOOP)))
                                 : file + QStringLiteral(" is not a regular file.");
    c.add(QStringLiteral("/previous"), QStringLiteral("-p"));
    c.table.EveryHours = 2;
    c.table.DelayedStart = true;
    c.table.DelayedStartTime = 46380.5;
    c.table.JobFileName = c.path("previous.ini");
    c.scheduler.SetIntervalFromSchedule();
    c.prompts.fileAnswers << file;

    const FailInsteadOfHanging guard;
    QCOMPARE(errorOf([&] {
                 if (open)
                     c.commands.Open1Click();
                 else
                     c.commands.LoadIni(file);
             }),
             expected);
    QCOMPARE(c.entries(), QStringList{QStringLiteral("/previous|-p")});
    QCOMPARE(c.table.EveryHours, 2);
    QVERIFY(c.table.DelayedStart);
    QCOMPARE(c.table.DelayedStartTime, 46380.5);
    QCOMPARE(c.elapsedTimer.interval(), 7200000u);
    QCOMPARE(c.table.JobFileName, c.path("previous.ini"));
    QCOMPARE(c.prompts.asked.size(), open ? 1 : 0);
}

// A name that starts with ":" names a file in the current folder, not one of the program's
// resources.
void TestFileCommands::nameWithColonFirstIsAFileNotAResource()
{
#ifdef Q_OS_WIN
    QSKIP("no Windows file name holds a colon, so none can be taken for a resource");
#endif
    Commands c;
    QVERIFY(writeBytes(c.scratch.path() + QStringLiteral("/:jobs.ini"),
                       QByteArray("[Processes]\r\nCount=1\r\n01Name=/a\r\n[Schedule]\r\n"
                                  "EveryHours=3\r\n")));
    c.commands.LoadIni(QStringLiteral(":jobs.ini"));
    QCOMPARE(c.entries(), QStringList{QStringLiteral("/a|")});
    QCOMPARE(c.table.EveryHours, 3);

    c.add(QStringLiteral("/b"));
    QCOMPARE(c.saveTo(QStringLiteral(":jobs.ini")), QString());
    QVERIFY(readBytes(c.scratch.path() + QStringLiteral("/:jobs.ini")).contains("02Name=/b\r\n"));
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "tst_FileCommands.moc"
