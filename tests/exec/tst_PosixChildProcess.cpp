#include "ChildRecords.h"
#include "PosixChildProcess.h"
#include "ScratchDir.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PosixChildProcess::EndWatch)

namespace {

// Once reaped, a process leaves /proc; a zombie stays there.
bool processGone(qint64 pid)
{
    return !QFileInfo::exists(u"/proc/%1"_s.arg(pid));
}

// How a test waits before it lets the process go.
enum class Waiting { None, NoLimit, Limit };

} // namespace

class TestPosixChildProcess : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void waitsAndLeavesNoZombie_data();
    void waitsAndLeavesNoZombie();

private:
    [[nodiscard]] QList<ChildRecord> records() const
    {
        return readChildRecords(m_scratch->filePath(u"child.log"_s));
    }

    std::unique_ptr<ScratchDir> m_scratch;
};

void TestPosixChildProcess::init()
{
    m_scratch = std::make_unique<ScratchDir>();
    QVERIFY(m_scratch->isValid());
    qputenv("RUNLATCH_CHILD_LOG", QFile::encodeName(m_scratch->filePath(u"child.log"_s)));
}

void TestPosixChildProcess::cleanup()
{
    qunsetenv("RUNLATCH_CHILD_LOG");
    qunsetenv("RUNLATCH_CHILD_SLEEP_MS");
    m_scratch.reset();
}

void TestPosixChildProcess::waitsAndLeavesNoZombie_data()
{
    QTest::addColumn<PosixChildProcess::EndWatch>("watch");
    QTest::addColumn<int>("childSleepMs");
    QTest::addColumn<int>("waiting");
    QTest::addColumn<int>("limitMs");
    QTest::addColumn<bool>("ended");

    using Watch = PosixChildProcess::EndWatch;
    for (const auto& [watch, name] :
         {std::pair{Watch::Pidfd, "pidfd"}, std::pair{Watch::ReaperThread, "reaper thread"}}) {
        const auto row = [name = name](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", name, what);
        };
        row("wait without limit") << watch << 100 << int(Waiting::NoLimit) << 0 << true;
        row("limit runs out") << watch << 1000 << int(Waiting::Limit) << 50 << false;
        row("child ends within the limit") << watch << 0 << int(Waiting::Limit) << 10000 << true;
        row("released unwaited") << watch << 300 << int(Waiting::None) << 0 << false;
        row("released after it ended unwaited") << watch << 0 << int(Waiting::None) << 0 << false;
    }
}

// The child records itself as it ends. A wait that says the process has ended has reaped it
// already; a process that is let go earlier runs on and is reaped once it ends.
void TestPosixChildProcess::waitsAndLeavesNoZombie()
{
    QFETCH(PosixChildProcess::EndWatch, watch);
    QFETCH(int, childSleepMs);
    QFETCH(int, waiting);
    QFETCH(int, limitMs);
    QFETCH(bool, ended);
    qputenv("RUNLATCH_CHILD_SLEEP_MS", QByteArray::number(childSleepMs));

    auto child = PosixChildProcess::start(testChildPath(), {testChildPath()}, watch);
    bool endedAtReturn = false;
    switch (Waiting(waiting)) {
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
    }
    QCOMPARE(endedAtReturn, ended);
    if (ended)
        QVERIFY(processGone(records()[0].pid));

    child.reset();
    QTRY_COMPARE_WITH_TIMEOUT(records().size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(processGone(records()[0].pid), 10000);
}

QTEST_GUILESS_MAIN(TestPosixChildProcess)
#include "tst_PosixChildProcess.moc"
