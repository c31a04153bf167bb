// Saves and loads a full job file (50 entries and the schedule) through the INI store, key by
// key as the file commands do, and prints how long that takes: once with every write rewriting
// and syncing the file on its own, once with the writes gathered and the file replaced once, as
// File > Save does. The figures depend on the disk: pass a folder to measure a particular one.
//
//   bench_inistore [folder] [rounds]

#include "StRegIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Entries = 50;
constexpr double TargetSaveMs = 50.0;

QString entryKey(int number, const QString& word)
{
    return QString::number(number).rightJustified(2, u'0') + word;
}

// The writes of one save, in the order the save command makes them.
int save(const QString& path, bool gathered)
{
    TStRegIni store(path);
    if (gathered)
        store.beginUpdates();
    if (store.SectionExists(u"Processes"_s))
        store.EraseSection(u"Processes"_s);
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, Entries);
    int writes = 2;
    for (int n = 1; n <= Entries; ++n) {
        store.WriteString(entryKey(n, u"Name"_s), u"C:\\Program Files\\Tools\\job%1.exe"_s.arg(n));
        store.WriteString(entryKey(n, u"Param"_s), u"/quiet /log=D:\\Logs\\job%1.log"_s.arg(n));
        writes += 2;
    }
    store.setCurrentSection(u"Schedule"_s);
    store.WriteInteger(u"EveryHours"_s, 1);
    store.WriteInteger(u"EveryMins"_s, 30);
    store.WriteBoolean(u"DelayedStart"_s, true);
    store.WriteFloat(u"DelayedStartTime"_s, 46380.2708333333);
    store.commitUpdates();
    return writes + 4;
}

// The reads of one load; returns a checksum so that nothing is optimised away.
qsizetype load(const QString& path)
{
    TStRegIni store(path);
    store.setCurrentSection(u"Processes"_s);
    const int count = store.ReadInteger(u"Count"_s, 0);
    qsizetype sum = count;
    for (int n = 1; n <= count; ++n) {
        sum += store.ReadString(entryKey(n, u"Name"_s), {}).size();
        sum += store.ReadString(entryKey(n, u"Param"_s), {}).size();
    }
    store.setCurrentSection(u"Schedule"_s);
    sum += store.ReadInteger(u"EveryHours"_s, 0) + store.ReadInteger(u"EveryMins"_s, 0);
    sum += store.ReadBoolean(u"DelayedStart"_s, false) ? 1 : 0;
    sum += static_cast<qsizetype>(store.ReadFloat(u"DelayedStartTime"_s, 0.0));
    return sum;
}

template <typename Work>
double millisecondsOf(Work work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Summary {
    double best;
    double median;
    double worst;
};

Summary summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

void print(const char* what, const Summary& summary, int operations)
{
    std::printf("%-28s best %8.2f ms  median %8.2f ms  worst %8.2f ms  (%d operations, median "
                "%.3f ms each)\n",
                what, summary.best, summary.median, summary.worst, operations,
                summary.median / operations);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString folder = arguments.size() > 1 ? arguments[1] : QDir::tempPath();
    QTemporaryDir dir(folder + u"/bench_inistore-XXXXXX"_s);
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a scratch folder\n");
        return 1;
    }
    const int rounds = arguments.size() > 2 ? std::max(1, arguments[2].toInt()) : 20;
    const QString path = dir.filePath(u"job.ini"_s);

    int writes = save(path, true);
    qsizetype checksum = 0;
    std::vector<double> keySaves;
    std::vector<double> saves;
    std::vector<double> loads;
    for (int round = 0; round < rounds; ++round) {
        keySaves.push_back(millisecondsOf([&] { writes = save(path, false); }));
        saves.push_back(millisecondsOf([&] { writes = save(path, true); }));
        loads.push_back(millisecondsOf([&] { checksum += load(path); }));
    }

    std::printf("job file %s, %d rounds, checksum %lld\n", qPrintable(path), rounds,
                static_cast<long long>(checksum));
    print("save, file replaced per key", summarise(keySaves), writes);
    const Summary saved = summarise(saves);
    print("save, as File > Save", saved, writes);
    print("load", summarise(loads), 2 * Entries + 5);
    std::printf("target: a save under %.0f ms: %s\n", TargetSaveMs,
                saved.median < TargetSaveMs ? "met" : "missed");
    return 0;
}
