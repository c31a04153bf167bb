#include "HandClock.h"
#include "Timer.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

namespace {

using Steady = std::chrono::steady_clock;
using TimePoint = Timer::TimePoint;

// Waits for events are generous: a loaded machine may be slow, never wrong.
constexpr int Patience = 20000;

// Holds the event loop up on purpose, as a long handler or a busy machine would.
void blockEventLoop(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

// What a handler saw at each tick: when it ran, and when the timer's next tick was due then.
struct TickLog {
    QList<TimePoint> at;
    QList<std::optional<TimePoint>> next;

    void record(const Timer& timer)
    {
        at << Steady::now();
        next << timer.nextTick();
    }
    [[nodiscard]] int count() const { return static_cast<int>(at.size()); }
};

// Every tick came at or after the deadline the previous tick announced, each announced deadline
// lies on the grid periodStart + k * period and later than the one before. Returns the first
// breach, empty when there is none.
QString gridBreach(const TickLog& log, TimePoint periodStart, std::chrono::milliseconds period)
{
    std::optional<TimePoint> due = periodStart + period;
    for (int i = 0; i < log.count(); ++i) {
        const auto tick = QString::number(i + 1);
        if (!due || log.at[i] < *due)
            return QStringLiteral("tick %1 came before its deadline").arg(tick);
        const auto& next = log.next[i];
        if (!next || *next <= *due)
            return QStringLiteral("tick %1 did not announce a later deadline").arg(tick);
        if ((*next - periodStart) % period != Steady::duration::zero())
            return QStringLiteral("tick %1 announced a deadline off the grid").arg(tick);
        due = next;
    }
    return {};
}

// The first of two sources to fire: "timer" or "reference"; empty if neither fires in time.
QString firstToFire(Timer& timer, QTimer& reference)
{
    QString first;
    const auto note = [&first](const QString& who) {
        if (first.isEmpty())
            first = who;
    };
    QObject context;
    QObject::connect(&timer, &Timer::timeout, &context, [&] { note(QStringLiteral("timer")); });
    QObject::connect(&reference, &QTimer::timeout, &context,
                     [&] { note(QStringLiteral("reference")); });
    static_cast<void>(QTest::qWaitFor([&] { return !first.isEmpty(); }, Patience));
    return first;
}

// Runs the event loop through five ticks of an independent 20 ms timer: time enough for a timer
// that should stay silent to give itself away.
[[nodiscard]] bool serveEventsForAWhile()
{
    QTimer reference;
    QSignalSpy referenceSpy(&reference, &QTimer::timeout);
    reference.start(20);
    return QTest::qWaitFor([&] { return referenceSpy.count() >= 5; }, Patience);
}

std::uint32_t asInterval(std::chrono::milliseconds duration)
{
    return static_cast<std::uint32_t>(duration.count());
}

// Enables the timer with the period and returns the moment its first period started.
TimePoint startTicking(Timer& timer, std::chrono::milliseconds period)
{
    timer.setInterval(asInterval(period));
    timer.setEnabled(true);
    return timer.nextTick().value_or(TimePoint{}) - period;
}

void startReference(QTimer& reference, int intervalMs)
{
    reference.setTimerType(Qt::PreciseTimer);
    reference.setSingleShot(true);
    reference.start(intervalMs);
}

} // namespace

class TestTimer : public QObject {
    Q_OBJECT

private slots:
    void init();

    void startsIdle();
    void settingAPropertyFollowsTheTickRule_data();
    void settingAPropertyFollowsTheTickRule();
    void ticksRepeat();
    void settingAgainKeepsOrRestartsThePeriod_data();
    void settingAgainKeepsOrRestartsThePeriod();
    void zeroIntervalWaitsForAnInterval();
    void disablingStops();
    void busyLoopMergesTicks();
    void slowHandlerKeepsThePhase();
    void longIntervalsNeverTickEarly_data();
    void longIntervalsNeverTickEarly();
    void longWaitIsMadeOfLegs();
    void handlerCanDisableTheTimer();
    void handlerChangingTheIntervalRestartsThePeriod();
    void nestedLoopInHandlerGetsTicks();
    void destroyingStops();
    void ticksMissedInSleepComeAsOneOnWaking_data();
    void ticksMissedInSleepComeAsOneOnWaking();
};

void TestTimer::init()
{
    // A refused wake-up shows only as a warning from Qt (a negative or oversized timeout).
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestTimer::startsIdle()
{
    const Timer timer;
    QVERIFY(!timer.enabled());
    QCOMPARE(timer.interval(), 0U);
    QVERIFY(!timer.nextTick());
}

void TestTimer::settingAPropertyFollowsTheTickRule_data()
{
    QTest::addColumn<bool>("enabledBefore");
    QTest::addColumn<uint>("intervalBefore");
    QTest::addColumn<QString>("property"); // "enabled" or "interval"
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("outcome"); // "kept", "restarted" or "idle"
    QTest::addColumn<bool>("enabledAfter");

    // clang-format off
    QTest::newRow("enable with an interval")
        << false << 1000U << "enabled"  << 1U    << "restarted" << true;
    QTest::newRow("enable again")
        << true  << 1000U << "enabled"  << 1U    << "kept"      << true;
    QTest::newRow("disable")
        << true  << 1000U << "enabled"  << 0U    << "idle"      << false;
    QTest::newRow("disable again")
        << false << 1000U << "enabled"  << 0U    << "idle"      << false;
    QTest::newRow("enable with interval 0")
        << false << 0U    << "enabled"  << 1U    << "idle"      << true;
    QTest::newRow("same interval")
        << true  << 1000U << "interval" << 1000U << "kept"      << true;
    QTest::newRow("longer interval")
        << true  << 1000U << "interval" << 2000U << "restarted" << true;
    QTest::newRow("shorter interval")
        << true  << 1000U << "interval" << 500U  << "restarted" << true;
    QTest::newRow("interval 0")
        << true  << 1000U << "interval" << 0U    << "idle"      << true;
    QTest::newRow("interval for enabled zero")
        << true  << 0U    << "interval" << 1000U << "restarted" << true;
    QTest::newRow("interval while disabled")
        << false << 1000U << "interval" << 2000U << "idle"      << false;
    // clang-format on
}

void TestTimer::settingAPropertyFollowsTheTickRule()
{
    QFETCH(bool, enabledBefore);
    QFETCH(uint, intervalBefore);
    QFETCH(QString, property);
    QFETCH(uint, value);
    QFETCH(QString, outcome);
    QFETCH(bool, enabledAfter);

    Timer timer;
    timer.setInterval(intervalBefore);
    timer.setEnabled(enabledBefore);
    const auto dueBefore = timer.nextTick();
    const auto before = Steady::now();
    if (property == QLatin1String("enabled"))
        timer.setEnabled(value != 0);
    else
        timer.setInterval(value);
    const auto after = Steady::now();

    QCOMPARE(timer.enabled(), enabledAfter);
    QCOMPARE(timer.interval(), property == QLatin1String("interval") ? value : intervalBefore);
    const auto due = timer.nextTick();
    if (outcome == QLatin1String("idle")) {
        QVERIFY(!due);
    } else if (outcome == QLatin1String("kept")) {
        QVERIFY(dueBefore);
        QVERIFY(due == dueBefore);
    } else {
        QVERIFY(due);
        const std::chrono::milliseconds period(timer.interval());
        QVERIFY(*due >= before + period);
        QVERIFY(*due <= after + period);
    }
}

void TestTimer::ticksRepeat()
{
    Timer timer;
    QSignalSpy spy(&timer, &Timer::timeout);
    timer.setInterval(20);
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 3, Patience);
    QVERIFY(timer.enabled());
}

void TestTimer::settingAgainKeepsOrRestartsThePeriod_data()
{
    // The timer runs a while, then a reference is started and the property is set. A restarted
    // timer falls due after the reference, one that keeps its period before it; the event loop
    // delivers wake-ups in the order they fall due, however late it runs.
    QTest::addColumn<QString>("change");
    QTest::addColumn<uint>("intervalBefore");
    QTest::addColumn<uint>("intervalAfter");
    QTest::addColumn<int>("referenceMs");
    QTest::addColumn<QString>("first");

    // clang-format off
    QTest::newRow("enable again")       << "enable"    << 200U << 200U << 150 << "timer";
    QTest::newRow("same interval")      << "interval"  << 200U << 200U << 150 << "timer";
    QTest::newRow("other interval")     << "interval"  << 200U << 250U << 200 << "reference";
    QTest::newRow("disable and enable") << "re-enable" << 250U << 250U << 200 << "reference";
    // clang-format on
}

void TestTimer::settingAgainKeepsOrRestartsThePeriod()
{
    QFETCH(QString, change);
    QFETCH(uint, intervalBefore);
    QFETCH(uint, intervalAfter);
    QFETCH(int, referenceMs);
    QFETCH(QString, first);

    Timer timer;
    timer.setInterval(intervalBefore);
    timer.setEnabled(true);
    blockEventLoop(100ms);
    QTimer reference;
    startReference(reference, referenceMs);
    if (change == QLatin1String("interval")) {
        timer.setInterval(intervalAfter);
    } else {
        if (change == QLatin1String("re-enable"))
            timer.setEnabled(false);
        timer.setEnabled(true);
    }

    QCOMPARE(firstToFire(timer, reference), first);
}

void TestTimer::zeroIntervalWaitsForAnInterval()
{
    Timer timer;
    QSignalSpy spy(&timer, &Timer::timeout);
    timer.setEnabled(true);
    QVERIFY(serveEventsForAWhile());
    QCOMPARE(spy.count(), 0);
    QVERIFY(timer.enabled());

    const auto before = Steady::now();
    timer.setInterval(30);
    QVERIFY(timer.nextTick());
    QVERIFY(*timer.nextTick() >= before + 30ms);
    QVERIFY(spy.wait(Patience));
}

void TestTimer::disablingStops()
{
    Timer timer;
    QSignalSpy spy(&timer, &Timer::timeout);
    timer.setInterval(20);
    timer.setEnabled(true);
    QVERIFY(spy.wait(Patience));
    timer.setEnabled(false);
    const auto ticks = spy.count();

    QVERIFY(serveEventsForAWhile());
    QCOMPARE(spy.count(), ticks);
    QVERIFY(!timer.nextTick());
}

void TestTimer::busyLoopMergesTicks()
{
    constexpr auto period = 20ms;
    Timer timer;
    TickLog log;
    connect(&timer, &Timer::timeout, this, [&] { log.record(timer); });
    timer.setInterval(asInterval(period));

    const auto start = Steady::now();
    timer.setEnabled(true);
    const auto blockStart = Steady::now();
    blockEventLoop(15 * period);
    const auto blockEnd = Steady::now();
    const auto merged = (blockEnd - blockStart) / period;
    QVERIFY(merged >= 15);

    QTRY_VERIFY_WITH_TIMEOUT(log.count() >= 4, Patience);
    // All deadlines passed during the block come out as one tick, so no tick is ever ahead of
    // the deadlines passed so far minus those the block merged.
    for (int i = 0; i < log.count(); ++i) {
        const auto passed = (log.at[i] - start) / period;
        QVERIFY2(i + 1 <= 1 + passed - merged, qPrintable(QStringLiteral("tick %1").arg(i + 1)));
    }
    QVERIFY(log.next.first() && *log.next.first() > blockEnd);
}

void TestTimer::slowHandlerKeepsThePhase()
{
    constexpr auto period = 50ms;
    Timer timer;
    TickLog log;
    connect(&timer, &Timer::timeout, this, [&] {
        log.record(timer);
        blockEventLoop(20ms);
    });
    const auto start = Steady::now();
    const TimePoint periodStart = startTicking(timer, period);

    QTRY_VERIFY_WITH_TIMEOUT(log.count() >= 20, Patience);
    timer.setEnabled(false);
    for (int k = 1; k <= log.count(); ++k)
        QVERIFY2(log.at[k - 1] >= start + k * period, qPrintable(QString::number(k)));
    const QString breach = gridBreach(log, periodStart, period);
    QVERIFY2(breach.isEmpty(), qPrintable(breach));
}

void TestTimer::longIntervalsNeverTickEarly_data()
{
    QTest::addColumn<uint>("interval");

    // clang-format off
    QTest::newRow("largest int")   << 2147483647U;
    QTest::newRow("beyond int")    << 2147483648U;
    QTest::newRow("three billion") << 3000000000U;
    QTest::newRow("largest")       << 4294967295U;
    // clang-format on
}

void TestTimer::longIntervalsNeverTickEarly()
{
    QFETCH(uint, interval);

    Timer timer;
    QSignalSpy spy(&timer, &Timer::timeout);
    timer.setInterval(interval);
    const auto before = Steady::now();
    timer.setEnabled(true);
    const auto after = Steady::now();

    QCOMPARE(timer.interval(), interval);
    const std::chrono::milliseconds period(interval);
    QVERIFY(timer.nextTick());
    QVERIFY(*timer.nextTick() >= before + period);
    QVERIFY(*timer.nextTick() <= after + period);

    QVERIFY(serveEventsForAWhile());
    QCOMPARE(spy.count(), 0);
}

void TestTimer::longWaitIsMadeOfLegs()
{
    constexpr auto period = 100ms;
    Timer timer(7ms);
    TickLog log;
    connect(&timer, &Timer::timeout, this, [&] { log.record(timer); });
    const TimePoint periodStart = startTicking(timer, period);

    QTRY_VERIFY_WITH_TIMEOUT(log.count() >= 3, Patience);
    timer.setEnabled(false);
    const QString breach = gridBreach(log, periodStart, period);
    QVERIFY2(breach.isEmpty(), qPrintable(breach));
}

void TestTimer::handlerCanDisableTheTimer()
{
    Timer timer;
    QSignalSpy spy(&timer, &Timer::timeout);
    connect(&timer, &Timer::timeout, this, [&timer] { timer.setEnabled(false); });
    timer.setInterval(20);
    timer.setEnabled(true);
    QVERIFY(spy.wait(Patience));

    QVERIFY(serveEventsForAWhile());
    QCOMPARE(spy.count(), 1);
    QVERIFY(!timer.enabled());
    QVERIFY(!timer.nextTick());
}

void TestTimer::handlerChangingTheIntervalRestartsThePeriod()
{
    constexpr auto longer = 60000ms;
    Timer timer;
    std::optional<TimePoint> before;
    std::optional<TimePoint> after;
    connect(&timer, &Timer::timeout, this, [&] {
        if (before)
            return;
        before = Steady::now();
        timer.setInterval(asInterval(longer));
        after = Steady::now();
    });
    timer.setInterval(20);
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(after.has_value(), Patience);

    QVERIFY(timer.nextTick());
    QVERIFY(*timer.nextTick() >= *before + longer);
    QVERIFY(*timer.nextTick() <= *after + longer);
}

void TestTimer::nestedLoopInHandlerGetsTicks()
{
    constexpr auto period = 20ms;
    Timer timer;
    TickLog log;
    int depth = 0;
    int deepest = 0;
    connect(&timer, &Timer::timeout, this, [&] {
        log.record(timer);
        deepest = std::max(deepest, ++depth);
        // The first tick starts a "run" that pumps events while it waits, as a waiting launcher
        // does; the handler itself guards against starting another.
        if (log.count() == 1)
            static_cast<void>(QTest::qWaitFor([&] { return log.count() >= 4; }, Patience));
        --depth;
    });
    const TimePoint periodStart = startTicking(timer, period);

    QTRY_VERIFY_WITH_TIMEOUT(log.count() >= 7, Patience);
    timer.setEnabled(false);
    QCOMPARE(deepest, 2);
    const QString breach = gridBreach(log, periodStart, period);
    QVERIFY2(breach.isEmpty(), qPrintable(breach));
}

void TestTimer::destroyingStops()
{
    int ticks = 0;
    auto timer = std::make_unique<Timer>();
    connect(timer.get(), &Timer::timeout, this, [&ticks] { ++ticks; });
    timer->setInterval(20);
    timer->setEnabled(true);
    timer.reset();

    QVERIFY(serveEventsForAWhile());
    QCOMPARE(ticks, 0);
}

void TestTimer::ticksMissedInSleepComeAsOneOnWaking_data()
{
    QTest::addColumn<int>("awakeMin");
    QTest::addColumn<int>("asleepMin");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("caughtUp");
    QTest::addColumn<int>("nextDueMin"); // from the period's start

    // The period is an hour.
    // clang-format off
    QTest::newRow("slept through three ticks")     << 10 << 200 << 1 << true  << 240;
    QTest::newRow("slept, woke before the tick")   << 10 << 30  << 0 << false << 60;
    QTest::newRow("busy through three ticks")      << 210 << 0  << 1 << false << 240;
    QTest::newRow("slept a little, then busy")     << 200 << 0  << 1 << false << 240;
    // clang-format on
}

void TestTimer::ticksMissedInSleepComeAsOneOnWaking()
{
    QFETCH(int, awakeMin);
    QFETCH(int, asleepMin);
    QFETCH(int, ticks);
    QFETCH(bool, caughtUp);
    QFETCH(int, nextDueMin);
    HandClock clock;
    Timer timer(clock);
    QSignalSpy spy(&timer, &Timer::timeout);
    const TimePoint periodStart = startTicking(timer, 1h);
    if (QByteArray(QTest::currentDataTag()).startsWith("slept a little")) {
        clock.pass(0min, 5min);
        timer.checkDeadline();
    }
    clock.pass(std::chrono::minutes(awakeMin), std::chrono::minutes(asleepMin));
    timer.checkDeadline();

    QCOMPARE(spy.count(), ticks);
    QCOMPARE(timer.lastTickCaughtUp(), caughtUp);
    QVERIFY(timer.nextTick() == periodStart + std::chrono::minutes(nextDueMin));
}

QTEST_GUILESS_MAIN(TestTimer)
#include "tst_Timer.moc"
