// What "runlatch --run JOBFILE" costs, each figure against its peer in the same run, the sides
// alternating measure by measure. Standard output goes to /dev/null, as a script would send it,
// and Runlatch.log to a scratch folder on the temporary folder's disk.
//
// Start: from starting the program to the start of its first program, the test child, which
// records CLOCK_MONOTONIC when it starts; against "sh -c 'exec <child>'", a Qt Core program that
// starts the child (peer_corestart), and the window's /R under the offscreen platform. Target: at
// most 10 ms.
//
// Memory: the peak resident set (wait4's ru_maxrss, through peak_rss) of a 50-entry run of /bin/true, against a
// Qt Core program that starts /bin/true once and waits (peer_corestart), "runlatch --version",
// and the window's /R of the same job. Target: at most 12 MiB.
//
// Entry: what one /bin/true entry costs, as a slope so that start-up and ending cancel out:
// (T50 - T1) / 49 from whole runs of 50 and of 1 entries, against the same slope of
// "sh -c 'for i in 1 ...; do /bin/true; done'"; the median over the rounds of each round's own
// difference. Target: at most 1.02 times the shell loop. What the gap is made of shows in two
// more sides measured the same way in this process: the launcher alone (StartAndWait with the
// pumping wait, as a run calls it, without the log and the output), and a plain posix_spawn +
// waitpid.
//
// Usage: bench_headless [rounds] [program]; the program defaults to the one built beside, and
// another build of it gives the figures from before a change in the same conditions.
#include "BenchProcess.h"
#include "PlainSpawn.h"
#include "StartAndWait.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int DefaultRounds = 41;
constexpr int MemoryRounds = 5;
constexpr int LongRun = 50;
constexpr std::array RunLengths{1, LongRun};

// Milliseconds from starting the program to the start of the one test child it runs; exits when
// the child did not run once.
double msToFirstProgram(const std::vector<std::string>& arguments, const std::string& records)
{
    const long long start = steadyClockNs();
    (void)timedQuietRun(arguments);
    const std::vector<ChildTimes> times = readChildTimes(records);
    std::remove(records.c_str());
    if (times.size() != 1) {
        std::fprintf(stderr, "%s did not run the child once\n", arguments.front().c_str());
        std::exit(1);
    }
    return static_cast<double>(times.front().startNs - start) / 1e6;
}

// The peak resident set of the program in MiB, its children's included, as peak_rss measures it;
// its report goes through the file at report.
double peakMiB(const std::vector<std::string>& arguments, const std::string& report)
{
    std::vector<std::string> measured{RUNLATCH_PEAK_RSS};
    measured.insert(measured.end(), arguments.begin(), arguments.end());
    const pid_t pid = spawnWithOutput(measured, report);
    long kib = 0;
    if (pid >= 0 && reapedCleanly(pid))
        std::ifstream(report) >> kib;
    if (kib <= 0) {
        std::fprintf(stderr, "%s failed\n", arguments.front().c_str());
        std::exit(1);
    }
    return static_cast<double>(kib) / 1024.0;
}

// Runs every measure once a round, the first one rotating from round to round, so that all meet
// the same load; returns each measure's figures round by round.
template <typename Step>
std::vector<std::vector<double>> alternating(int rounds, const std::vector<Step>& measures)
{
    std::vector<std::vector<double>> figures(measures.size());
    for (int round = 0; round < rounds; ++round)
        for (std::size_t step = 0; step < measures.size(); ++step) {
            const std::size_t m = (step + static_cast<std::size_t>(round)) % measures.size();
            figures[m].push_back(measures[m]());
        }
    return figures;
}

using Measure = std::function<double()>;

void measureStart(int rounds, const std::string& program, const std::string& jobFile,
                  const std::string& records)
{
    const auto figures = alternating<Measure>(
        rounds, {[&] { return msToFirstProgram({program, "--run", jobFile}, records); },
                 [&] {
                     return msToFirstProgram(
                         {"/bin/sh", "-c", std::string("exec ") + RUNLATCH_TEST_CHILD}, records);
                 },
                 [&] {
                     return msToFirstProgram({RUNLATCH_PEER_CORESTART, RUNLATCH_TEST_CHILD},
                                             records);
                 },
                 [&] { return msToFirstProgram({program, "/I" + jobFile, "/R"}, records); }});
    std::printf("from start to the first program's start, %d rounds (medians):\n", rounds);
    std::printf("  runlatch --run            %8.3f ms (target <= 10 ms)\n", median(figures[0]));
    std::printf("  sh -c 'exec <child>'      %8.3f ms\n", median(figures[1]));
    std::printf("  Qt Core, one QProcess     %8.3f ms\n", median(figures[2]));
    std::printf("  runlatch /R, the window   %8.3f ms\n", median(figures[3]));
}

void measureMemory(const std::string& program, const std::string& jobFile,
                   const std::string& report)
{
    const auto figures = alternating<Measure>(
        MemoryRounds, {[&] { return peakMiB({program, "--run", jobFile}, report); },
                       [&] { return peakMiB({RUNLATCH_PEER_CORESTART}, report); },
                       [&] { return peakMiB({program, "--version"}, report); },
                       [&] { return peakMiB({program, "/I" + jobFile, "/R"}, report); }});
    std::printf("peak resident set (ru_maxrss), %d rounds (medians):\n", MemoryRounds);
    std::printf("  runlatch --run, %d entries %6.1f MiB (target <= 12 MiB)\n", LongRun,
                median(figures[0]));
    std::printf("  Qt Core, one QProcess      %6.1f MiB: ratio %.2f\n", median(figures[1]),
                median(figures[0]) / median(figures[1]));
    std::printf("  runlatch --version         %6.1f MiB\n", median(figures[2]));
    std::printf("  runlatch /R, the window    %6.1f MiB\n", median(figures[3]));
}

// Seconds that count launches of /bin/true take in this process.
template <typename Launch>
double timedLaunches(int count, Launch launch)
{
    const BenchClock clock;
    for (int i = 0; i < count; ++i)
        if (!launch()) {
            std::fprintf(stderr, "/bin/true could not be started\n");
            std::exit(1);
        }
    return clock.seconds();
}

void measureEntry(int rounds, const std::string& program,
                  const std::array<std::string, RunLengths.size()>& jobFiles)
{
    const char* const names[] = {"runlatch --run", "sh for-loop", "StartAndWait",
                                 "posix_spawn + waitpid"};
    constexpr std::size_t Sides = std::size(names);
    std::vector<Measure> measures;
    for (std::size_t n = 0; n < RunLengths.size(); ++n) {
        const int count = RunLengths[n];
        measures.emplace_back([&, n] { return timedQuietRun({program, "--run", jobFiles[n]}); });
        measures.emplace_back([count] {
            return timedQuietRun({"/bin/sh", "-c", shellLoop(count, "/bin/true")});
        });
        measures.emplace_back([count] {
            return timedLaunches(count, [] {
                return StartAndWait(QStringLiteral("/bin/true"), QString(), 5, WaitMode::Pumping);
            });
        });
        measures.emplace_back(
            [count] { return timedLaunches(count, [] { return plainSpawnAndWait("/bin/true"); }); });
    }
    const auto figures = alternating(rounds, measures);
    const int steps = RunLengths[1] - RunLengths[0];
    std::array<double, Sides> slopes{};
    std::printf("a /bin/true entry, (T%d - T%d) / %d, %d rounds (medians):\n", RunLengths[1],
                RunLengths[0], steps, rounds);
    for (std::size_t side = 0; side < Sides; ++side) {
        slopes[side] = medianSlope(figures[side], figures[Sides + side], steps);
        std::printf("  %-22s %7.3f ms a entry  (T%d %7.2f ms, T%d %7.2f ms)\n", names[side],
                    slopes[side] * 1e3, RunLengths[0], median(figures[side]) * 1e3,
                    RunLengths[1], median(figures[Sides + side]) * 1e3);
    }
    std::printf("  ratio to the shell loop: %.3f (target <= 1.02)\n", slopes[0] / slopes[1]);
    std::printf("  made of: run to StartAndWait %.3f, StartAndWait to posix_spawn + waitpid %.3f, "
                "posix_spawn + waitpid to the shell %.3f\n",
                slopes[0] / slopes[2], slopes[2] / slopes[3], slopes[3] / slopes[1]);
}

} // namespace

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : DefaultRounds;
    const std::string program = argc > 2 ? argv[2] : RUNLATCH_PROGRAM;
    const BenchScratch scratch;
    if (::chdir(scratch.path().c_str()) != 0)
        return 1;
    const std::string records = scratch.file("child.txt");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("RUNLATCH_CHILD_LOG", records.c_str(), 1);

    const std::string childJob = scratch.file("child.ini");
    writeJobFile(childJob, {{RUNLATCH_TEST_CHILD, {}}});
    std::array<std::string, RunLengths.size()> trueJobs;
    for (std::size_t n = 0; n < RunLengths.size(); ++n) {
        trueJobs[n] = scratch.file("true" + std::to_string(RunLengths[n]) + ".ini");
        writeJobFile(trueJobs[n],
                     std::vector<BenchEntry>(static_cast<std::size_t>(RunLengths[n]),
                                             {"/bin/true", {}}));
    }

    measureStart(rounds, program, childJob, records);
    measureMemory(program, trueJobs[1], scratch.file("peak.txt"));
    measureEntry(rounds, program, trueJobs);
    return 0;
}
