#include "JobTable.h"
#include "MainFlags.h"
#include "Scheduler.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "Timer.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>
#include <stdexcept>

using namespace std::chrono_literals;

namespace {

using Steady = std::chrono::steady_clock;
using Kind = ScriptedPrompts::Kind;

constexpr int Patience = 20000;
constexpr std::chrono::milliseconds TenMinutes = 10min;

const QString PassedText = QStringLiteral("Delayed Start Time has already passed");
const QString StartClockText =
    QStringLiteral("Do you want to start the clock for delayed processing?");

// How the timers and the table stood when a run began.
struct RunStart {
    bool elapsedEnabled = false;
    std::optional<Timer::TimePoint> elapsedDue;
    bool startEnabled = false;
    bool delayedStart = false;
};

// A scheduler on its own table, flags, clock and timers; process1Click records each run.
struct Rig {
    JobTable table;
    MainFlags flags;
    SettableClock clock;
    Timer startTimer;
    Timer elapsedTimer;
    QList<RunStart> runs;
    std::function<void()> duringRun;
    Scheduler scheduler{table, flags, clock, startTimer, elapsedTimer, [this] {
                            runs << RunStart{elapsedTimer.enabled(), elapsedTimer.nextTick(),
                                             startTimer.enabled(), table.DelayedStart};
                            if (duringRun)
                                duringRun();
                        }};

    Rig() { table.DelayedStartTime = clock.nowDays(); }

    // Sets DelayedStart, and DelayedStartTime offsetMs from the clock's now, which it returns.
    [[nodiscard]] TDateTime setDelayedStart(bool on, qint64 offsetMs)
    {
        table.DelayedStart = on;
        table.DelayedStartTime = toDateTime(clock.now().addMSecs(offsetMs));
        return table.DelayedStartTime;
    }
    // "on" or "off" and the interval: the two properties at one glance.
    [[nodiscard]] static QString state(const Timer& timer)
    {
        return QStringLiteral("%1 %2")
            .arg(timer.enabled() ? QStringLiteral("on") : QStringLiteral("off"))
            .arg(timer.interval());
    }
    void setSchedule(int hours, int mins)
    {
        table.EveryHours = hours;
        table.EveryMins = mins;
        scheduler.SetIntervalFromSchedule();
    }
    // Ticks go to the handlers, as the main window wires them.
    void wireTicks()
    {
        QObject::connect(&startTimer, &Timer::timeout, &startTimer,
                         [this] { scheduler.StartTimerTimer(); });
        QObject::connect(&elapsedTimer, &Timer::timeout, &elapsedTimer,
                         [this] { scheduler.ElapsedTimerTimer(); });
    }
};

// A prompt's answer in a data row: no answer queued, No, or Yes.
enum Answer { Unscripted = -1, No = 0, Yes = 1 };

void queueAnswer(ScriptedPrompts& prompts, int answer)
{
    if (answer != Unscripted)
        prompts.confirmAnswers.enqueue(answer == Yes);
}

// QCOMPARE takes doubles as equal within a relative 1e-12, wider than a millisecond at today's
// day counts.
QString exactly(TDateTime value)
{
    return QString::number(value, 'g', 17);
}

QStringList shownIf(bool shown, const QString& text)
{
    return shown ? QStringList{text} : QStringList{};
}

} // namespace

class TestScheduler : public QObject {
    Q_OBJECT

private slots:
    void intervalFromSchedule_data();
    void intervalFromSchedule();
    void newScheduleWhileRepeating_data();
    void newScheduleWhileRepeating();
    void zeroPeriodThenPeriodStartsAtOnce();
    void periodCountsFromEndOfManualRun();
    void armAtStartup_data();
    void armAtStartup();
    void armAfterOpen_data();
    void armAfterOpen();
    void armAfterScheduleSave_data();
    void armAfterScheduleSave();
    void scheduleSaveLeavesWaitingTimerAlone();
    void startTimerTick_data();
    void startTimerTick();
    void elapsedTimerTick_data();
    void elapsedTimerTick();
    void errorInRunKeepsWhatChanged();
    void autoRunStartsOneRun();
    void repeatTicksDuringRunAreDropped();
};

void TestScheduler::intervalFromSchedule_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("mins");
    QTest::addColumn<qint64>("period");
    QTest::addColumn<uint>("interval");

    constexpr int Most = std::numeric_limits<int>::max();
    constexpr int Least = std::numeric_limits<int>::min();
    QTest::newRow("1h30") << 1 << 30 << 5400000LL << 5400000U;
    QTest::newRow("0h5") << 0 << 5 << 300000LL << 300000U;
    QTest::newRow("nothing") << 0 << 0 << 0LL << 0U;
    QTest::newRow("1h minus 30") << 1 << -30 << 1800000LL << 1800000U;
    QTest::newRow("minus 1h") << -1 << 0 << 0LL << 0U;
    QTest::newRow("both negative") << -1 << -1 << 0LL << 0U;
    QTest::newRow("minus 1h plus 90") << -1 << 90 << 1800000LL << 1800000U;
    QTest::newRow("total zero") << 1 << -60 << 0LL << 0U;
    QTest::newRow("total negative") << 1 << -90 << 0LL << 0U;
    QTest::newRow("1193h2m") << 1193 << 2 << 4294920000LL << 4294920000U;
    QTest::newRow("1193h3m clamped") << 1193 << 3 << 4294980000LL << 4294967295U;
    QTest::newRow("1194h clamped") << 1194 << 0 << 4298400000LL << 4294967295U;
    QTest::newRow("71582 minutes") << 0 << 71582 << 4294920000LL << 4294920000U;
    QTest::newRow("71583 minutes clamped") << 0 << 71583 << 4294980000LL << 4294967295U;
    QTest::newRow("largest clamped") << Most << Most << 7859790148020000LL << 4294967295U;
    QTest::newRow("least hours") << Least << 5 << 0LL << 0U;
}

void TestScheduler::intervalFromSchedule()
{
    QFETCH(int, hours);
    QFETCH(int, mins);
    QFETCH(qint64, period);
    QFETCH(uint, interval);

    QCOMPARE(repeatPeriodMs(hours, mins), period);
    Rig rig;
    rig.setSchedule(hours, mins);
    QCOMPARE(rig.elapsedTimer.interval(), interval);
    QVERIFY(!rig.elapsedTimer.enabled());
    QVERIFY(!rig.startTimer.enabled());
    QVERIFY(!rig.table.Modified);
}

void TestScheduler::newScheduleWhileRepeating_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("mins");
    QTest::addColumn<QString>("outcome"); // "kept", "restarted" or "idle"

    QTest::newRow("same schedule") << 1 << 30 << "kept";
    QTest::newRow("same period in minutes") << 0 << 90 << "kept";
    QTest::newRow("other period") << 2 << 0 << "restarted";
    QTest::newRow("no repeat") << 0 << 0 << "idle";
}

void TestScheduler::newScheduleWhileRepeating()
{
    QFETCH(int, hours);
    QFETCH(int, mins);
    QFETCH(QString, outcome);

    Rig rig;
    rig.setSchedule(1, 30);
    rig.elapsedTimer.setEnabled(true);
    const auto dueBefore = rig.elapsedTimer.nextTick();
    const auto before = Steady::now();
    rig.setSchedule(hours, mins);
    const auto after = Steady::now();

    QVERIFY(rig.elapsedTimer.enabled());
    const auto due = rig.elapsedTimer.nextTick();
    if (outcome == QLatin1String("kept")) {
        QVERIFY(due && due == dueBefore);
    } else if (outcome == QLatin1String("restarted")) {
        const std::chrono::milliseconds period(repeatPeriodMs(hours, mins));
        QVERIFY(due);
        QVERIFY(*due >= before + period);
        QVERIFY(*due <= after + period);
    } else {
        QVERIFY(!due);
    }
    QVERIFY(rig.runs.isEmpty());
}

void TestScheduler::zeroPeriodThenPeriodStartsAtOnce()
{
    Rig rig;
    rig.setSchedule(0, 5);
    rig.elapsedTimer.setEnabled(true);
    rig.setSchedule(0, 0);
    QVERIFY(!rig.elapsedTimer.nextTick());

    const auto before = Steady::now();
    rig.setSchedule(0, 10);
    QVERIFY(rig.elapsedTimer.enabled());
    QVERIFY(rig.elapsedTimer.nextTick());
    QVERIFY(*rig.elapsedTimer.nextTick() >= before + TenMinutes);
}

void TestScheduler::periodCountsFromEndOfManualRun()
{
    Rig rig;
    rig.setSchedule(0, 10);
    QVERIFY(!rig.elapsedTimer.nextTick());

    // The end of a run enables the repeat timer: the first such end starts the period, a later
    // one leaves the grid as it is.
    const auto before = Steady::now();
    rig.elapsedTimer.setEnabled(true);
    const auto firstEnd = rig.elapsedTimer.nextTick();
    QVERIFY(firstEnd && *firstEnd >= before + TenMinutes);
    rig.elapsedTimer.setEnabled(true);
    QVERIFY(rig.elapsedTimer.nextTick() == firstEnd);
}

void TestScheduler::armAtStartup_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<bool>("autoRun");
    QTest::addColumn<uint>("armedMs"); // 0: StartTimer stays idle
    QTest::addColumn<bool>("startTimeIsNow");

    constexpr qint64 Day = 86400000;
    QTest::newRow("delay 1 ms ahead") << true << 1LL << false << 60000U << false;
    QTest::newRow("delay now") << true << 0LL << false << 60000U << false;
    QTest::newRow("delay 1 ms passed") << true << -1LL << false << 0U << false;
    QTest::newRow("delay 1 ms ahead, auto-run") << true << 1LL << true << 60000U << false;
    QTest::newRow("delay now, auto-run") << true << 0LL << true << 60000U << false;
    QTest::newRow("delay 1 ms passed, auto-run") << true << -1LL << true << 250U << true;
    QTest::newRow("no delay, auto-run") << false << Day << true << 250U << true;
    QTest::newRow("no delay") << false << Day << false << 0U << false;
    QTest::newRow("no delay, time passed") << false << -Day << false << 0U << false;
}

void TestScheduler::armAtStartup()
{
    QFETCH(bool, delayedStart);
    QFETCH(qint64, offsetMs);
    QFETCH(bool, autoRun);
    QFETCH(uint, armedMs);
    QFETCH(bool, startTimeIsNow);

    Rig rig;
    const TDateTime startTime = rig.setDelayedStart(delayedStart, offsetMs);
    rig.flags.AutoRun = autoRun;
    rig.scheduler.armAtStartup();

    QCOMPARE(Rig::state(rig.startTimer),
             armedMs != 0 ? QStringLiteral("on %1").arg(armedMs) : QStringLiteral("off 0"));
    QCOMPARE(exactly(rig.table.DelayedStartTime),
             exactly(startTimeIsNow ? rig.clock.nowDays() : startTime));
    QCOMPARE(rig.table.DelayedStart, delayedStart);
    QVERIFY(!rig.elapsedTimer.enabled());
    QVERIFY(!rig.table.Modified);
    QVERIFY(rig.runs.isEmpty());
}

void TestScheduler::armAfterOpen_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("passedShown");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("armed");

    QTest::newRow("no delay") << false << 1LL << int(Unscripted) << false << false << false;
    QTest::newRow("no delay, time passed")
        << false << -1LL << int(Unscripted) << false << false << false;
    QTest::newRow("1 ms passed") << true << -1LL << int(Unscripted) << true << false << false;
    QTest::newRow("now, Yes") << true << 0LL << int(Yes) << false << true << true;
    QTest::newRow("now, No") << true << 0LL << int(No) << false << true << false;
    QTest::newRow("1 ms ahead, Yes") << true << 1LL << int(Yes) << false << true << true;
    QTest::newRow("1 ms ahead, No") << true << 1LL << int(No) << false << true << false;
}

void TestScheduler::armAfterOpen()
{
    QFETCH(bool, delayedStart);
    QFETCH(qint64, offsetMs);
    QFETCH(int, answer);
    QFETCH(bool, passedShown);
    QFETCH(bool, asked);
    QFETCH(bool, armed);

    Rig rig;
    const TDateTime startTime = rig.setDelayedStart(delayedStart, offsetMs);
    ScriptedPrompts prompts;
    queueAnswer(prompts, answer);
    // A message box stays open a while before the user answers it.
    prompts.whileAsking = [&rig](const ScriptedPrompts::Asked&) {
        rig.clock.advanceMs(5000);
    };
    rig.scheduler.armAfterOpen(prompts);

    QCOMPARE(prompts.texts(Kind::Information), shownIf(passedShown, PassedText));
    QCOMPARE(prompts.texts(Kind::Confirm), shownIf(asked, StartClockText));
    QCOMPARE(prompts.asked.size(), qsizetype(passedShown || asked));
    QCOMPARE(prompts.unanswered, 0);
    QCOMPARE(Rig::state(rig.startTimer), QString::fromLatin1(armed ? "on 60000" : "off 0"));
    // Once the box is closed, DelayedStartTime becomes the time of closing.
    QCOMPARE(exactly(rig.table.DelayedStartTime),
             exactly(passedShown ? rig.clock.nowDays() : startTime));
    QCOMPARE(rig.table.DelayedStart, delayedStart);
    QVERIFY(!rig.elapsedTimer.enabled());
    QVERIFY(!rig.table.Modified);
}

void TestScheduler::armAfterScheduleSave_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("armed");

    constexpr qint64 Day = 86400000;
    QTest::newRow("ahead, Yes") << true << Day << int(Yes) << true;
    QTest::newRow("ahead, No") << true << Day << int(No) << false;
    QTest::newRow("now, Yes") << true << 0LL << int(Yes) << true;
    QTest::newRow("passed, Yes") << true << -Day << int(Yes) << true;
    QTest::newRow("passed, No") << true << -Day << int(No) << false;
    QTest::newRow("no delay") << false << Day << int(Unscripted) << false;
}

void TestScheduler::armAfterScheduleSave()
{
    QFETCH(bool, delayedStart);
    QFETCH(qint64, offsetMs);
    QFETCH(int, answer);
    QFETCH(bool, armed);

    Rig rig;
    const TDateTime startTime = rig.setDelayedStart(delayedStart, offsetMs);
    ScriptedPrompts prompts;
    queueAnswer(prompts, answer);
    rig.scheduler.armAfterScheduleSave(prompts);

    QCOMPARE(prompts.texts(Kind::Confirm), shownIf(delayedStart, StartClockText));
    QCOMPARE(prompts.asked.size(), qsizetype(delayedStart));
    QCOMPARE(prompts.unanswered, 0);
    QCOMPARE(Rig::state(rig.startTimer), QString::fromLatin1(armed ? "on 60000" : "off 0"));
    QCOMPARE(exactly(rig.table.DelayedStartTime), exactly(startTime));
    QCOMPARE(rig.table.DelayedStart, delayedStart);
    QVERIFY(!rig.table.Modified);
}

void TestScheduler::scheduleSaveLeavesWaitingTimerAlone()
{
    Rig rig;
    rig.scheduler.armDelayedStart();
    const auto waitingSince = rig.startTimer.nextTick();
    QVERIFY(waitingSince);

    ScriptedPrompts prompts;
    rig.table.DelayedStart = false;
    rig.scheduler.armAfterScheduleSave(prompts);
    QVERIFY(prompts.asked.isEmpty());
    QVERIFY(rig.startTimer.enabled());
    QVERIFY(rig.startTimer.nextTick() == waitingSince);

    // Arming again with Yes keeps the minute that is already counting.
    rig.table.DelayedStart = true;
    prompts.confirmAnswers.enqueue(true);
    rig.scheduler.armAfterScheduleSave(prompts);
    QCOMPARE(prompts.count(Kind::Confirm), 1);
    QVERIFY(rig.startTimer.nextTick() == waitingSince);
}

void TestScheduler::startTimerTick_data()
{
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<bool>("runInProgress");
    QTest::addColumn<bool>("reached");
    QTest::addColumn<bool>("runStarted");

    QTest::newRow("1 ms ahead") << 1LL << false << false << false;
    QTest::newRow("1 ms ahead, run going") << 1LL << true << false << false;
    QTest::newRow("now") << 0LL << false << true << true;
    QTest::newRow("now, run going") << 0LL << true << true << false;
    QTest::newRow("1 ms passed") << -1LL << false << true << true;
    QTest::newRow("1 ms passed, run going") << -1LL << true << true << false;
}

void TestScheduler::startTimerTick()
{
    QFETCH(qint64, offsetMs);
    QFETCH(bool, runInProgress);
    QFETCH(bool, reached);
    QFETCH(bool, runStarted);

    Rig rig;
    const TDateTime startTime = rig.setDelayedStart(true, offsetMs);
    rig.flags.RunInProgress = runInProgress;
    rig.setSchedule(0, 10);
    rig.scheduler.armDelayedStart();
    const auto before = Steady::now();
    rig.scheduler.StartTimerTimer();

    QCOMPARE(rig.startTimer.enabled(), !reached);
    QCOMPARE(rig.startTimer.interval(), 60000U);
    QCOMPARE(rig.table.DelayedStart, !reached);
    QCOMPARE(exactly(rig.table.DelayedStartTime), exactly(startTime));
    QCOMPARE(rig.runs.size(), qsizetype(runStarted));
    // A run under way enables the repeat timer itself when it ends.
    QCOMPARE(rig.elapsedTimer.enabled(), runStarted);
    QVERIFY(!rig.table.Modified);
    if (!runStarted)
        return;
    const RunStart& run = rig.runs.first();
    QVERIFY(!run.startEnabled);
    QVERIFY(!run.delayedStart);
    // The repeat period was already counting when the run began.
    QVERIFY(run.elapsedEnabled);
    QVERIFY(run.elapsedDue && *run.elapsedDue >= before + TenMinutes);
}

void TestScheduler::elapsedTimerTick_data()
{
    QTest::addColumn<bool>("runInProgress");

    QTest::newRow("idle") << false;
    QTest::newRow("run going") << true;
}

void TestScheduler::elapsedTimerTick()
{
    QFETCH(bool, runInProgress);

    Rig rig;
    rig.setSchedule(0, 10);
    rig.elapsedTimer.setEnabled(true);
    const auto due = rig.elapsedTimer.nextTick();
    rig.flags.RunInProgress = runInProgress;
    rig.scheduler.ElapsedTimerTimer();
    rig.scheduler.ElapsedTimerTimer();

    QCOMPARE(rig.runs.size(), runInProgress ? 0 : 2);
    QVERIFY(rig.elapsedTimer.enabled());
    QVERIFY(rig.elapsedTimer.nextTick() == due);
    QVERIFY(!rig.startTimer.enabled());
}

void TestScheduler::errorInRunKeepsWhatChanged()
{
    Rig rig;
    rig.table.DelayedStart = true;
    rig.setSchedule(0, 10);
    rig.scheduler.armDelayedStart();
    rig.duringRun = [] {
        throw std::runtime_error("Unable to find application x");
    };

    QVERIFY_THROWS_EXCEPTION(std::runtime_error, rig.scheduler.StartTimerTimer());
    QCOMPARE(rig.runs.size(), 1);
    QVERIFY(!rig.table.DelayedStart);
    QVERIFY(!rig.startTimer.enabled());
    QVERIFY(rig.elapsedTimer.enabled());
}

void TestScheduler::autoRunStartsOneRun()
{
    Rig rig;
    rig.wireTicks();
    rig.flags.AutoRun = true;
    rig.scheduler.armAtStartup();
    QTRY_COMPARE_WITH_TIMEOUT(rig.runs.size(), 1, Patience);
    QVERIFY(!rig.startTimer.enabled());
    QVERIFY(!rig.table.DelayedStart);
    // No schedule: the repeat timer is enabled but never ticks.
    QVERIFY(rig.elapsedTimer.enabled());
    QVERIFY(!rig.elapsedTimer.nextTick());
}

void TestScheduler::repeatTicksDuringRunAreDropped()
{
    Rig rig;
    rig.wireTicks();
    QSignalSpy ticks(&rig.elapsedTimer, &Timer::timeout);
    qsizetype runsWhenFirstEnded = 0;
    rig.duringRun = [&] {
        if (rig.runs.size() > 1)
            return;
        // The first run waits with events pumped, as the launcher does, through several ticks.
        rig.flags.RunInProgress = true;
        const auto ticksAtStart = ticks.size();
        static_cast<void>(
            QTest::qWaitFor([&] { return ticks.size() >= ticksAtStart + 3; }, Patience));
        rig.flags.RunInProgress = false;
        runsWhenFirstEnded = rig.runs.size();
    };
    rig.elapsedTimer.setInterval(20);
    rig.elapsedTimer.setEnabled(true);

    QTRY_VERIFY_WITH_TIMEOUT(rig.runs.size() >= 2, Patience);
    rig.elapsedTimer.setEnabled(false);
    QCOMPARE(runsWhenFirstEnded, 1);
    QVERIFY(ticks.size() >= 5);
}

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_Scheduler.moc"
