// Saves and loads a full job file (50 entries and the schedule) through the INI store, key by
// key as the file commands do, and prints how long that takes: once with every write rewriting
// and syncing the file on its own, once with the writes gathered and the file replaced once, as
// File > Save does. The figures depend on the disk: pass a folder to measure a particular one.
//
// Then the same job file beside 20 MiB and beside 100 MiB of other programs' sections: its load
// against the time it takes only to read the file's bytes (the floor), in the same rounds, with
// the file in the page cache; at 20 MiB, once, the load as it was when the store read the whole
// file for every key; and a save over the 20 MiB file.
//
//   bench_inistore [folder] [rounds]

#include "StRegIni.h"
#include "UserFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Entries = 50;
constexpr double TargetSaveMs = 50.0;
// A load beside other programs' sections, against only reading the file's bytes.
constexpr double TargetBigLoadRatio = 2.0;
constexpr qsizetype MiB = 1024 * 1024;
constexpr int BigRounds = 9;

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

// Hands out the store for each read: one for the whole load, as LoadIni has it, or a new one
// for every read, which reads the whole file again as the store did before it kept the file.
class Reader {
public:
    Reader(QString path, bool storePerRead)
        : m_path(std::move(path))
        , m_storePerRead(storePerRead)
    {}

    const TStRegIni& in(const QString& section)
    {
        if (m_storePerRead || !m_store)
            m_store.emplace(m_path);
        m_store->setCurrentSection(section);
        return *m_store;
    }

private:
    QString m_path;
    bool m_storePerRead;
    std::optional<TStRegIni> m_store;
};

// The reads of one load; returns a checksum so that nothing is optimised away.
qsizetype load(const QString& path, bool storePerRead = false)
{
    Reader reader(path, storePerRead);
    const int count = reader.in(u"Processes"_s).ReadInteger(u"Count"_s, 0);
    qsizetype sum = count;
    for (int n = 1; n <= count; ++n) {
        sum += reader.in(u"Processes"_s).ReadString(entryKey(n, u"Name"_s), {}).size();
        sum += reader.in(u"Processes"_s).ReadString(entryKey(n, u"Param"_s), {}).size();
    }
    sum += reader.in(u"Schedule"_s).ReadInteger(u"EveryHours"_s, 0);
    sum += reader.in(u"Schedule"_s).ReadInteger(u"EveryMins"_s, 0);
    sum += reader.in(u"Schedule"_s).ReadBoolean(u"DelayedStart"_s, false) ? 1 : 0;
    sum += static_cast<qsizetype>(reader.in(u"Schedule"_s).ReadFloat(u"DelayedStartTime"_s, 0.0));
    return sum;
}

// The floor of a load: the file's bytes into memory, nothing else.
qsizetype readBytesOnly(const QString& path)
{
    const OpenedUserFile opened = openUserFile(nativePath(path), FileAccess::Read, path);
    QByteArray bytes;
    if (!opened.file.isValid() || !readAll(opened.file, bytes))
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return bytes.size();
}

// Other programs' sections as a shared INI file holds them: many sections of 10 to 30 keys with
// names and values of varied length, about size bytes in all.
QByteArray foreignSections(qsizetype size)
{
    QRandomGenerator random(0x1A7C);
    const auto word = [&random](int shortest, int longest) {
        QByteArray text;
        const int length = random.bounded(shortest, longest + 1);
        for (int i = 0; i < length; ++i)
            text += static_cast<char>('a' + random.bounded(26));
        return text;
    };
    QByteArray text;
    text.reserve(size + 4096);
    for (int section = 0; text.size() < size; ++section) {
        text += '[' + word(4, 12) + '.' + QByteArray::number(section) + "]\r\n";
        const int keys = random.bounded(10, 31);
        for (int key = 0; key < keys; ++key)
            text += word(3, 16) + QByteArray::number(key) + '=' + word(0, 60) + "\r\n";
        text += "\r\n";
    }
    return text;
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

// The job file saved once on its own, then its bytes beside foreignBytes of other sections.
bool writeBigJobFile(const QString& path, qsizetype foreignBytes)
{
    save(path, true);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray job = file.readAll();
    file.close();
    const QByteArray big = foreignSections(foreignBytes) + job;
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(big) == big.size();
}

// A load beside foreignMiB of other sections against the floor, alternating in each round; the
// ratio of their medians.
double compareBigLoad(const QString& path, int foreignMiB, qsizetype& checksum)
{
    std::vector<double> loads;
    std::vector<double> floors;
    for (int round = 0; round < BigRounds; ++round) {
        floors.push_back(millisecondsOf([&] { checksum += readBytesOnly(path); }));
        loads.push_back(millisecondsOf([&] { checksum += load(path); }));
    }
    const Summary loaded = summarise(loads);
    const Summary floor = summarise(floors);
    std::printf("beside %3d MiB: load median %8.2f ms (best %.2f, worst %.2f); read only median "
                "%7.2f ms; ratio %.1f\n",
                foreignMiB, loaded.median, loaded.best, loaded.worst, floor.median,
                loaded.median / floor.median);
    return loaded.median / floor.median;
}

void benchBigFiles(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(u"shared.ini"_s);
    qsizetype checksum = 0;
    std::printf("\njob file beside other programs' sections, %d rounds\n", BigRounds);

    if (!writeBigJobFile(path, 20 * MiB))
        return;
    const double twenty = compareBigLoad(path, 20, checksum);
    const double perRead = millisecondsOf([&] { checksum += load(path, true); });
    std::printf("beside  20 MiB: load with the whole file read per key, once: %.0f ms\n", perRead);
    std::vector<double> saves;
    for (int round = 0; round < BigRounds; ++round)
        saves.push_back(millisecondsOf([&] { save(path, true); }));
    const Summary saved = summarise(saves);
    std::printf("beside  20 MiB: save as File > Save median %8.2f ms (best %.2f, worst %.2f)\n",
                saved.median, saved.best, saved.worst);

    if (!writeBigJobFile(path, 100 * MiB))
        return;
    const double hundred = compareBigLoad(path, 100, checksum);
    std::printf("target: a load beside 20 and 100 MiB within %.1f times the read: %s (checksum "
                "%lld)\n",
                TargetBigLoadRatio,
                std::max(twenty, hundred) <= TargetBigLoadRatio ? "met" : "missed",
                static_cast<long long>(checksum));
}
} // namespace

int main(int argc, char* argv[])
{
    // Every large buffer comes fresh from the system, as the one load of a /R run gets it.
    // Otherwise whichever side of a comparison gets the other's freed memory back skips its page
    // faults, and at 20 MiB that alone decides the ratio, either way.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
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

    benchBigFiles(dir);
    return 0;
}
