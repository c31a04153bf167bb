#include "ChildRecords.h"
#include "PosixChildProcess.h"
#include "ScratchDir.h"

#include <QCoreApplication>
#include <QTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(PosixChildProcess::EndWatch)

namespace {

// How a test waits before it lets the process go.
enum class Waiting { None, NoLimit, Limit, EventLoop };

} // namespace

Q_DECLARE_METATYPE(Waiting)

class TestPosixChildProcess : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void waitsAndLeavesNoZombie_data();
    void waitsAndLeavesNoZombie();

private:
    [[nodiscard]] QList<ChildRecord> records() const { return m_children->records(); }

    std::unique_ptr<ScratchDir> m_scratch;
    std::optional<ChildLog> m_children;
};

void TestPosixChildProcess::init()
{
    m_scratch = std::make_unique<ScratchDir>();
    QVERIFY(m_scratch->isValid());
    m_children.emplace(m_scratch->path());
}

void TestPosixChildProcess::cleanup()
{
    m_children.reset();
    m_scratch.reset();
}

void TestPosixChildProcess::waitsAndLeavesNoZombie_data()
{
    QTest::addColumn<PosixChildProcess::EndWatch>("watch");
    QTest::addColumn<int>("childSleepMs");
    QTest::addColumn<Waiting>("waiting");
    QTest::addColumn<int>("limitMs");
    QTest::addColumn<bool>("ended");

    using Watch = PosixChildProcess::EndWatch;
    for (const auto& [watch, name] :
         {std::pair{Watch::Pidfd, "pidfd"}, std::pair{Watch::ReaperThread, "reaper thread"}}) {
        const auto row = [name = name](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", name, what);
        };

        // clang-format off
        row("wait without limit")           << watch << 100  << Waiting::NoLimit << 0     << true;
        row("limit runs out")               << watch << 1000 << Waiting::Limit   << 50    << false;
        row("child ends within the limit")  << watch << 0    << Waiting::Limit   << 10000 << true;
        row("released unwaited")            << watch << 300  << Waiting::None    << 0     << false;
        row("released unwaited once ended") << watch << 0    << Waiting::None    << 0     << false;
        row("event loop told of the end")   << watch << 200  << Waiting::EventLoop << 0   << true;
        // clang-format on
    }
}

// The child records itself as it ends. A wait that says the process has ended has reaped it
// already, and has the exit status from the reaping; a process that is let go earlier runs on
// and is reaped once it ends.
void TestPosixChildProcess::waitsAndLeavesNoZombie()
{
    QFETCH(PosixChildProcess::EndWatch, watch);
    QFETCH(int, childSleepMs);
    QFETCH(Waiting, waiting);
    QFETCH(int, limitMs);
    QFETCH(bool, ended);
    m_children->setSleepMs(childSleepMs);
    m_children->setExitStatus(3);

    auto child = PosixChildProcess::start(testChildPath(), {testChildPath()}, watch);
    bool endedAtReturn = false;
    switch (waiting) {
    case Waiting::None:
        break;
    case Waiting::NoLimit:
        child->waitForEnd();
        endedAtReturn = true;
        break;
    case Waiting::Limit:
        endedAtReturn = child->waitForEnd(std::chrono::milliseconds(limitMs));
        QCOMPARE(records().size(), endedAtReturn ? 1 : 0);
        break;
    case Waiting::EventLoop: {
        // The event loop sleeps until the end is reported; the wait after it only reaps.
        bool told = false;
        const std::unique_ptr<QObject> watchEnd = child->watchEnd([&told] { told = true; });
        while (!told)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCOMPARE(records().size(), 1);
        child->waitForEnd();
        endedAtReturn = true;
        break;
    }
    }
    QCOMPARE(endedAtReturn, ended);
    QCOMPARE(child->end() ? child->end()->text : QString(),
             ended ? QStringLiteral("ended with exit code 3") : QString());
    if (ended)
        QVERIFY(processGone(records()[0].pid));

    child.reset();
    QTRY_COMPARE_WITH_TIMEOUT(records().size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(processGone(records()[0].pid), 10000);
}

QTEST_GUILESS_MAIN(TestPosixChildProcess)
#include "tst_PosixChildProcess.moc"
