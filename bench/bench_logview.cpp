// View > Log on big logs: the time from opening the viewer until its window is up and the whole
// file is scanned (the program idle again), and the peak memory of the process, against
// "wc -l" over the same file in the same run. Each opening runs in a fresh process of this
// program, so that its peak memory is its own; both sides alternate and read the file from the
// page cache.
//
//   bench_logview [MiB ...]      default: 100 1000
// Targets: 100 MiB under 0.5 s and 120 MiB; 1000 MiB under 2.5 s and 150 MiB.
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
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int Rounds = 3;

struct Figures {
    double seconds = -1;
    double peakMiB = -1;
};

// Lines as runs write them: a time stamp, the program and its parameters.
bool writeLog(const QString& path, qint64 mib)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr)
        return false;
    const qint64 target = mib << 20;
    std::string block;
    qint64 written = 0;
    for (qint64 i = 0; written < target; ++i) {
        char line[160];
        const int n = std::snprintf(line, sizeof line,
                                    "%02lld:%02lld:%02lld Mar 02, 2026:  /usr/bin/rsync -a "
                                    "/home/ann/Documents /mnt/backup/run-%lld\r\n",
                                    i / 3600 % 24, i / 60 % 60, i % 60, i);
        block.append(line, static_cast<std::size_t>(n));
        written += n;
        if (block.size() >= (1u << 20)) {
            std::fwrite(block.data(), 1, block.size(), file);
            block.clear();
        }
    }
    std::fwrite(block.data(), 1, block.size(), file);
    return std::fclose(file) == 0;
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
// painted and the scan is done. Prints the seconds that took.
int openViewer(int argc, char* argv[])
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
    std::printf("%.4f %.1f %lld\n", seconds, peakResidentMiB(),
                static_cast<long long>(view->lineCount()));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--open") == 0)
        return openViewer(argc, argv);

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
        if (!writeLog(QString::fromStdString(log), mib))
            return 1;
        // Into the page cache, for both sides alike.
        (void)timed({"/usr/bin/wc", "-l", log}, output);
        std::vector<double> viewerSeconds, viewerPeak, wcSeconds;
        for (int round = 0; round < Rounds; ++round) {
            Figures viewer{timed({self, "--open"}, output), -1};
            // The viewer's own time, from View > Log on, without the process's start-up.
            if (FILE* printed = std::fopen(output.c_str(), "r")) {
                if (std::fscanf(printed, "%lf %lf", &viewer.seconds, &viewer.peakMiB) != 2)
                    viewer.seconds = -1;
                std::fclose(printed);
            }
            const double wc = timed({"/usr/bin/wc", "-l", log}, output);
            if (viewer.seconds < 0 || wc < 0)
                return 1;
            viewerSeconds.push_back(viewer.seconds);
            viewerPeak.push_back(viewer.peakMiB);
            wcSeconds.push_back(wc);
        }
        std::printf("%4lld MiB %8.3f / %-11.1f %8.3f   (medians of %d)\n", mib,
                    median(viewerSeconds), median(viewerPeak), median(wcSeconds), Rounds);
        std::fflush(stdout);
        std::remove(log.c_str());
    }
    return 0;
}
