// A child program for the tests. It appends one record of what it was given to the file named
// by RUNLATCH_CHILD_LOG: its start time, end time (CLOCK_MONOTONIC, ns), working folder and
// arguments. RUNLATCH_CHILD_SLEEP_MS makes it wait between start and end, RUNLATCH_CHILD_EXIT
// sets its exit status. One write(2) with O_APPEND per record, so children never interleave.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace {

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Tabs separate the fields and newlines the records, so both are escaped inside a field.
std::string escaped(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
        switch (*p) {
        case '%':
            out += "%25";
            break;
        case '\t':
            out += "%09";
            break;
        case '\n':
            out += "%0A";
            break;
        case '\r':
            out += "%0D";
            break;
        default:
            out += *p;
        }
    }
    return out;
}

long envNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::strtol(value, nullptr, 10) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const long long start = monotonicNs();
    if (const long ms = envNumber("RUNLATCH_CHILD_SLEEP_MS"); ms > 0) {
        timespec pause{ms / 1000, (ms % 1000) * 1000000L};
        while (nanosleep(&pause, &pause) == -1 && errno == EINTR) {
        }
    }
    const long long end = monotonicNs();

    if (const char* logPath = std::getenv("RUNLATCH_CHILD_LOG")) {
        char cwd[PATH_MAX] = {};
        if (!getcwd(cwd, sizeof cwd))
            cwd[0] = '\0';
        std::string record = std::to_string(start) + '\t' + std::to_string(end) + '\t' +
                             std::to_string(getpid()) + '\t' + escaped(cwd);
        for (int i = 1; i < argc; ++i)
            record += '\t' + escaped(argv[i]);
        record += '\n';
        const int fd = open(logPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd >= 0) {
            (void)!write(fd, record.data(), record.size());
            close(fd);
        }
    }
    return static_cast<int>(envNumber("RUNLATCH_CHILD_EXIT"));
}
