#pragma once

#include "BenchClock.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

// What the benchmarks that run the built program share: a scratch folder, job files, and
// starting a program whose chatter on standard output and error would garble the figures.

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class BenchScratch {
public:
    BenchScratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "runlatch-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_path = pattern;
    }
    BenchScratch(const BenchScratch&) = delete;
    BenchScratch& operator=(const BenchScratch&) = delete;
    ~BenchScratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    [[nodiscard]] std::string file(const std::string& name) const { return m_path + '/' + name; }
    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A program and its parameter text, as one entry of a job file holds them.
struct BenchEntry {
    std::string name;
    std::string param;
};

// Writes a job file with these entries and no schedule.
inline void writeJobFile(const std::string& path, const std::vector<BenchEntry>& entries)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "[Processes]\r\nCount=" << entries.size() << "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string key = (i < 9 ? "0" : "") + std::to_string(i + 1);
        out << key << "Name=" << entries[i].name << "\r\n";
        if (!entries[i].param.empty())
            out << key << "Param=" << entries[i].param << "\r\n";
    }
}

// Starts argv[0] with argv, standard output going to the file at outputPath (made anew) and
// standard error to /dev/null; -1 when it could not.
inline pid_t spawnWithOutput(const std::vector<std::string>& arguments,
                             const std::string& outputPath)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Starts argv[0] with argv, standard output and error going to /dev/null; -1 when it could not.
inline pid_t spawnQuietly(const std::vector<std::string>& arguments)
{
    return spawnWithOutput(arguments, "/dev/null");
}

// True when pid ended by itself with status 0; its resource use goes to usage where given.
inline bool reapedCleanly(pid_t pid, rusage* usage = nullptr)
{
    int status = 0;
    while (wait4(pid, &status, 0, usage) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Seconds from starting the program to having reaped it; exits the benchmark when it fails.
inline double timedQuietRun(const std::vector<std::string>& arguments)
{
    const BenchClock clock;
    const pid_t pid = spawnQuietly(arguments);
    if (pid < 0 || !reapedCleanly(pid)) {
        std::fprintf(stderr, "%s failed\n", arguments.front().c_str());
        std::exit(1);
    }
    return clock.seconds();
}

// The start and end (CLOCK_MONOTONIC, ns) of each run of the test child, in the order they were
// written to its record file.
struct ChildTimes {
    long long startNs = 0;
    long long endNs = 0;
};

inline std::vector<ChildTimes> readChildTimes(const std::string& path)
{
    std::vector<ChildTimes> times;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        ChildTimes record;
        if (std::sscanf(line.c_str(), "%lld\t%lld", &record.startNs, &record.endNs) == 2)
            times.push_back(record);
    }
    return times;
}

inline void sleepMs(int ms)
{
    timespec pause{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

// Context switches so far of every thread of pid, by thread id.
inline std::map<std::string, long> switchesByThread(pid_t pid)
{
    std::map<std::string, long> switches;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* folder = ::opendir(tasks.c_str());
    if (folder == nullptr)
        return switches;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream status(tasks + '/' + entry->d_name + "/status");
        std::string line;
        long sum = 0;
        while (std::getline(status, line))
            if (line.find("ctxt_switches:") != std::string::npos)
                sum += std::atol(line.c_str() + line.find(':') + 1);
        switches[entry->d_name] = sum;
    }
    ::closedir(folder);
    return switches;
}

// The wake-ups (voluntary and involuntary context switches) of all threads of pid over the next
// ms milliseconds.
inline long switchesOver(pid_t pid, int ms)
{
    const std::map<std::string, long> before = switchesByThread(pid);
    sleepMs(ms);
    long total = 0;
    for (const auto& [thread, count] : switchesByThread(pid)) {
        const auto earlier = before.find(thread);
        total += count - (earlier == before.end() ? 0 : earlier->second);
    }
    return total;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// What one more step costs: the median over the rounds of (longer - shorter) / steps, each round
// against its own shorter measure, so that what both share (start-up, ending) cancels out.
inline double medianSlope(const std::vector<double>& shorter, const std::vector<double>& longer,
                          int steps)
{
    std::vector<double> perRound;
    for (std::size_t r = 0; r < longer.size(); ++r)
        perRound.push_back((longer[r] - shorter[r]) / steps);
    return median(perRound);
}

// "for i in 1 2 ... count; do command; done", for sh -c.
inline std::string shellLoop(int count, const std::string& command)
{
    std::string list;
    for (int i = 1; i <= count; ++i)
        list += ' ' + std::to_string(i);
    return "for i in" + list + "; do " + command + "; done";
}
