// A processing run of 50 entries of /bin/true through File > Process, against the same 50
// programs started by a plain loop of posix_spawn and waitpid, in one run. Target: at most 1.3.
#include "BenchClock.h"
#include "Clock.h"
#include "JobTable.h"
#include "MainForm.h"
#include "PlainSpawn.h"
#include "QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Entries = 50;
constexpr int Rounds = 10;

double plainLoop()
{
    const BenchClock clock;
    for (int i = 0; i < Entries; ++i)
        if (!plainSpawnAndWait("/bin/true"))
            return -1;
    return clock.seconds();
}

double throughProcess1Click(TMainForm& form)
{
    const BenchClock clock;
    form.Process1Click();
    return clock.seconds();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());

    QtPrompts prompts;
    SystemClock clock;
    TMainForm form({prompts, clock, scratch.path() + u'/', {}});
    JobTable& table = form.jobTable();
    for (int i = 0; i < Entries; ++i)
        table.ProcList[static_cast<std::size_t>(i)] = {QStringLiteral("/bin/true"),
                                                       QStringLiteral("--flag value")};
    table.LastProc = Entries - 1;

    double plain = 0;
    double run = 0;
    // Alternate the two sides so that both meet the same machine load.
    for (int round = 0; round < Rounds; ++round) {
        plain += plainLoop();
        run += throughProcess1Click(form);
    }
    std::printf("run of %d entries, %d rounds\n", Entries, Rounds);
    std::printf("plain posix_spawn + waitpid loop: %8.2f ms per run\n", plain / Rounds * 1e3);
    std::printf("File > Process (Process1Click):   %8.2f ms per run\n", run / Rounds * 1e3);
    std::printf("ratio: %.3f (target <= 1.3)\n", run / plain);
    return 0;
}
