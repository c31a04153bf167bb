// View > Log on big logs: the time from opening the viewer until its window is up and the whole
// file is scanned (the program idle again), and the peak memory of the process, against
// "wc -l" over the same file in the same run. Each opening runs in a fresh process of this
// program, so that its peak memory is its own; both sides alternate and read the file from the
// page cache.
//
// Then a find over the whole log: from the top, for a word that only the log's last lines hold,
// typed in lower case with Match case off, against "grep -c" for the word over the same file.
// Both sides alternate, first with the file in the page cache, then cold: before each cold find
// or grep the file's pages are dropped from the page cache (POSIX_FADV_DONTNEED after the file
// was synced, checked with mincore), which leaves other files' pages alone.
//
// Last, the wake-ups of the viewer's process over 2 s once it is open and idle: the watch on the
// log must cost nothing while the log stays as it is.
//
//   bench_logview [MiB ...]      default: 100 1000
// Targets: 100 MiB under 0.5 s and 120 MiB; 1000 MiB under 2.5 s and 150 MiB; a find within
// twice grep -c's time, cached and cold; 0 wake-ups.
#include "ActivityLog.h"
#include "BenchClock.h"
#include "BenchProcess.h"
#include "LogView.h"
#include "MainFlags.h"
#include "QtPrompts.h"
#include "RunlatchLogForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <csignal>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Rounds = 3;
// In the log's last lines only; the find types it in lower case.
constexpr auto Marker = "Quarterly-Report";
constexpr auto MarkerTyped = "quarterly-report";
constexpr int MarkerFromEnd = 5;
constexpr int IdleWindowMs = 2000;

struct Figures {
    double seconds = -1;
    double peakMiB = -1;
};

// Lines as runs write them: a time stamp, the program and its parameters; one of the last few
// runs the marker program. Synced, so that its pages can be dropped from the cache. Returns the
// marker's line number, -1 when the file could not be written.
long long writeLog(const QString& path, qint64 mib)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr)
        return -1;
    const qint64 target = mib << 20;
    std::string block;
    qint64 written = 0;
    long long markerLine = -1;
    for (long long i = 0; markerLine < 0 || i < markerLine + MarkerFromEnd; ++i) {
        if (written >= target && markerLine < 0)
            markerLine = i;
        char line[160];
        const int n = std::snprintf(line, sizeof line,
                                    "%02lld:%02lld:%02lld Mar 02, 2026:  /usr/bin/%s "
                                    "/home/ann/Documents /mnt/backup/run-%lld\r\n",
                                    i / 3600 % 24, i / 60 % 60, i % 60,
                                    i == markerLine ? Marker : "rsync -a", i);
        block.append(line, static_cast<std::size_t>(n));
        written += n;
        if (block.size() >= (1u << 20)) {
            std::fwrite(block.data(), 1, block.size(), file);
            block.clear();
        }
    }
    std::fwrite(block.data(), 1, block.size(), file);
    const bool synced = std::fflush(file) == 0 && ::fdatasync(::fileno(file)) == 0;
    return std::fclose(file) == 0 && synced ? markerLine : -1;
}

// Drops the file's pages from the page cache; the share of its pages still cached afterwards.
double dropFromCache(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident(static_cast<std::size_t>((size + page - 1) / page));
    void* mapped = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return -1;
    const bool known = ::mincore(mapped, static_cast<std::size_t>(size), resident.data()) == 0;
    ::munmap(mapped, static_cast<std::size_t>(size));
    if (!known)
        return -1;
    const auto cached = std::count_if(resident.begin(), resident.end(),
                                      [](unsigned char state) { return (state & 1) != 0; });
    return resident.empty() ? 0 : double(cached) / double(resident.size());
}

// Runs argv with its output to outputPath; the wall time it took, -1 when it failed.
double timed(const std::vector<std::string>& args, const std::string& outputPath)
{
    const BenchClock clock;
    const pid_t pid = spawnWithOutput(args, outputPath);
    return pid >= 0 && reapedCleanly(pid) ? clock.seconds() : -1;
}

// This process's own peak: a spawned child's resource usage also counts its parent's memory
// from before the exec, so the viewer reports its peak itself.
double peakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// The child side: View > Log on Runlatch.log in the current folder, until the window has been
// painted and the scan is done; then, as mode says:
//   open    prints the seconds that took, the peak memory and the lines;
//   idle    prints "ready" and stays open;
//   cached  from the top, the find bar's search for the marker; prints its seconds and the line;
//   cold    the same, the log's pages dropped from the cache before the find.
int childViewer(int argc, char* argv[], const std::string& mode)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchClock clock;
    ActivityLog log;
    log.PrepareLogFile();
    MainFlags flags;
    QtPrompts prompts;
    TRunlatchLogForm form(log, flags, prompts);
    form.loadLog();
    form.show();
    auto* view = form.findChild<LogView*>(QStringLiteral("Memo2"));
    do
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    while (!view->isScanned());
    QApplication::processEvents();
    const double seconds = clock.seconds();
    if (mode == "open") {
        std::printf("%.4f %.1f %lld\n", seconds, peakResidentMiB(),
                    static_cast<long long>(view->lineCount()));
        return 0;
    }
    if (mode == "idle") {
        std::printf("ready\n");
        std::fflush(stdout);
        return QApplication::exec();
    }
    view->scrollToLine(0);
    form.findChild<QLineEdit*>(QStringLiteral("FindEdit"))
        ->setText(QString::fromLatin1(MarkerTyped));
    if (mode == "cold" && dropFromCache(ActivityLog::FileName) != 0)
        return 1;
    const BenchClock findClock;
    form.findNext();
    while (view->isFinding())
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    std::printf("%.4f %lld\n", findClock.seconds(),
                static_cast<long long>(view->hasSelection() ? view->selectionStart().line : -1));
    return 0;
}

// The wake-ups of an open viewer left alone; -1 when it did not open.
long idleWakeUps(const std::string& self, const std::string& output)
{
    const pid_t pid = spawnWithOutput({self, "--child", "idle"}, output);
    for (int waited = 0; waited < 30000; waited += 10) {
        std::ifstream printed(output);
        std::string line;
        if (std::getline(printed, line) && line == "ready")
            break;
        sleepMs(10);
    }
    sleepMs(250);
    const long wakeUps = switchesOver(pid, IdleWindowMs);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM ? wakeUps : -1;
}

// Seconds of the viewer's find as it printed them; -1 when it failed or found the wrong line.
double viewerFind(const std::string& self, const std::string& output, bool cold,
                  long long expectedLine)
{
    if (timed({self, "--child", cold ? "cold" : "cached"}, output) < 0)
        return -1;
    double seconds = -1;
    long long line = -1;
    if (FILE* printed = std::fopen(output.c_str(), "r")) {
        if (std::fscanf(printed, "%lf %lld", &seconds, &line) != 2 || line != expectedLine)
            seconds = -1;
        std::fclose(printed);
    }
    return seconds;
}

// grep -c for the marker; -1 when it failed or did not count the one line.
double grepCount(const std::string& log, const std::string& output, bool cold)
{
    if (cold && dropFromCache(log) != 0)
        return -1;
    const BenchClock clock;
    const pid_t pid = spawnWithOutput({"/usr/bin/grep", "-c", Marker, log}, output);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    const double seconds = clock.seconds();
    std::ifstream counted(output);
    int count = 0;
    return counted >> count && count == 1 ? seconds : -1;
}

void printFind(qint64 mib, const char* cache, const std::vector<double>& find,
               const std::vector<double>& grep)
{
    std::printf("%4lld MiB %-7s find %8.3f s   grep -c %8.3f s   ratio %5.2f   (medians of %d)\n",
                mib, cache, median(find), median(grep), median(find) / median(grep), Rounds);
    std::fflush(stdout);
}

int failed(const char* what)
{
    std::fprintf(stderr, "%s failed\n", what);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return childViewer(argc, argv, argv[2]);

    std::vector<qint64> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoll(argv[i]));
    if (sizes.empty())
        sizes = {100, 1000};

    QTemporaryDir scratch;
    const std::string log =
        QFile::encodeName(scratch.filePath(QStringLiteral("Runlatch.log"))).toStdString();
    const std::string output =
        QFile::encodeName(scratch.filePath(QStringLiteral("out.txt"))).toStdString();
    if (!QDir::setCurrent(scratch.path()))
        return 1;
    const std::string self =
        QFile::encodeName(QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath())
            .toStdString();

    std::printf("%-8s %-22s %s\n", "log", "viewer: s / peak MiB", "wc -l: s");
    for (const qint64 mib : sizes) {
        const long long markerLine = writeLog(QString::fromStdString(log), mib);
        if (markerLine < 0)
            return failed("writing the log");
        // Into the page cache, for both sides alike.
        (void)timed({"/usr/bin/wc", "-l", log}, output);
        std::vector<double> viewerSeconds, viewerPeak, wcSeconds;
        for (int round = 0; round < Rounds; ++round) {
            Figures viewer{timed({self, "--child", "open"}, output), -1};
            // The viewer's own time, from View > Log on, without the process's start-up.
            if (FILE* printed = std::fopen(output.c_str(), "r")) {
                if (std::fscanf(printed, "%lf %lf", &viewer.seconds, &viewer.peakMiB) != 2)
                    viewer.seconds = -1;
                std::fclose(printed);
            }
            const double wc = timed({"/usr/bin/wc", "-l", log}, output);
            if (viewer.seconds < 0 || wc < 0)
                return failed("opening the viewer or wc -l");
            viewerSeconds.push_back(viewer.seconds);
            viewerPeak.push_back(viewer.peakMiB);
            wcSeconds.push_back(wc);
        }
        std::printf("%4lld MiB %8.3f / %-11.1f %8.3f   (medians of %d)\n", mib,
                    median(viewerSeconds), median(viewerPeak), median(wcSeconds), Rounds);
        std::fflush(stdout);
        for (const bool cold : {false, true}) {
            std::vector<double> find, grep;
            for (int round = 0; round < Rounds; ++round) {
                find.push_back(viewerFind(self, output, cold, markerLine));
                grep.push_back(grepCount(log, output, cold));
                if (find.back() < 0 || grep.back() < 0)
                    return failed("the find or grep -c");
            }
            printFind(mib, cold ? "cold" : "cached", find, grep);
        }
        std::printf("%4lld MiB idle    wake-ups in %d ms with the viewer open: %ld\n", mib,
                    IdleWindowMs, idleWakeUps(self, output));
        std::remove(log.c_str());
    }
    return 0;
}
