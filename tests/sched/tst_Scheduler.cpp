#include "HandClock.h"
#include "JobTable.h"
#include "MainFlags.h"
#include "Scheduler.h"
#include "ScriptedPrompts.h"
#include "SettableClock.h"
#include "TestFiles.h"
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
enum class Answer { Unscripted, No, Yes };

void queueAnswer(ScriptedPrompts& prompts, Answer answer)
{
    if (answer != Answer::Unscripted)
        prompts.confirmAnswers.enqueue(answer == Answer::Yes);
}

QStringList shownIf(bool shown, const QString& text)
{
    return shown ? QStringList{text} : QStringList{};
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestScheduler : public QObject {
    Q_OBJECT

private slots:
    void runMissedInSleepStartsOnceOnWaking_data();
    void runMissedInSleepStartsOnceOnWaking();
    void intervalComesFromTheSchedule_data();
    void intervalComesFromTheSchedule();
    void newScheduleWhileRepeatingKeepsOrRestartsThePeriod_data();
    void newScheduleWhileRepeatingKeepsOrRestartsThePeriod();
    void zeroPeriodThenPeriodStartsAtOnce();
    void periodCountsFromEndOfManualRun();
    void startUpArmsTheDelayedStart_data();
    void startUpArmsTheDelayedStart();
    void openArmsTheDelayedStartWhenTheUserSaysSo_data();
    void openArmsTheDelayedStartWhenTheUserSaysSo();
    void scheduleSaveArmsTheDelayedStartWhenTheUserSaysSo_data();
    void scheduleSaveArmsTheDelayedStartWhenTheUserSaysSo();
    void scheduleSaveLeavesWaitingTimerAlone();
    void startTimerTickRunsOnceTheStartTimeIsReached_data();
    void startTimerTickRunsOnceTheStartTimeIsReached();
    void repeatTickRunsUnlessARunIsGoing_data();
    void repeatTickRunsUnlessARunIsGoing();
    void errorInRunKeepsWhatChanged();
    void autoRunStartsOneRun();
    void repeatTicksDuringRunAreDropped();
};

void TestScheduler::intervalComesFromTheSchedule_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("mins");
    QTest::addColumn<qint64>("period");
    QTest::addColumn<uint>("interval");

    constexpr int Most = std::numeric_limits<int>::max();
    constexpr int Least = std::numeric_limits<int>::min();

    // clang-format off
    QTest::newRow("1 h 30 min")            << 1     << 30    << 5400000LL          << 5400000U;
    QTest::newRow("5 min")                 << 0     << 5     << 300000LL           << 300000U;
    QTest::newRow("no schedule")           << 0     << 0     << 0LL                << 0U;
    QTest::newRow("1 h minus 30 min")      << 1     << -30   << 1800000LL          << 1800000U;
    QTest::newRow("minus 1 h")             << -1    << 0     << 0LL                << 0U;
    QTest::newRow("both negative")         << -1    << -1    << 0LL                << 0U;
    QTest::newRow("minus 1 h plus 90 min") << -1    << 90    << 1800000LL          << 1800000U;
    QTest::newRow("total zero")            << 1     << -60   << 0LL                << 0U;
    QTest::newRow("total negative")        << 1     << -90   << 0LL                << 0U;
    QTest::newRow("1193 h 2 min")          << 1193  << 2     << 4294920000LL       << 4294920000U;
    QTest::newRow("1193 h 3 min, clamped") << 1193  << 3     << 4294980000LL       << 4294967295U;
    QTest::newRow("1194 h, clamped")       << 1194  << 0     << 4298400000LL       << 4294967295U;
    QTest::newRow("71582 min")             << 0     << 71582 << 4294920000LL       << 4294920000U;
    QTest::newRow("71583 min, clamped")    << 0     << 71583 << 4294980000LL       << 4294967295U;
    QTest::newRow("largest, clamped")      << Most  << Most  << 7859790148020000LL << 4294967295U;
    QTest::newRow("least hours")           << Least << 5     << 0LL                << 0U;
    // clang-format on
}

void TestScheduler::intervalComesFromTheSchedule()
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

void TestScheduler::newScheduleWhileRepeatingKeepsOrRestartsThePeriod_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("mins");
    QTest::addColumn<QString>("outcome"); // "kept", "restarted" or "idle"

    QTest::newRow("same schedule") << 1 << 30 << "kept";

    // clang-format off
    QTest::newRow("same period in minutes") << 0 << 90 << "kept";
    QTest::newRow("other period")           << 2 << 0  << "restarted";
    QTest::newRow("no repeat")              << 0 << 0  << "idle";
    // clang-format on
}

void TestScheduler::newScheduleWhileRepeatingKeepsOrRestartsThePeriod()
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

void TestScheduler::startUpArmsTheDelayedStart_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<bool>("autoRun");
    QTest::addColumn<uint>("armedMs"); // 0: StartTimer stays idle
    QTest::addColumn<bool>("startTimeIsNow");

    constexpr qint64 Day = 86400000;

    // clang-format off
    QTest::newRow("delay 1 ms ahead")            << true  << 1LL  << false << 60000U << false;
    QTest::newRow("delay now")                   << true  << 0LL  << false << 60000U << false;
    QTest::newRow("delay 1 ms passed")           << true  << -1LL << false << 0U     << false;
    QTest::newRow("delay 1 ms ahead, auto-run")  << true  << 1LL  << true  << 60000U << false;
    QTest::newRow("delay now, auto-run")         << true  << 0LL  << true  << 60000U << false;
    QTest::newRow("delay 1 ms passed, auto-run") << true  << -1LL << true  << 250U   << true;
    QTest::newRow("no delay, auto-run")          << false << Day  << true  << 250U   << true;
    QTest::newRow("no delay")                    << false << Day  << false << 0U     << false;
    QTest::newRow("no delay, time passed")       << false << -Day << false << 0U     << false;
    // clang-format on
}

void TestScheduler::startUpArmsTheDelayedStart()
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

void TestScheduler::openArmsTheDelayedStartWhenTheUserSaysSo_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("passedShown");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("armed");

    // clang-format off
    QTest::newRow("no delay")
        << false << 1LL  << Answer::Unscripted << false << false << false;
    QTest::newRow("no delay, time passed")
        << false << -1LL << Answer::Unscripted << false << false << false;
    QTest::newRow("1 ms passed")
        << true  << -1LL << Answer::Unscripted << true  << false << false;
    QTest::newRow("now, answered yes")
        << true  << 0LL  << Answer::Yes        << false << true  << true;
    QTest::newRow("now, answered no")
        << true  << 0LL  << Answer::No         << false << true  << false;
    QTest::newRow("1 ms ahead, answered yes")
        << true  << 1LL  << Answer::Yes        << false << true  << true;
    QTest::newRow("1 ms ahead, answered no")
        << true  << 1LL  << Answer::No         << false << true  << false;
    // clang-format on
}

void TestScheduler::openArmsTheDelayedStartWhenTheUserSaysSo()
{
    QFETCH(bool, delayedStart);
    QFETCH(qint64, offsetMs);
    QFETCH(Answer, answer);
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

void TestScheduler::scheduleSaveArmsTheDelayedStartWhenTheUserSaysSo_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("armed");

    constexpr qint64 Day = 86400000;

    // clang-format off
    QTest::newRow("ahead, answered yes")  << true  << Day  << Answer::Yes        << true;
    QTest::newRow("ahead, answered no")   << true  << Day  << Answer::No         << false;
    QTest::newRow("now, answered yes")    << true  << 0LL  << Answer::Yes        << true;
    QTest::newRow("passed, answered yes") << true  << -Day << Answer::Yes        << true;
    QTest::newRow("passed, answered no")  << true  << -Day << Answer::No         << false;
    QTest::newRow("no delay")             << false << Day  << Answer::Unscripted << false;
    // clang-format on
}

void TestScheduler::scheduleSaveArmsTheDelayedStartWhenTheUserSaysSo()
{
    QFETCH(bool, delayedStart);
    QFETCH(qint64, offsetMs);
    QFETCH(Answer, answer);
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

void TestScheduler::startTimerTickRunsOnceTheStartTimeIsReached_data()
{
    QTest::addColumn<qint64>("offsetMs"); // DelayedStartTime minus now
    QTest::addColumn<bool>("runInProgress");
    QTest::addColumn<bool>("reached");
    QTest::addColumn<bool>("runStarted");

    // clang-format off
    QTest::newRow("1 ms ahead")             << 1LL  << false << false << false;
    QTest::newRow("1 ms ahead, run going")  << 1LL  << true  << false << false;
    QTest::newRow("now")                    << 0LL  << false << true  << true;
    QTest::newRow("now, run going")         << 0LL  << true  << true  << false;
    QTest::newRow("1 ms passed")            << -1LL << false << true  << true;
    QTest::newRow("1 ms passed, run going") << -1LL << true  << true  << false;
    // clang-format on
}

void TestScheduler::startTimerTickRunsOnceTheStartTimeIsReached()
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

void TestScheduler::repeatTickRunsUnlessARunIsGoing_data()
{
    QTest::addColumn<bool>("runInProgress");

    QTest::newRow("idle") << false;
    QTest::newRow("run going") << true;
}

void TestScheduler::repeatTickRunsUnlessARunIsGoing()
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

void TestScheduler::runMissedInSleepStartsOnceOnWaking_data()
{
    QTest::addColumn<bool>("delayedStart");
    QTest::newRow("repeat tick") << false;
    QTest::newRow("delayed start") << true;
}

// A laptop that slept through the run's time starts one run on waking, and says why; the next
// tick, awake, is an ordinary one.
void TestScheduler::runMissedInSleepStartsOnceOnWaking()
{
    QFETCH(bool, delayedStart);
    HandClock hand;
    Timer startTimer(hand);
    Timer elapsedTimer(hand);
    JobTable table;
    MainFlags flags;
    SettableClock clock;
    QList<bool> caughtUp; // one for each run, as the run saw it
    Scheduler* self = nullptr;
    Scheduler scheduler(table, flags, clock, startTimer, elapsedTimer,
                        [&] { caughtUp << self->lastRunCaughtUp(); });
    self = &scheduler;
    QObject::connect(&startTimer, &Timer::timeout, [&] { scheduler.StartTimerTimer(); });
    QObject::connect(&elapsedTimer, &Timer::timeout, [&] { scheduler.ElapsedTimerTimer(); });
    table.EveryHours = 1;
    scheduler.SetIntervalFromSchedule();
    if (delayedStart) {
        table.DelayedStart = true;
        table.DelayedStartTime = toDateTime(clock.now().addSecs(3600));
        scheduler.armDelayedStart();
    } else {
        elapsedTimer.setEnabled(true);
    }
    Timer& due = delayedStart ? startTimer : elapsedTimer;

    clock.advanceMs(5 * 3600 * 1000);
    hand.pass(10min, 5h);
    due.checkDeadline();
    QCOMPARE(caughtUp, QList<bool>{true});
    QVERIFY(!scheduler.lastRunCaughtUp());

    hand.pass(60min, 0min);
    elapsedTimer.checkDeadline();
    QCOMPARE(caughtUp, (QList<bool>{true, false}));
}

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_Scheduler.moc"
