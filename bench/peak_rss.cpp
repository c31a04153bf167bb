// Starts the program its arguments name, standard output and error going to /dev/null, waits for
// it, and prints its peak resident set in KiB. A child is charged the resident set its parent has
// when it starts it (until its own program is loaded it runs on the parent's memory, or a copy),
// so a benchmark that is a big program itself measures peaks through this small one.
#include "BenchProcess.h"

int main(int argc, char* argv[])
{
    if (argc < 2)
        return 2;
    rusage usage{};
    const pid_t pid = spawnQuietly(std::vector<std::string>(argv + 1, argv + argc));
    if (pid < 0 || !reapedCleanly(pid, &usage))
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}
