// How the program waits for a running program, against a plain process that starts the same
// program with posix_spawn and blocks in waitpid, in one run.
//
// Wake-ups: "runlatch /I<job file> /R" runs /bin/sleep 3. Once the sleep has started and the
// program has had a quarter second to settle, the voluntary and involuntary context switches of
// all its threads (/proc/<pid>/task/*/status) are counted over a 2 s window. The peer is this
// benchmark started again as a plain process that spawns the same sleep and waits for it.
// Target: 0-2 wake-ups.
//
// Delay: job files of test child entries, each recording CLOCK_MONOTONIC at its start and end.
// The delay is the next child's start minus the previous child's end; it holds the child's own
// exit and the next child's loading, which the plain posix_spawn + waitpid loop in this process
// shows alone. Children that end at once, and children that run 100 ms, so that the wait sleeps
// in the event loop. Target: under 1 ms more than the plain loop.
//
// Usage: bench_wait [program]; the program defaults to the one built beside, and another build of
// it gives the figures from before a change in the same conditions.
#include "BenchProcess.h"
#include "PlainSpawn.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int WindowMs = 2000;
constexpr int SettleMs = 250;
constexpr int WakeRounds = 3;
constexpr int DelayEntries = 12;
constexpr int DelayRounds = 7;
const std::vector<std::string> Sleeper{"/bin/sleep", "3"};

std::string firstLineOf(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// Waits until pid has a child of its own; false when none came within 5 s.
bool awaitChild(pid_t pid)
{
    const std::string children =
        "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
    for (int waited = 0; waited < 5000; waited += 5) {
        if (!firstLineOf(children).empty())
            return true;
        sleepMs(5);
    }
    return false;
}

// Wake-ups of all threads of the process started with arguments, in the window.
long wakeUps(const std::vector<std::string>& arguments)
{
    const pid_t pid = spawnQuietly(arguments);
    if (pid < 0 || !awaitChild(pid)) {
        std::fprintf(stderr, "%s did not start its child\n", arguments.front().c_str());
        std::exit(1);
    }
    sleepMs(SettleMs);
    const long total = switchesOver(pid, WindowMs);
    if (!reapedCleanly(pid)) {
        std::fprintf(stderr, "%s failed\n", arguments.front().c_str());
        std::exit(1);
    }
    return total;
}

// The delays of one run whose children recorded themselves in records, in ms.
std::vector<double> delaysIn(const std::string& records)
{
    const std::vector<ChildTimes> times = readChildTimes(records);
    std::remove(records.c_str());
    std::vector<double> delays;
    for (std::size_t i = 1; i < times.size(); ++i)
        delays.push_back(static_cast<double>(times[i].startNs - times[i - 1].endNs) / 1e6);
    if (delays.size() != DelayEntries - 1) {
        std::fprintf(stderr, "the children did not all run\n");
        std::exit(1);
    }
    return delays;
}

void printDelays(const char* name, const std::vector<double>& delays)
{
    std::printf("  %-24s median %7.3f ms   max %7.3f ms\n", name, median(delays),
                *std::max_element(delays.begin(), delays.end()));
}

void measureDelays(const std::string& program, const BenchScratch& scratch, int childMs)
{
    const std::string records = scratch.file("children.txt");
    const std::string jobFile = scratch.file("children.ini");
    setenv("RUNLATCH_CHILD_LOG", records.c_str(), 1);
    setenv("RUNLATCH_CHILD_SLEEP_MS", std::to_string(childMs).c_str(), 1);
    writeJobFile(jobFile, std::vector<BenchEntry>(DelayEntries, {RUNLATCH_TEST_CHILD, {}}));
    std::vector<double> ofProgram;
    std::vector<double> plain;
    for (int round = 0; round < DelayRounds; ++round) {
        (void)timedQuietRun({program, "/I" + jobFile, "/R"});
        for (const double delay : delaysIn(records))
            ofProgram.push_back(delay);
        for (int i = 0; i < DelayEntries; ++i)
            if (!plainSpawnAndWait(RUNLATCH_TEST_CHILD))
                std::exit(1);
        for (const double delay : delaysIn(records))
            plain.push_back(delay);
    }
    std::printf("delay from a child's end to the next one's start, children running %d ms, "
                "%d delays each:\n",
                childMs, DelayRounds * (DelayEntries - 1));
    printDelays("runlatch /R", ofProgram);
    printDelays("posix_spawn + waitpid", plain);
    std::printf("  added by the program: %.3f ms (medians; target < 1 ms)\n",
                median(ofProgram) - median(plain));
    unsetenv("RUNLATCH_CHILD_SLEEP_MS");
    unsetenv("RUNLATCH_CHILD_LOG");
}

} // namespace

int main(int argc, char* argv[])
{
    // The peer of the wake-up count: start the sleep, wait for it, nothing else.
    if (argc > 1 && std::strcmp(argv[1], "--spawn-and-wait") == 0)
        return reapedCleanly(spawnQuietly(Sleeper)) ? 0 : 1;

    const std::string program = argc > 1 ? argv[1] : RUNLATCH_PROGRAM;
    const BenchScratch scratch;
    if (::chdir(scratch.path().c_str()) != 0)
        return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string jobFile = scratch.file("sleep.ini");
    writeJobFile(jobFile, {{Sleeper[0], Sleeper[1]}});

    std::printf("wake-ups (context switches of all threads) in %d ms while /bin/sleep 3 runs:\n",
                WindowMs);
    for (int round = 0; round < WakeRounds; ++round) {
        const long ofProgram = wakeUps({program, "/I" + jobFile, "/R"});
        const long plain = wakeUps({"/proc/self/exe", "--spawn-and-wait"});
        std::printf("  runlatch /R %3ld   posix_spawn + waitpid %3ld\n", ofProgram, plain);
    }
    measureDelays(program, scratch, 0);
    measureDelays(program, scratch, 100);
    return 0;
}
