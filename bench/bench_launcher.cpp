// Launching /bin/true through StartAndWait with the pumping wait, against a plain posix_spawn and
// waitpid of the same program, in one run. The two alternate call by call, so that both see the
// same state of the machine. Target: a ratio of at most 1.15.
#include "PlainSpawn.h"
#include "StartAndWait.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Calls = 300;
constexpr int WarmUpCalls = 20;

// Seconds that launch takes.
template <typename Launch>
double timed(Launch launch)
{
    const auto start = std::chrono::steady_clock::now();
    launch();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double plainLaunch()
{
    return timed([] { plainSpawnAndWait("/bin/true"); });
}

double launcherLaunch()
{
    return timed(
        [] { (void)StartAndWait(QStringLiteral("/bin/true"), QString(), 5, WaitMode::Pumping); });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double total(const std::vector<double>& values)
{
    double sum = 0;
    for (const double value : values)
        sum += value;
    return sum;
}

void report(const char* name, const std::vector<double>& times)
{
    std::printf("%-26s total %8.2f ms   mean %7.1f us   median %7.1f us\n", name,
                total(times) * 1e3, total(times) / static_cast<double>(times.size()) * 1e6,
                median(times) * 1e6);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    for (int i = 0; i < WarmUpCalls; ++i) {
        plainLaunch();
        launcherLaunch();
    }
    std::vector<double> plain;
    std::vector<double> launcher;
    for (int i = 0; i < Calls; ++i) {
        // Which side goes first changes every call, so neither always follows the other.
        if (i % 2 == 0) {
            plain.push_back(plainLaunch());
            launcher.push_back(launcherLaunch());
        } else {
            launcher.push_back(launcherLaunch());
            plain.push_back(plainLaunch());
        }
    }
    std::printf("%d launches of /bin/true each\n", Calls);
    report("posix_spawn + waitpid", plain);
    report("StartAndWait(.., 5, 2)", launcher);
    std::printf("ratio of totals %.3f, of medians %.3f (target <= 1.15)\n",
                total(launcher) / total(plain), median(launcher) / median(plain));
    return 0;
}
