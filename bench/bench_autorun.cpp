// What one entry of a run costs: "runlatch /I<job file> /R" on a job file of /bin/true entries,
// against a plain shell loop "sh -c 'for i in 1 2 ...; do /bin/true; done'" of the same
// programs, and against a plain posix_spawn + waitpid loop in this process. Target: at most 1.05
// times the shell loop.
//
// Method. A whole run of the program also holds costs that are not per entry, and they vary more
// from start to start than 50 entries take: loading the program, the quarter second it waits
// before an automatic run, closing. So only the entries are timed. The first and the last entry
// of each job file are the test child, which records CLOCK_MONOTONIC when it starts and ends; all
// entries between are /bin/true. The span from the first marker's end to the last marker's start
// holds the launches of the entries between and of the last marker. Measuring job files of 2,
// 11 and 50 entries and subtracting the span of 2 leaves the /bin/true entries alone:
// (D50 - D2) / 48 a entry for entries 2-49, and (D11 - D2) / 9 and (D50 - D11) / 39 for entries
// 2-10 and 11-49, so that a cost that starts after the tenth entry shows as a step. The shell
// loop and the plain loop run the same markers around their loops and are treated the same way.
// Every round measures all nine, in an order that rotates from round to round so that all meet
// the same load; the figures are medians over the rounds of each round's own differences.
//
// Usage: bench_autorun [rounds] [program]; the program defaults to the one built beside, and
// another build of it gives the figure from before a change in the same conditions.
#include "BenchProcess.h"
#include "PlainSpawn.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int DefaultRounds = 21;
constexpr std::array RunLengths{2, 11, 50}; // entries of a job file, the two markers included
constexpr std::size_t Shortest = 0;
constexpr std::size_t Middle = 1;
constexpr std::size_t Longest = 2;
constexpr const char* Marker = RUNLATCH_TEST_CHILD;

int truesIn(std::size_t length)
{
    return RunLengths[length] - 2;
}

std::vector<BenchEntry> jobEntries(std::size_t length)
{
    std::vector<BenchEntry> entries(static_cast<std::size_t>(RunLengths[length]),
                                    {"/bin/true", {}});
    entries.front().name = Marker;
    entries.back().name = Marker;
    return entries;
}

std::string markedShellLoop(std::size_t length)
{
    const std::string marker = std::string(Marker) + "; ";
    return marker + (truesIn(length) == 0 ? "" : shellLoop(truesIn(length), "/bin/true") + "; ") +
           Marker;
}

// Seconds from the end of the first marker to the start of the second; exits when the markers
// did not both run.
double markerSpan(const std::string& records)
{
    const std::vector<ChildTimes> times = readChildTimes(records);
    std::remove(records.c_str());
    if (times.size() != 2) {
        std::fprintf(stderr, "the markers did not run\n");
        std::exit(1);
    }
    return static_cast<double>(times[1].startNs - times[0].endNs) / 1e9;
}

// The same markers and programs started by posix_spawn and waitpid from this process.
void plainLoop(std::size_t length)
{
    bool started = plainSpawnAndWait(Marker);
    for (int i = 0; i < truesIn(length); ++i)
        started = started && plainSpawnAndWait("/bin/true");
    if (!started || !plainSpawnAndWait(Marker))
        std::exit(1);
}

// The spans of each job length, one side, round by round.
struct Side {
    std::array<std::vector<double>, RunLengths.size()> spans;

    // Seconds a /bin/true entry between two job lengths, the median of the rounds.
    [[nodiscard]] double perEntry(std::size_t from, std::size_t to) const
    {
        return medianSlope(spans[from], spans[to], truesIn(to) - truesIn(from));
    }
};

void printSide(const char* name, const Side& side)
{
    std::printf("%-22s %9.3f ms %9.3f ms %9.3f ms\n", name, side.perEntry(Shortest, Longest) * 1e3,
                side.perEntry(Shortest, Middle) * 1e3, side.perEntry(Middle, Longest) * 1e3);
}

} // namespace

int main(int argc, char* argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : DefaultRounds;
    const std::string program = argc > 2 ? argv[2] : RUNLATCH_PROGRAM;
    const BenchScratch scratch;
    if (::chdir(scratch.path().c_str()) != 0)
        return 1;
    const std::string records = scratch.file("markers.txt");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("RUNLATCH_CHILD_LOG", records.c_str(), 1);
    std::array<std::string, RunLengths.size()> jobFiles;
    for (std::size_t n = 0; n < RunLengths.size(); ++n) {
        jobFiles[n] = scratch.file("jobs" + std::to_string(RunLengths[n]) + ".ini");
        writeJobFile(jobFiles[n], jobEntries(n));
    }

    Side autoRun;
    Side shell;
    Side plain;
    constexpr int Measures = 3 * RunLengths.size();
    for (int round = 0; round < rounds; ++round) {
        for (int step = 0; step < Measures; ++step) {
            const int measure = (step + round) % Measures;
            const auto n = static_cast<std::size_t>(measure / 3);
            if (measure % 3 == 0) {
                (void)timedQuietRun({program, "/I" + jobFiles[n], "/R"});
                autoRun.spans[n].push_back(markerSpan(records));
            } else if (measure % 3 == 1) {
                (void)timedQuietRun({"/bin/sh", "-c", markedShellLoop(n)});
                shell.spans[n].push_back(markerSpan(records));
            } else {
                plainLoop(n);
                plain.spans[n].push_back(markerSpan(records));
            }
        }
    }

    std::printf("a /bin/true entry, %d rounds (medians)\n", rounds);
    std::printf("%-22s %12s %12s %12s\n", "", "entries 2-49", "2-10", "11-49");
    printSide("runlatch /R", autoRun);
    printSide("sh for-loop", shell);
    printSide("posix_spawn + waitpid", plain);
    std::printf("ratio to the shell loop: %.3f (entries 2-10 %.3f, 11-49 %.3f; target <= 1.05)\n",
                autoRun.perEntry(Shortest, Longest) / shell.perEntry(Shortest, Longest),
                autoRun.perEntry(Shortest, Middle) / shell.perEntry(Shortest, Middle),
                autoRun.perEntry(Middle, Longest) / shell.perEntry(Middle, Longest));
    std::printf("ratio to posix_spawn + waitpid: %.3f\n",
                autoRun.perEntry(Shortest, Longest) / plain.perEntry(Shortest, Longest));
    return 0;
}
