#include "AccessibilityChecks.h"
#include "ActivityLog.h"
#include "ChildRecords.h"
#include "Errors.h"
#include "JobTable.h"
#include "LogView.h"
#include "MainFlags.h"
#include "DesktopNotifier.h"
#include "MainForm.h"
#include "RunlatchLogForm.h"
#include "ScheduleExport.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "TestFiles.h"
#include "TrayIcon.h"
#include "Timer.h"
#include "Watchdog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;
Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(ScriptedPrompts::Kind)

namespace {

using Kind = ScriptedPrompts::Kind;

// 24 December 2026, 06:00: a day count that a job file can store exactly (46380.25).
const QDateTime SixAm(QDate(2026, 12, 24), QTime(6, 0));

QByteArray jobFile(bool delayedStart)
{
    return processesSection({{QStringLiteral("/bin/true"), QStringLiteral("a b")},
                             {QStringLiteral("/bin/true"), QString()}}) +
           "[Schedule]\r\nEveryHours=0\r\nEveryMins=10\r\nDelayedStart=" +
           (delayedStart ? "TRUE" : "FALSE") + "\r\nDelayedStartTime= 4.63802500000000E+0004\r\n";
}

const QString LogName = QString::fromLatin1(ActivityLog::FileName);

// A main window built in a scratch folder that serves as the program's folder too.
struct Started {
    ScratchDir scratch;
    ScriptedPrompts prompts;
    SettableClock clock{SixAm};
    std::unique_ptr<TMainForm> form;

    void start(const QStringList& arguments)
    {
        form = std::make_unique<TMainForm>(
            TMainForm::Environment{prompts, clock, scratch.path() + u'/', arguments});
    }
    [[nodiscard]] Timer& timer(const char* name) const
    {
        return *form->findChild<Timer*>(QString::fromLatin1(name));
    }
};

// Records what the window would tell the desktop.
class RecordingNotifier final : public DesktopNotifier {
public:
    explicit RecordingNotifier(QStringList& sent)
        : m_sent(sent)
    {}
    void notify(const QString& summary, const QString& body) override
    {
        m_sent << summary + u'|' + body;
    }

private:
    QStringList& m_sent;
};

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void noArgumentsStartsEmpty();
    void commandLineNamesTheJobFileAndAutoRun_data();
    void commandLineNamesTheJobFileAndAutoRun();
    void startUpLoadsTheJobFileAndArmsTheDelayedStart_data();
    void startUpLoadsTheJobFileAndArmsTheDelayedStart();
    void missingJobFileWithAutoRunIsReported_data();
    void missingJobFileWithAutoRunIsReported();
    void logFailureSkipsTheCommandLine();
    void specialFilesAtStartUpAreRefused_data();
    void specialFilesAtStartUpAreRefused();
    void failedRunKeepsTheSchedule_data();
    void failedRunKeepsTheSchedule();
    void memoKeepsNoUndoHistory();
    void memoTakesTheFocusOnlyWhenClicked();
    void menuListsTheCommandsInOrder();
    void closeAsksOnlyWhenModified_data();
    void closeAsksOnlyWhenModified();
    void closeDuringARunWaitsForIt();
    void runGoesOnWhileTheLogIsOpen();
    void windowCommandsRunGuarded();
    void statusBarFollowsTheRuns();
    void unattendedFailuresAreReported_data();
    void unattendedFailuresAreReported();
    void exportScheduleAsksBeforeReplacing_data();
    void exportScheduleAsksBeforeReplacing();
    void savesAPictureForTheManual();
};

void TestMainForm::noArgumentsStartsEmpty()
{
    Started s;
    s.start({});
    QCOMPARE(s.form->jobTable().LastProc, -1);
    QCOMPARE(s.form->jobTable().JobFileName, QString());
    QCOMPARE(s.form->jobTable().EveryHours, 0);
    QCOMPARE(s.form->jobTable().DelayedStart, false);
    QCOMPARE(exactly(s.form->jobTable().DelayedStartTime), exactly(46380.25));
    QVERIFY(!s.form->flags().AutoRun);
    QVERIFY(!s.form->flags().RunInProgress);
    QVERIFY(!s.timer("StartTimer").enabled());
    QVERIFY(!s.timer("ElapsedTimer").enabled());
    QCOMPARE(s.timer("ElapsedTimer").interval(), 0u);
    QVERIFY(s.form->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().isEmpty());
    QVERIFY(s.prompts.asked.isEmpty());
    QVERIFY(QFile::exists(LogName));
}

void TestMainForm::commandLineNamesTheJobFileAndAutoRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("jobFile"); // relative to the program's folder unless absolute
    QTest::addColumn<bool>("autoRun");

    // clang-format off
    QTest::newRow("/I names the job file")
        << QStringList{"/Ijobs.ini"}                         << "jobs.ini"         << false;
    QTest::newRow("/i lower case")
        << QStringList{"/ijobs.ini"}                         << "jobs.ini"         << false;
    QTest::newRow("later /I wins")
        << QStringList{"/Ia.ini", "/Ijobs.ini"}              << "jobs.ini"         << false;
    QTest::newRow("/r lower case")
        << QStringList{"/r", "/Ijobs.ini"}                   << "jobs.ini"         << true;
    QTest::newRow("/R after /I")
        << QStringList{"/Ijobs.ini", "/R"}                   << "jobs.ini"         << true;
    QTest::newRow("/Rx ignored")
        << QStringList{"/Rx", "/Ijobs.ini"}                  << "jobs.ini"         << false;
    QTest::newRow("other arguments ignored")
        << QStringList{"-R", "jobs.ini", "/X", "/Ijobs.ini"} << "jobs.ini"         << false;
    QTest::newRow("name kept unchanged")
        << QStringList{"/I sub/../jobs.ini"}                 << " sub/../jobs.ini" << false;
    QTest::newRow("leading colon is no resource")
        << QStringList{"/I:jobs.ini"}                        << ":jobs.ini"        << false;
    QTest::newRow("/I alone names the folder")
        << QStringList{"/I"}                                 << ""                 << false;
    // clang-format on
}

void TestMainForm::commandLineNamesTheJobFileAndAutoRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, jobFile);
    QFETCH(bool, autoRun);
    Started s;
    s.start(arguments);
    // Kept in the platform's own notation.
    QCOMPARE(s.form->jobTable().JobFileName,
             QDir::toNativeSeparators(s.scratch.path() + u'/' + jobFile));
    QCOMPARE(s.form->flags().AutoRun, autoRun);
}

void TestMainForm::startUpLoadsTheJobFileAndArmsTheDelayedStart_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<int>("nowAfterStartMs"); // how far the clock is past the stored start time
    QTest::addColumn<bool>("autoRun");
    QTest::addColumn<uint>("interval");
    QTest::addColumn<bool>("startTimeSetToNow");

    // clang-format off
    QTest::newRow("start time is now: checked every minute")
        << true  << 0      << false << 60000u << false;
    QTest::newRow("start time is now, /R: still waits")
        << true  << 0      << true  << 60000u << false;
    QTest::newRow("ahead")
        << true  << -1     << false << 60000u << false;
    QTest::newRow("passed, /R: runs at once")
        << true  << 1      << true  << 250u   << true;
    QTest::newRow("passed: nothing, no message")
        << true  << 1      << false << 0u     << false;
    QTest::newRow("no delay, /R: runs at once")
        << false << -60000 << true  << 250u   << true;
    QTest::newRow("no delay: nothing")
        << false << -60000 << false << 0u     << false;
    // clang-format on
}

void TestMainForm::startUpLoadsTheJobFileAndArmsTheDelayedStart()
{
    QFETCH(bool, delayedStart);
    QFETCH(int, nowAfterStartMs);
    QFETCH(bool, autoRun);
    QFETCH(uint, interval);
    QFETCH(bool, startTimeSetToNow);
    Started s;
    QVERIFY(writeBytes(s.scratch.filePath(QStringLiteral("jobs.ini")), jobFile(delayedStart)));
    s.clock.advanceMs(nowAfterStartMs);
    QStringList arguments{QStringLiteral("/Ijobs.ini")};
    if (autoRun)
        arguments << QStringLiteral("/R");
    s.start(arguments);

    QCOMPARE(s.form->jobTable().LastProc, 1);
    QCOMPARE(s.form->jobTable().ProcList[0].Param, QStringLiteral("a b"));
    QCOMPARE(s.timer("ElapsedTimer").interval(), 600000u);
    QVERIFY(!s.timer("ElapsedTimer").enabled());
    QCOMPARE(s.timer("StartTimer").enabled(), interval != 0);
    QCOMPARE(s.timer("StartTimer").interval(), interval);
    QCOMPARE(exactly(s.form->jobTable().DelayedStartTime),
             exactly(startTimeSetToNow ? s.clock.nowDays() : 46380.25));
    QVERIFY(s.prompts.asked.isEmpty());
    QVERIFY(!s.form->jobTable().Modified);
}

void TestMainForm::missingJobFileWithAutoRunIsReported_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("name"); // after the program's folder

    // clang-format off
    QTest::newRow("no /I")
        << QStringList{"/R"}                  << false << "";
    QTest::newRow("missing file")
        << QStringList{"/R", "/Imissing.ini"} << true  << "missing.ini";
    QTest::newRow("folder, not a file")
        << QStringList{"/R", "/I"}            << true  << "";
    // clang-format on
}

void TestMainForm::missingJobFileWithAutoRunIsReported()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, named);
    QFETCH(QString, name);
    Started s;
    s.start(arguments);
    const QString jobFile =
        named ? QDir::toNativeSeparators(s.scratch.path() + u'/' + name) : QString();
    QCOMPARE(s.prompts.texts(Kind::Error), QStringList{jobFile + QStringLiteral(" not found!")});
    QVERIFY(!s.timer("StartTimer").enabled());
    QCOMPARE(s.form->jobTable().LastProc, -1);
}

void TestMainForm::logFailureSkipsTheCommandLine()
{
#ifdef Q_OS_WIN
    QSKIP("Windows keeps a process's current folder from being removed");
#endif
    Started s;
    QVERIFY(writeBytes(s.scratch.filePath(QStringLiteral("jobs.ini")), jobFile(false)));
    // A current folder that no longer exists: the log file cannot be created in it.
    QVERIFY(QDir().rmdir(s.scratch.path()) || QDir(s.scratch.path()).removeRecursively());
    s.start({QStringLiteral("/Ijobs.ini"), QStringLiteral("/R")});
    QCOMPARE(s.prompts.texts(Kind::General), QStringList{QStringLiteral("File not found.")});
    QVERIFY(!s.form->flags().AutoRun);
    QCOMPARE(s.form->jobTable().JobFileName, QString());
    QVERIFY(!s.timer("StartTimer").enabled());
}

void TestMainForm::specialFilesAtStartUpAreRefused_data()
{
    QTest::addColumn<QString>("fifo");  // made a FIFO; empty for none
    QTest::addColumn<QString>("named"); // the job file, after /I
    QTest::addColumn<QString>("message");

    // clang-format off
    if (SpecialFiles::canMake(Special::Fifo)) {
        QTest::newRow("job file")
            << "jobs.ini"     << "jobs.ini" << "%1/jobs.ini is not a regular file.";
        QTest::newRow("log file")
            << "Runlatch.log" << "jobs.ini" << "Runlatch.log is not a regular file.";
    }
    for (const SpecialFiles::DeviceName& device : SpecialFiles::deviceNames()) {
        if (device.inFolder)
            QTest::addRow("job file named %s", device.row)
                << "" << device.name << "%1/" + device.name + " is not a regular file.";
    }
    // clang-format on
}

// A FIFO or a device would block the start-up for good if it were opened for reading; it is
// refused with a message, and with /R the window stays open to show it, as for a missing job file.
void TestMainForm::specialFilesAtStartUpAreRefused()
{
    QFETCH(QString, fifo);
    QFETCH(QString, named);
    QFETCH(QString, message);
    Started s;
    QVERIFY(writeBytes(s.scratch.filePath(QStringLiteral("jobs.ini")), jobFile(false)));
    if (!fifo.isEmpty()) {
        const QString path = s.scratch.filePath(fifo);
        QFile::remove(path);
        QVERIFY(SpecialFiles::make(Special::Fifo, path));
    }
    {
        const FailInsteadOfHanging watchdog;
        s.start({QStringLiteral("/I") + named, QStringLiteral("/R")});
    }
    // The job file's path in the platform's own notation.
    QCOMPARE(s.prompts.texts(Kind::General),
             QStringList{QDir::toNativeSeparators(message.arg(s.scratch.path()))});
    QCOMPARE(s.form->jobTable().LastProc, -1);
    QVERIFY(!s.timer("StartTimer").enabled());
}

void TestMainForm::failedRunKeepsTheSchedule_data()
{
    QTest::addColumn<bool>("autoRun");

    QTest::newRow("by hand") << false;
    QTest::newRow("auto-run") << true;
}

// A run by hand that fails shows its error while later ticks are dropped; once the box is closed
// the repeat timer starts runs again, whose errors hold nothing, and a run that ends normally
// closes the window in auto-run mode.
void TestMainForm::failedRunKeepsTheSchedule()
{
    QFETCH(bool, autoRun);
    Started s;
    s.start({});
    s.form->show();
    s.form->flags().AutoRun = autoRun;
    JobTable& table = s.form->jobTable();
    const QString program = s.scratch.filePath(QStringLiteral("tool"));
    addEntry(table, program);
    int runsDuringABox = 0;
    s.prompts.whileAsking = [&](const ScriptedPrompts::Asked&) {
        const int before = s.prompts.count(Kind::General);
        // A tick while the box is open starts nothing: no second box.
        s.form->scheduler().ElapsedTimerTimer();
        runsDuringABox += s.prompts.count(Kind::General) - before;
    };
    Timer& repeat = s.timer("ElapsedTimer");
    repeat.setInterval(20);

    s.form->Process1Click();
    QVERIFY(repeat.enabled());
    // Every tick after the first failure starts a run again, and each fails the same way.
    QTRY_VERIFY(s.prompts.count(Kind::GeneralLater) >= 2);
    QCOMPARE(s.prompts.count(Kind::General), 1);
    QCOMPARE(runsDuringABox, 0);
    QCOMPARE(s.prompts.texts(Kind::General).constFirst(),
             QStringLiteral("Unable to find application tool."));
    QVERIFY(s.form->isVisible());

    // Put in place whole in one step, so no tick meets half a program.
    QVERIFY(QFile::copy(testChildPath(), program + QStringLiteral(".new")));
    QVERIFY(QFile::rename(program + QStringLiteral(".new"), program));
    const int failures = s.prompts.count(Kind::GeneralLater);
    QTRY_VERIFY(readBytes(LogName).contains("Complete"));
    QCOMPARE(s.prompts.count(Kind::GeneralLater), failures);
    if (autoRun)
        QTRY_VERIFY(!s.form->isVisible());
    else
        QVERIFY(s.form->isVisible());
}

// Runs add lines for as long as the program runs: none of them may stay behind in an undo
// history once the memo has dropped it.
void TestMainForm::memoKeepsNoUndoHistory()
{
    Started s;
    s.start({});
    JobTable& table = s.form->jobTable();
    table.ProcList[0] = {testChildPath(), QString()};
    table.LastProc = 0;
    for (int run = 0; run < 10; ++run)
        s.form->Process1Click();
    const auto* memo = s.form->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QCOMPARE(memo->document()->blockCount(), 15);
    QCOMPARE(memo->document()->availableUndoSteps(), 0);
}

// A focused memo's cursor would blink, waking the program twice a second through every run.
void TestMainForm::memoTakesTheFocusOnlyWhenClicked()
{
    Started s;
    s.start({});
    s.form->show();
    QVERIFY(QTest::qWaitForWindowActive(s.form.get()));
    auto* memo = s.form->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QVERIFY(!memo->hasFocus());
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QVERIFY(memo->hasFocus());
}

void TestMainForm::menuListsTheCommandsInOrder()
{
    Started s;
    s.start({});
    QStringList captions;
    for (QAction* menuAction : s.form->menuBar()->actions()) {
        captions << menuAction->text();
        for (QAction* item : menuAction->menu()->actions())
            captions << (item->isSeparator() ? QStringLiteral("-")
                                             : QStringLiteral("  ") + item->text());
    }
    const QStringList expected{
        "&File",   "  &Open Ini", "  &New Ini",     "-",           "  &Process", "  S&top Run",
        "-",       "  &Save Ini", "  Save &As Ini", "  &Export Schedule...", "-", "  E&xit",
        "&View",   "  &Log",      "&Configure",     "  &Processes", "  &Schedule", "&Help",
        "  &Contents", "  &About"};
    QCOMPARE(captions, expected);
    QCOMPARE(s.form->windowTitle(), QStringLiteral("Runlatch"));
}

void TestMainForm::closeAsksOnlyWhenModified_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("saveDialogs");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("saveAs"); // the save dialog's answer: empty cancels it

    // clang-format off
    QTest::newRow("not modified")
        << false << Answer::Yes    << 0 << 0 << true  << 0 << "";
    QTest::newRow("modified, answered no")
        << true  << Answer::No     << 1 << 0 << true  << 0 << "";
    QTest::newRow("modified, cancelled (Escape)")
        << true  << Answer::Cancel << 1 << 0 << false << 0 << "";
    QTest::newRow("modified, answered yes, saved")
        << true  << Answer::Yes    << 1 << 1 << true  << 0 << "saved.ini";
    QTest::newRow("modified, answered yes, dialog cancelled")
        << true  << Answer::Yes    << 1 << 1 << false << 0 << "";
    QTest::newRow("modified, answered yes, save fails")
        << true  << Answer::Yes    << 1 << 1 << false << 1 << "no-such-folder/saved.ini";
    // clang-format on
}

void TestMainForm::closeAsksOnlyWhenModified()
{
    QFETCH(bool, modified);
    QFETCH(Answer, answer);
    QFETCH(QString, saveAs);
    QFETCH(int, questions);
    QFETCH(int, saveDialogs);
    QFETCH(bool, closes);
    QFETCH(int, errors);
    Started s;
    s.start({});
    s.form->show();
    JobTable& table = s.form->jobTable();
    addEntry(table, QStringLiteral("/bin/true"), QStringLiteral("kept"));
    table.Modified = modified;
    s.prompts.confirmOrCancelAnswers << answer;
    s.prompts.fileAnswers << (saveAs.isEmpty() ? std::nullopt
                                               : std::optional(s.scratch.filePath(saveAs)));
    QCOMPARE(s.form->close(), closes);
    QCOMPARE(s.prompts.count(Kind::Confirm), questions);
    if (questions > 0)
        QCOMPARE(s.prompts.texts(Kind::Confirm).first(),
                 QStringLiteral("Ini has been modified, do you wish to save?"));
    QCOMPARE(s.prompts.count(Kind::SaveFile), saveDialogs);
    QCOMPARE(s.prompts.count(Kind::General), errors);
    QCOMPARE(s.form->isVisible(), !closes);
    if (closes)
        return;
    // The edits are still there and still unsaved, and the next close asks again.
    QCOMPARE(table.LastProc, 0);
    QCOMPARE(table.ProcList[0].Param, QStringLiteral("kept"));
    QVERIFY(table.Modified);
    s.prompts.confirmOrCancelAnswers << Answer::No;
    QVERIFY(s.form->close());
    QCOMPARE(s.prompts.count(Kind::Confirm), 2);
}

void TestMainForm::closeDuringARunWaitsForIt()
{
    Started s;
    s.start({});
    s.form->show();
    JobTable& table = s.form->jobTable();
    ChildLog children(s.scratch.path());
    children.setSleepMs(300);
    addEntry(table, testChildPath());
    addEntry(table, testChildPath());
    table.Modified = true;
    s.prompts.confirmOrCancelAnswers << Answer::No;
    // The user closes the window while the first program runs.
    QTimer::singleShot(0, s.form.get(), [&] {
        QVERIFY(!s.form->close());
        QVERIFY(s.form->isVisible());
    });
    s.form->Process1Click();
    // The question came at once, the run went on to the end, and only then the window closed.
    QCOMPARE(s.prompts.count(Kind::Confirm), 1);
    QCOMPARE(crlfLines(LogName).size(), 3);
    QTRY_VERIFY(!s.form->isVisible());
    QCOMPARE(s.prompts.count(Kind::Confirm), 1);
}

// View > Log while a run waits for its first program: the program ends, the next one starts and
// the run completes while the viewer stays open beside the window, showing the lines as they come.
void TestMainForm::runGoesOnWhileTheLogIsOpen()
{
    Started s;
    s.start({});
    s.form->show();
    TMainForm::WindowCommands commands;
    commands.Log1Click = [&s] {
        TRunlatchLogForm::Log1Click(*s.form, s.form->activityLog(), s.form->flags(), s.prompts);
    };
    s.form->setWindowCommands(commands);
    JobTable& table = s.form->jobTable();
    ChildLog children(s.scratch.path());
    children.setSleepMs(100);
    addEntry(table, testChildPath());
    addEntry(table, testChildPath());
    bool modal = false;
    QTimer::singleShot(0, s.form.get(), [&] {
        // A modal viewer would still be open when the event loop next comes by, holding the run.
        QTimer::singleShot(0, s.form.get(), [&] {
            if (QWidget* window = QApplication::activeModalWidget()) {
                modal = true;
                window->close();
            }
        });
        s.form->findChild<QAction*>(QStringLiteral("Log1"))->trigger();
    });
    s.form->Process1Click();

    QVERIFY(!modal);
    QCOMPARE(children.records().size(), 2);
    const auto* viewer = s.form->findChild<TRunlatchLogForm*>();
    QVERIFY(viewer && viewer->isVisible());
    QTRY_COMPARE(viewer->findChild<LogView*>(QStringLiteral("Memo2"))->lineCount(), 3);
}

void TestMainForm::windowCommandsRunGuarded()
{
    Started s;
    s.start({});
    QStringList ran;
    const auto command = [&ran](const char* item) {
        return [&ran, item] {
            ran << QString::fromLatin1(item);
            throw RunlatchError(QString::fromLatin1(item) + QStringLiteral(" failed"));
        };
    };
    s.form->setWindowCommands({.Log1Click = command("Log1"),
                               .Parameters1Click = command("Parameters1"),
                               .Schedule1Click = command("Schedule1"),
                               .Contents1Click = command("Contents1"),
                               .About1Click = command("About1")});
    const QStringList items{"Log1", "Parameters1", "Schedule1", "Contents1", "About1"};
    for (const QString& item : items)
        s.form->findChild<QAction*>(item)->trigger();
    // Each menu item runs its own command, and the error it raises reaches the display.
    QCOMPARE(ran, items);
    QCOMPARE(s.prompts.texts(Kind::General).first(), QStringLiteral("Log1 failed."));
    QCOMPARE(s.prompts.count(Kind::General), 5);
}

void TestMainForm::unattendedFailuresAreReported_data()
{
    QTest::addColumn<bool>("byHand");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("notified");
    QTest::addColumn<TrayIcon::Mark>("mark");
    QTest::addColumn<Kind>("box"); // how the error box was shown

    const QString missing = QStringLiteral("/nonexistent/tool");
    const QString stopped =
        u"Run failed|/nonexistent/tool at entry 1 of 1: Unable to find application tool."_s;
    // A box nobody closes must not hold the schedule: an unattended run's comes after the run.
    QTest::newRow("timer tick, program missing")
        << false << missing << stopped << TrayIcon::Mark::Failed << Kind::GeneralLater;
    QTest::newRow("by hand, program missing")
        << true << missing << QString() << TrayIcon::Mark::Failed << Kind::General;
    QTest::newRow("timer tick, clean run")
        << false << testChildPath() << QString() << TrayIcon::Mark::None << Kind::Beep;
}

// A run nobody watches tells the desktop once when it goes wrong; the tray keeps the mark until
// the window is shown from it. The tray's menu runs the main menu's own commands.
void TestMainForm::unattendedFailuresAreReported()
{
    QFETCH(bool, byHand);
    QFETCH(QString, program);
    QFETCH(QString, notified);
    QFETCH(TrayIcon::Mark, mark);
    QFETCH(Kind, box);
    Started s;
    s.start({});
    QStringList sent;
    s.form->setNotifier(std::make_unique<RecordingNotifier>(sent));
    ChildLog children(s.scratch.path());
    addEntry(s.form->jobTable(), program);

    const auto trayCommand = [&s](const QString& name) {
        const QList<QAction*> actions = s.form->trayIcon().menu()->actions();
        const auto found = std::find_if(actions.begin(), actions.end(),
                                        [&name](QAction* a) { return a->objectName() == name; });
        QVERIFY2(found != actions.end(), qPrintable(name));
        (*found)->trigger();
    };
    if (byHand)
        trayCommand(u"Process1"_s);
    else
        s.form->processUnattended();
    QCOMPARE(sent, notified.isEmpty() ? QStringList() : QStringList{notified});
    QCOMPARE(s.form->trayIcon().mark(), mark);
    QCOMPARE(s.prompts.asked.size(), box == Kind::Beep ? 0 : 1);
    if (box != Kind::Beep)
        QCOMPARE(s.prompts.asked[0].kind, box);
    QVERIFY(!s.form->flags().RunInProgress);
    trayCommand(u"TrayShow"_s);
    QVERIFY(s.form->isVisible());
    QCOMPARE(s.form->trayIcon().mark(), TrayIcon::Mark::None);
}

// Not a check: saves a picture of the window for the documentation when asked to.
// What the status bar says through a run that is stopped, a run that fails, and the edits and
// commands in between; Stop Run with no run says so.
void TestMainForm::statusBarFollowsTheRuns()
{
    const FailInsteadOfHanging watchdog;
    Started s;
    QVERIFY(writeBytes(s.scratch.filePath(QStringLiteral("jobs.ini")), jobFile(false)));
    s.start({QStringLiteral("/Ijobs.ini")});
    s.form->show();
    const auto shown = [&s](const char* part) {
        return s.form->findChild<QLabel*>(QString::fromLatin1(part))->text();
    };
    const auto menu = [&s](const char* name) {
        s.form->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };
    QCOMPARE(shown("StatusJobFile"), QStringLiteral("jobs.ini"));
    QCOMPARE(shown("StatusState"), QStringLiteral("Repeats every 0 h 10 min after the first run"));
    QCOMPARE(shown("StatusLastRun"), QString());
    // A screen reader reads each part's text as its name.
    QAccessibleInterface* state = QAccessible::queryAccessibleInterface(
        s.form->findChild<QLabel*>(QStringLiteral("StatusState")));
    QCOMPARE(state->text(QAccessible::Name), shown("StatusState"));

    JobTable& table = s.form->jobTable();
    ChildLog children(s.scratch.path());
    children.setSleepMs(60000);
    table.ProcList[0] = {testChildPath(), QString()};
    QString whileRunning;
    QTimer::singleShot(0, [&] {
        // The status bar catches up when the event loop comes by, before anything is painted.
        QCoreApplication::sendPostedEvents();
        whileRunning = shown("StatusState");
        menu("StopRun1");
    });
    menu("Process1");
    QCOMPARE(whileRunning, QStringLiteral("Running 1 of 2: ") + testChildPath());
    QCOMPARE(shown("StatusLastRun"), QStringLiteral("Last run stopped 06:00"));
    QCOMPARE(shown("StatusState"), QStringLiteral("Next run at 06:10 (every 0 h 10 min)"));

    children.setSleepMs(0);
    table.ProcList[0] = {testChildPath(), QString()};
    table.ProcList[1] = {QStringLiteral("/nonexistent/tool"), QString()};
    table.Modified = true;
    menu("Process1");
    QCOMPARE(shown("StatusLastRun"),
             QStringLiteral("Last run failed at entry 2: Unable to find application tool."));
    QCOMPARE(shown("StatusJobFile"), QStringLiteral("jobs.ini *"));
    QCOMPARE(s.form->findChild<QLabel*>(QStringLiteral("StatusJobFile"))->toolTip(),
             QDir::toNativeSeparators(s.scratch.filePath(QStringLiteral("jobs.ini"))));

    menu("StopRun1");
    QCOMPARE(s.prompts.texts(Kind::Information),
             QStringList{QString::fromLatin1(TMainForm::NoRunText)});
    QCOMPARE(s.form->windowTitle(), QStringLiteral("Runlatch"));
    const QString undescribed = AccessibilityChecks::undescribedControls(*s.form);
    QVERIFY2(undescribed.isEmpty(), qPrintable(undescribed));
}

// The window as a user sees it during a run: the memo's last lines and the status bar with the
// job file, the program the run is at, and how the run before ended.
void TestMainForm::exportScheduleAsksBeforeReplacing_data()
{
    QTest::addColumn<QString>("jobFile"); // the window's, with its repeat in minutes
    QTest::addColumn<bool>("replace");     // the answer when the timer is there already
    QTest::addColumn<QList<Kind>>("asked");

    // clang-format off
    QTest::newRow("replaced")    << "10.ini" << true  << QList<Kind>{Kind::Confirm, Kind::Information};
    QTest::newRow("kept")        << "10.ini" << false << QList<Kind>{Kind::Confirm};
    QTest::newRow("nothing to schedule") << "0.ini" << true << QList<Kind>{Kind::General};
    QTest::newRow("never saved") << ""       << true  << QList<Kind>{Kind::Error};
    // clang-format on
}

void TestMainForm::exportScheduleAsksBeforeReplacing()
{
    QFETCH(QString, jobFile);
    QFETCH(bool, replace);
    QFETCH(QList<Kind>, asked);
    Started s;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(s.scratch.filePath(u"config"_s)));
    s.start({});
    for (const char* mins : {"0", "10"})
        QVERIFY(writeBytes(s.scratch.filePath(QString::fromLatin1(mins) + u".ini"_s),
                           processesSection({{u"/bin/true"_s, {}}}) +
                               "[Schedule]\r\nEveryMins=" + mins + "\r\n"));
    const ExportTarget target = nativeExportTarget();
    const ExportPlan plan = planScheduleExport(
        target, readJobToExport(s.scratch.filePath(u"10.ini"_s), s.clock.nowDays()),
        QCoreApplication::applicationFilePath(), defaultExportFolder(target), s.clock.nowDays());
    QVERIFY(QDir().mkpath(defaultExportFolder(target)) && writeBytes(plan.files[0].path, "old"));
    s.form->jobTable().JobFileName = jobFile.isEmpty() ? QString() : s.scratch.filePath(jobFile);
    s.prompts.confirmAnswers << replace;

    s.form->findChild<QAction*>(u"ExportSchedule1"_s)->trigger();
    QList<Kind> kinds;
    for (const ScriptedPrompts::Asked& question : std::as_const(s.prompts.asked))
        kinds << question.kind;
    QCOMPARE(kinds, asked);
    const bool written = asked.contains(Kind::Information);
    QCOMPARE(readBytes(plan.files[0].path), written ? plan.files[0].contents : "old"_ba);
    if (written)
        QVERIFY(s.prompts.texts(Kind::Information)[0].endsWith(plan.startCommand));
}

void TestMainForm::savesAPictureForTheManual()
{
    const QString folder = qEnvironmentVariable("RUNLATCH_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("RUNLATCH_SCREENSHOT_DIR is not set");
    const FailInsteadOfHanging watchdog;
    Started s;
    QVERIFY(writeBytes(
        s.scratch.filePath(QStringLiteral("nightly.ini")),
        processesSection({{QStringLiteral("/usr/bin/date"), QStringLiteral("+%F")},
                          {QStringLiteral("/bin/sh"), QStringLiteral("-c 'exec sleep 60'")},
                          {QStringLiteral("/usr/bin/true"), QString()}}) +
            "[Schedule]\r\nEveryHours=1\r\nEveryMins=0\r\n"));
    s.start({QStringLiteral("/Inightly.ini")});
    s.form->resize(640, 400);
    s.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.form.get()));
    auto* stopRun = s.form->findChild<QAction*>(QStringLiteral("StopRun1"));
    QTimer::singleShot(0, stopRun, &QAction::trigger);
    s.form->Process1Click();
    bool saved = false;
    QTimer::singleShot(0, [&] {
        QCoreApplication::sendPostedEvents();
        saved = s.form->grab().save(folder + QStringLiteral("/main-window.png"));
        stopRun->trigger();
    });
    s.form->Process1Click();
    QVERIFY(saved);
}

QTEST_MAIN(TestMainForm)
#include "tst_MainForm.moc"
