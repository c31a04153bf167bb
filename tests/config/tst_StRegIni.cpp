#include "ByteText.h"
#include "Errors.h"
#include "FileSizeLimit.h"
#include "SpecialFiles.h"
#include "SystemError.h"
#include "StRegIni.h"
#include "TestFiles.h"
#include "UserFile.h"
#include "Watchdog.h"
#include "WindowsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>
#include <thread>
#include <utility>

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

// How a test prepares the place it writes to.
enum class Place {
    MissingFolder,
    ParentIsFile,
    LinkLoop,
    ReadOnlyFile,
    ReadOnlyFolderNewFile,
    ReadOnlyFolderExistingFile,
    UnreadableFile,
    // Windows only: another program has the file open and shares nothing, or all but its deletion.
    HeldSharingNothing,
    HeldSharingAllButDelete,
};
Q_DECLARE_METATYPE(Place)

class TestStRegIni : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyPathRaises();
    void readStringTrimsOrGivesTheDefault_data();
    void readStringTrimsOrGivesTheDefault();
    void readIntegerTakesDecimalOrHex_data();
    void readIntegerTakesDecimalOrHex();
    void readBooleanTakesWordsOrNumbers_data();
    void readBooleanTakesWordsOrNumbers();
    void readFloatTakesFixedOrExponent_data();
    void readFloatTakesFixedOrExponent();
    void missingFileReadsDefaults();
    void missingFloatReadsDefaultAsWritten();

    void writeIntegerWritesDecimal_data();
    void writeIntegerWritesDecimal();
    void writeBooleanWritesUpperCaseWords_data();
    void writeBooleanWritesUpperCaseWords();
    void writeFloatWritesFifteenDigits_data();
    void writeFloatWritesFifteenDigits();
    void writeFloatIgnoresLocale();
    void writeStringQuotesWhatAReadWouldTrim_data();
    void writeStringQuotesWhatAReadWouldTrim();
    void writeRefusesWhatHasNoText_data();
    void writeRefusesWhatHasNoText();
    void writeTwiceReplacesInPlace();
    void savingAJobFileTwiceMovesTheProcessesLast();

    void sectionExistsIgnoresCase_data();
    void sectionExistsIgnoresCase();
    void eraseSectionKeepsTheRest();
    void erasingWhatIsMissingChangesNothing_data();
    void erasingWhatIsMissingChangesNothing();

    void refusedChangeLeavesEverythingAsItWas_data();
    void refusedChangeLeavesEverythingAsItWas();
    void closedFolderRewritesTheFileInPlace_data();
    void closedFolderRewritesTheFileInPlace();
    void fullDiskKeepsOldFile();
    void writeKeepsThePermissions_data();
    void writeKeepsThePermissions();
    void writeKeepsTheOwner();
    void newFileFollowsUmask_data();
    void newFileFollowsUmask();
    void writesThroughLinks_data();
    void writesThroughLinks();
    void concurrentWritersLoseNoKey();
    void gatheredUpdatesWaitForTheCommit_data();
    void gatheredUpdatesWaitForTheCommit();

    void writeKeepsTheFileAttributes_data();
    void writeKeepsTheFileAttributes();
    void backslashPathsWork();

    void readsTheFileOnce();
    void notRegularFilesAreRefused_data();
    void notRegularFilesAreRefused();
    void deviceNamesAreRefused_data();
    void deviceNamesAreRefused();
    void fifoPutInPlaceAfterTheLoadIsRefused();
    void nullDeviceReadsAsEmpty_data();
    void nullDeviceReadsAsEmpty();
    void unreadableFileRaises_data();
    void unreadableFileRaises();
    void nextSaveRemovesAbandonedTemporaryFiles_data();
    void nextSaveRemovesAbandonedTemporaryFiles();

private:
    [[nodiscard]] QString path(const QString& name) const { return m_dir->filePath(name); }
    [[nodiscard]] QString storeWith(const QByteArray& keyLine) const;
    [[nodiscard]] QString prepare(Place place, const QByteArray& contents);
    // The message of the NotRegularFileError that the operation on file raised; empty for none.
    [[nodiscard]] static QString refusalOf(const QString& file, const QString& operation);

    std::unique_ptr<QTemporaryDir> m_dir;
#ifdef Q_OS_WIN
    std::unique_ptr<HeldFile> m_held;
#endif
};

namespace {

const QString JobFile = u"job.ini"_s;
const QByteArray JobText = "[Processes]\r\nCount=1\r\n01Name=a.exe\r\n"_ba;

[[nodiscard]] QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

const IniFailure NoFailure{0, {}};
const IniFailure WriteFailure{7, u"Failed to write value to INI file"_s};
const IniFailure EraseFailure{13, u"Unable to delete section from INI file"_s};

#ifdef Q_OS_WIN
constexpr bool IsWindows = true;
#else
constexpr bool IsWindows = false;
#endif

constexpr const char* NoFileModes = "file modes and umask exist only on POSIX";

[[nodiscard]] mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0
               ? static_cast<mode_t>(info.st_mode & 07777)
               : 0;
}

[[nodiscard]] bool isRoot()
{
#ifdef Q_OS_WIN
    return false;
#else
    return ::geteuid() == 0;
#endif
}

// Windows keeps of a mode only the owner's write bit, as the read-only attribute.
void setMode(const QString& path, mode_t mode)
{
#ifdef Q_OS_WIN
    QFile::setPermissions(path, (mode & 0200) != 0 ? QFile::ReadOwner | QFile::WriteOwner
                                                   : QFile::ReadOwner);
#else
    ::chmod(QFile::encodeName(path).constData(), mode);
#endif
}

// Whether the operation raises nothing when run by a user whom folder permissions bind: root, as
// CI runs the tests, runs it in a child process that drops to nobody first.
[[nodiscard]] bool succeedsAsOtherUser(const std::function<void()>& operation)
{
#ifdef Q_OS_WIN
    Q_UNUSED(operation);
    return false;
#else
    constexpr id_t Nobody = 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                                  ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0);
        ::_exit(dropped && iniFailureOf(operation) == NoFailure ? 0 : 1);
    }
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && status == 0;
#endif
}

// Why the place cannot be prepared on this platform; empty where it can.
[[nodiscard]] const char* whyNotPrepared(Place place)
{
    switch (place) {
    case Place::LinkLoop:
        return SpecialFiles::whyNotMade(Special::LinkLoop);
    case Place::ReadOnlyFolderNewFile:
    case Place::ReadOnlyFolderExistingFile:
    case Place::UnreadableFile:
        return IsWindows ? "folder and read permissions are POSIX file modes" : "";
    case Place::HeldSharingNothing:
    case Place::HeldSharingAllButDelete:
        return IsWindows ? "" : "only Windows lets a program keep others from a file it has open";
    default:
        return "";
    }
}

} // namespace

void TestStRegIni::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestStRegIni::cleanup()
{
#ifdef Q_OS_WIN
    m_held.reset();
#endif
    // Read-only folders and files of a test must not keep the folder from being removed.
    setMode(m_dir->path(), 0755);
    for (const QString& name : entries(m_dir->path()))
        setMode(path(name), 0755);
    QLocale::setDefault(QLocale::c());
    m_dir.reset();
}

QString TestStRegIni::storeWith(const QByteArray& keyLine) const
{
    const QString file = path(JobFile);
    if (!writeBytes(file, "[A]\r\nk=wrong section\r\n[S]\r\n"_ba + keyLine + "\r\n[T]\r\n"_ba))
        qFatal("cannot write the test file");
    return file;
}

void TestStRegIni::emptyPathRaises()
{
    QCOMPARE(iniFailureOf([] { TStRegIni store(QString{}); }),
             IniFailure(2, u"No Ini File or Primary Key specified"_s));
}

void TestStRegIni::readStringTrimsOrGivesTheDefault_data()
{
    QTest::addColumn<QByteArray>("keyLine");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    QTest::newRow("value") << "k=C:\\Tools\\a.exe"_ba << u"d"_s << u"C:\\Tools\\a.exe"_s;
    QTest::newRow("blanks around dropped")
        << "k=  /full D:\\Data  "_ba << u"d"_s << u"/full D:\\Data"_s;
    QTest::newRow("enclosing quotes dropped") << "k=\"quoted\""_ba << u"d"_s << u"quoted"_s;
    QTest::newRow("empty value gives default") << "k="_ba << u"d"_s << u"d"_s;
    QTest::newRow("empty quotes give default") << "k=''"_ba << u"d"_s << u"d"_s;
    QTest::newRow("missing key gives default") << "other=v"_ba << u"d"_s << u"d"_s;
    QTest::newRow("UTF-8 text") << "k=Gr\xC3\xBC\xC3\x9F\x65"_ba << u"d"_s << u"Grüße"_s;
    QTest::newRow("empty default") << "other=v"_ba << QString() << QString();
}

void TestStRegIni::readStringTrimsOrGivesTheDefault()
{
    QFETCH(QByteArray, keyLine);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    TStRegIni store(storeWith(keyLine));
    store.setCurrentSection(u"S"_s);
    QCOMPARE(store.ReadString(u"k"_s, defaultValue), expected);
}

void TestStRegIni::readIntegerTakesDecimalOrHex_data()
{
    QTest::addColumn<QByteArray>("keyLine");
    QTest::addColumn<int>("expected");

    constexpr int Default = -99;
    constexpr int Most = std::numeric_limits<int>::max();
    constexpr int Least = std::numeric_limits<int>::min();

    // clang-format off
    QTest::newRow("decimal")                      << "k=42"_ba                      << 42;
    QTest::newRow("after a blank")                << "k= 42"_ba                     << 42;
    QTest::newRow("leading blank inside quotes")  << "k=' 42'"_ba                   << 42;
    QTest::newRow("trailing blank inside quotes") << "k='42 '"_ba                   << Default;
    QTest::newRow("plus sign")                    << "k=+7"_ba                      << 7;
    QTest::newRow("minus sign")                   << "k=-7"_ba                      << -7;
    QTest::newRow("leading zeros")                << "k=007"_ba                     << 7;
    QTest::newRow("largest")                      << "k=2147483647"_ba              << Most;
    QTest::newRow("smallest")                     << "k=-2147483648"_ba             << Least;
    QTest::newRow("too large")                    << "k=2147483648"_ba              << Default;
    QTest::newRow("too small")                    << "k=-2147483649"_ba             << Default;
    QTest::newRow("far too large")                << "k=99999999999999999999999"_ba << Default;
    QTest::newRow("dollar hex")                   << "k=$1F"_ba                     << 31;
    QTest::newRow("0x hex")                       << "k=0x1f"_ba                    << 31;
    QTest::newRow("0X hex")                       << "k=0X1F"_ba                    << 31;
    QTest::newRow("negative hex")                 << "k=-$1"_ba                     << -1;
    QTest::newRow("hex bit pattern")              << "k=$FFFFFFFF"_ba               << -1;
    QTest::newRow("hex lowest")                   << "k=$80000000"_ba               << Least;
    QTest::newRow("hex leading zeros")            << "k=$000000001"_ba              << 1;
    QTest::newRow("hex beyond 32 bits")           << "k=$100000000"_ba              << Default;
    QTest::newRow("dollar alone")                 << "k=$"_ba                       << Default;
    QTest::newRow("0x alone")                     << "k=0x"_ba                      << Default;
    QTest::newRow("sign after dollar")            << "k=$-1"_ba                     << Default;
    QTest::newRow("bad hex digit")                << "k=$1G"_ba                     << Default;
    QTest::newRow("trailing letters")             << "k=12abc"_ba                   << Default;
    QTest::newRow("fraction")                     << "k=1.0"_ba                     << Default;
    QTest::newRow("exponent")                     << "k=1e3"_ba                     << Default;
    QTest::newRow("inner blank")                  << "k=1 2"_ba                     << Default;
    QTest::newRow("two signs")                    << "k=+-1"_ba                     << Default;
    QTest::newRow("sign alone")                   << "k=-"_ba                       << Default;
    QTest::newRow("empty")                        << "k="_ba                        << Default;
    QTest::newRow("missing")                      << "K2=5"_ba                      << Default;
    QTest::newRow("non-ASCII digit")              << "k=\xD9\xA3"_ba                << Default;
    // clang-format on
}

void TestStRegIni::readIntegerTakesDecimalOrHex()
{
    QFETCH(QByteArray, keyLine);
    QFETCH(int, expected);

    TStRegIni store(storeWith(keyLine));
    store.setCurrentSection(u"S"_s);
    QCOMPARE(store.ReadInteger(u"k"_s, -99), expected);
}

void TestStRegIni::readBooleanTakesWordsOrNumbers_data()
{
    QTest::addColumn<QByteArray>("keyLine");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    // clang-format off
    QTest::newRow("upper-case TRUE")             << "k=TRUE"_ba      << false << true;
    QTest::newRow("lower-case true")             << "k=true"_ba      << false << true;
    QTest::newRow("capitalised True")            << "k=True"_ba      << false << true;
    QTest::newRow("upper-case FALSE")            << "k=FALSE"_ba     << true  << false;
    QTest::newRow("mixed-case FaLsE")            << "k=FaLsE"_ba     << true  << false;
    QTest::newRow("quoted true")                 << "k=\"true\""_ba  << false << true;
    QTest::newRow("one")                         << "k=1"_ba         << false << true;
    QTest::newRow("minus one")                   << "k=-1"_ba        << false << true;
    QTest::newRow("one half")                    << "k=0.5"_ba       << false << true;
    QTest::newRow("zero")                        << "k=0"_ba         << true  << false;
    QTest::newRow("zero with a fraction")        << "k=0.0"_ba       << true  << false;
    QTest::newRow("minus zero with an exponent") << "k=-0E5"_ba      << true  << false;
    QTest::newRow("yes, default false")          << "k=yes"_ba       << false << false;
    QTest::newRow("yes, default true")           << "k=yes"_ba       << true  << true;
    QTest::newRow("T alone")                     << "k=T"_ba         << false << false;
    QTest::newRow("decimal comma")               << "k=1,5"_ba       << true  << true;
    QTest::newRow("empty, default true")         << "k="_ba          << true  << true;
    QTest::newRow("empty, default false")        << "k="_ba          << false << false;
    QTest::newRow("missing, default true")       << "other=FALSE"_ba << true  << true;
    QTest::newRow("missing, default false")      << "other=TRUE"_ba  << false << false;
    // clang-format on
}

void TestStRegIni::readBooleanTakesWordsOrNumbers()
{
    QFETCH(QByteArray, keyLine);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);

    TStRegIni store(storeWith(keyLine));
    store.setCurrentSection(u"S"_s);
    QCOMPARE(store.ReadBoolean(u"k"_s, defaultValue), expected);
}

void TestStRegIni::readFloatTakesFixedOrExponent_data()
{
    QTest::addColumn<QByteArray>("keyLine");
    QTest::addColumn<double>("expected");

    constexpr double Default = -12.75;
    constexpr double Smallest = std::numeric_limits<double>::denorm_min();

    // clang-format off
    QTest::newRow("fixed")                    << "k=46380.5"_ba                 << 46380.5;
    QTest::newRow("exponent")                 << "k=4.63805E4"_ba               << 46380.5;
    QTest::newRow("small e, signed exponent") << "k=4.63805e+4"_ba              << 46380.5;
    QTest::newRow("written form")             << "k= 4.63802708333333E+0004"_ba << 46380.2708333333;
    QTest::newRow("negative exponent")        << "k=5.00000000000000E-0001"_ba  << 0.5;
    QTest::newRow("negative")                 << "k=-0.25"_ba                   << -0.25;
    QTest::newRow("plus sign")                << "k=+1"_ba                      << 1.0;
    QTest::newRow("integer")                  << "k=3"_ba                       << 3.0;
    QTest::newRow("no whole part")            << "k=.5"_ba                      << 0.5;
    QTest::newRow("no fraction")              << "k=5."_ba                      << 5.0;
    QTest::newRow("leading blanks in quotes") << "k='  2.5'"_ba                 << 2.5;
    QTest::newRow("trailing blank in quotes") << "k='2.5 '"_ba                  << Default;
    QTest::newRow("comma")                    << "k=46380,5"_ba                 << Default;
    QTest::newRow("exponent alone")           << "k=E5"_ba                      << Default;
    QTest::newRow("point alone")              << "k=."_ba                       << Default;
    QTest::newRow("exponent without digits")  << "k=1E"_ba                      << Default;
    QTest::newRow("exponent sign, no digits") << "k=1E+"_ba                     << Default;
    QTest::newRow("two points")               << "k=1.2.3"_ba                   << Default;
    QTest::newRow("lower-case inf")           << "k=inf"_ba                     << Default;
    QTest::newRow("upper-case INF")           << "k=INF"_ba                     << Default;
    QTest::newRow("NaN")                      << "k=nan"_ba                     << Default;
    QTest::newRow("hex")                      << "k=0x10"_ba                    << Default;
    QTest::newRow("beyond double")            << "k=1E400"_ba                   << Default;
    QTest::newRow("below double")             << "k=1E-400"_ba                  << Default;
    QTest::newRow("smallest double")          << "k=4.9406564584124654E-324"_ba << Smallest;
    QTest::newRow("empty")                    << "k="_ba                        << Default;
    QTest::newRow("missing")                  << "k2=1"_ba                      << Default;
    // clang-format on
}

void TestStRegIni::readFloatTakesFixedOrExponent()
{
    QFETCH(QByteArray, keyLine);
    QFETCH(double, expected);

    TStRegIni store(storeWith(keyLine));
    store.setCurrentSection(u"S"_s);
    QCOMPARE(exactly(store.ReadFloat(u"k"_s, -12.75)), exactly(expected));
}

void TestStRegIni::missingFileReadsDefaults()
{
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Schedule"_s);
    QCOMPARE(store.ReadString(u"k"_s, u"d"_s), u"d"_s);
    QCOMPARE(store.ReadInteger(u"k"_s, 5), 5);
    QCOMPARE(store.ReadBoolean(u"k"_s, true), true);
    QCOMPARE(exactly(store.ReadFloat(u"k"_s, 0.5)), exactly(0.5));
    QVERIFY(!QFileInfo::exists(path(JobFile)));
}

// The default reaches the caller through its written form, as a value in the file would.
void TestStRegIni::missingFloatReadsDefaultAsWritten()
{
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Schedule"_s);
    QCOMPARE(exactly(store.ReadFloat(u"k"_s, 0.1 + 0.2)), exactly(0.3));
    QVERIFY(std::isnan(store.ReadFloat(u"k"_s, std::nan(""))));
    QCOMPARE(store.ReadFloat(u"k"_s, -std::numeric_limits<double>::infinity()),
             -std::numeric_limits<double>::infinity());
}

void TestStRegIni::writeIntegerWritesDecimal_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("text");

    // clang-format off
    QTest::newRow("zero")     << 0                               << "0"_ba;
    QTest::newRow("positive") << 30                              << "30"_ba;
    QTest::newRow("negative") << -5                              << "-5"_ba;
    QTest::newRow("largest")  << std::numeric_limits<int>::max() << "2147483647"_ba;
    QTest::newRow("smallest") << std::numeric_limits<int>::min() << "-2147483648"_ba;
    // clang-format on
}

void TestStRegIni::writeIntegerWritesDecimal()
{
    QFETCH(int, value);
    QFETCH(QByteArray, text);

    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteInteger(u"k"_s, value);
    QCOMPARE(readBytes(path(JobFile)), "[S]\r\nk="_ba + text + "\r\n"_ba);
    QCOMPARE(store.ReadInteger(u"k"_s, 1), value);
}

void TestStRegIni::writeBooleanWritesUpperCaseWords_data()
{
    QTest::addColumn<bool>("value");
    QTest::addColumn<QByteArray>("text");

    // clang-format off
    QTest::newRow("true as TRUE")   << true  << "TRUE"_ba;
    QTest::newRow("false as FALSE") << false << "FALSE"_ba;
    // clang-format on
}

void TestStRegIni::writeBooleanWritesUpperCaseWords()
{
    QFETCH(bool, value);
    QFETCH(QByteArray, text);

    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteBoolean(u"k"_s, value);
    QCOMPARE(readBytes(path(JobFile)), "[S]\r\nk="_ba + text + "\r\n"_ba);
    QCOMPARE(store.ReadBoolean(u"k"_s, !value), value);
}

void TestStRegIni::writeFloatWritesFifteenDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("readBack");

    QTest::newRow("one half") << 0.5 << " 5.00000000000000E-0001"_ba << 0.5;
    QTest::newRow("zero") << 0.0 << " 0.00000000000000E+0000"_ba << 0.0;
    QTest::newRow("minus zero") << -0.0 << " 0.00000000000000E+0000"_ba << 0.0;
    QTest::newRow("date-time") << 46380.2708333333 << " 4.63802708333333E+0004"_ba
                               << 46380.2708333333;
    QTest::newRow("negative") << -1.5 << "-1.50000000000000E+0000"_ba << -1.5;
    QTest::newRow("rounded to nearest")
        << 123456789012345678.0 << " 1.23456789012346E+0017"_ba << 123456789012346000.0;
    QTest::newRow("rounding carries")
        << 9.9999999999999999e22 << " 1.00000000000000E+0023"_ba << 1e23;
    QTest::newRow("one tenth") << 0.1 << " 1.00000000000000E-0001"_ba << 0.1;
    QTest::newRow("three-digit exponent") << 1e300 << " 1.00000000000000E+0300"_ba << 1e300;
    QTest::newRow("tiny") << -1e-300 << "-1.00000000000000E-0300"_ba << -1e-300;
    // Rounded up to 15 digits, the largest double is beyond the range and reads as the default.
    QTest::newRow("largest") << std::numeric_limits<double>::max() << " 1.79769313486232E+0308"_ba
                             << -7.0;
}

void TestStRegIni::writeFloatWritesFifteenDigits()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QFETCH(double, readBack);

    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteFloat(u"k"_s, value);
    QCOMPARE(text.size(), 23);
    QCOMPARE(readBytes(path(JobFile)), "[S]\r\nk="_ba + text + "\r\n"_ba);
    QCOMPARE(exactly(store.ReadFloat(u"k"_s, -7.0)), exactly(readBack));
}

void TestStRegIni::writeFloatIgnoresLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteFloat(u"k"_s, 1.5);
    QCOMPARE(readBytes(path(JobFile)), "[S]\r\nk= 1.50000000000000E+0000\r\n"_ba);
    QCOMPARE(store.ReadFloat(u"k"_s, 0.0), 1.5);
}

void TestStRegIni::writeStringQuotesWhatAReadWouldTrim_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("path") << u"C:\\Tools\\Report.exe"_s << "C:\\Tools\\Report.exe"_ba
                          << u"C:\\Tools\\Report.exe"_s;
    QTest::newRow("blanks kept by quotes") << u"  a b  "_s << "\"  a b  \""_ba << u"  a b  "_s;
    QTest::newRow("quotes kept by quotes") << u"\"x y\""_s << "\"\"x y\"\""_ba << u"\"x y\""_s;
    QTest::newRow("single quotes at both ends") << u"'x' 'y'"_s << "\"'x' 'y'\""_ba << u"'x' 'y'"_s;
    QTest::newRow("bytes that are not UTF-8")
        << decodeBytes("/opt/\xFF\xFEx/caf\xE9 \xC3"_ba) << "/opt/\xFF\xFEx/caf\xE9 \xC3"_ba
        << decodeBytes("/opt/\xFF\xFEx/caf\xE9 \xC3"_ba);
    QTest::newRow("encoded surrogate")
        << decodeBytes("\xED\xA0\x80z"_ba) << "\xED\xA0\x80z"_ba << decodeBytes("\xED\xA0\x80z"_ba);
    QTest::newRow("equals and semicolon") << u"a=b ;c"_s << "a=b ;c"_ba << u"a=b ;c"_s;
    QTest::newRow("UTF-8 text") << u"Grüße"_s << "Gr\xC3\xBC\xC3\x9F\x65"_ba << u"Grüße"_s;
    QTest::newRow("empty") << QString() << ""_ba << u"default"_s;
    QTest::newRow("too long for quotes")
        << u' ' + QString(1021, u'x') << " "_ba + QByteArray(1021, 'x') << QString(1021, u'x');
}

void TestStRegIni::writeStringQuotesWhatAReadWouldTrim()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, text);
    QFETCH(QString, readBack);

    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteString(u"k"_s, value);
    QCOMPARE(readBytes(path(JobFile)), "[S]\r\nk="_ba + text + "\r\n"_ba);
    QCOMPARE(store.ReadString(u"k"_s, u"default"_s), readBack);
}

void TestStRegIni::writeRefusesWhatHasNoText_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<double>("number");

    const double none = 0.0;
    QTest::newRow("LF in value") << u"S"_s << u"k"_s << u"a\nb=c"_s << none;
    QTest::newRow("CR in value") << u"S"_s << u"k"_s << u"a\rb"_s << none;
    QTest::newRow("NUL in value") << u"S"_s << u"k"_s << QString(u"a\0b"_s) << none;
    QTest::newRow("LF in key") << u"S"_s << u"k\n[X]"_s << u"v"_s << none;
    QTest::newRow("CR in section") << u"S\r"_s << u"k"_s << u"v"_s << none;
    QTest::newRow("NUL in section") << QString(u"S\0"_s) << u"k"_s << u"v"_s << none;
    QTest::newRow("infinity") << u"S"_s << u"k"_s << QString() << HUGE_VAL;
    QTest::newRow("minus infinity") << u"S"_s << u"k"_s << QString() << -HUGE_VAL;
    QTest::newRow("NaN") << u"S"_s << u"k"_s << QString() << std::nan("");
}

void TestStRegIni::writeRefusesWhatHasNoText()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(double, number);

    QVERIFY(writeBytes(path(JobFile), JobText));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(section);
    QCOMPARE(iniFailureOf([&] {
                 if (value.isNull())
                     store.WriteFloat(key, number);
                 else
                     store.WriteString(key, value);
             }),
             WriteFailure);
    QCOMPARE(readBytes(path(JobFile)), JobText);
}

void TestStRegIni::writeTwiceReplacesInPlace()
{
    QVERIFY(writeBytes(path(JobFile), "[S]\r\na=1\r\nk=first\r\nb=2\r\n"_ba));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteString(u"k"_s, u"second"_s);
    store.WriteString(u"k"_s, u"third"_s);
    QCOMPARE(readBytes(path(JobFile)), "[S]\r\na=1\r\nk=third\r\nb=2\r\n"_ba);
    QCOMPARE(entries(m_dir->path()), QStringList{JobFile});
}

// A save as the job file commands do it: erase the list, write it anew, then the schedule.
void TestStRegIni::savingAJobFileTwiceMovesTheProcessesLast()
{
    const auto save = [this](const QStringList& names, const QStringList& params) {
        TStRegIni store(path(JobFile));
        if (store.SectionExists(u"Processes"_s))
            store.EraseSection(u"Processes"_s);
        store.setCurrentSection(u"Processes"_s);
        store.WriteInteger(u"Count"_s, static_cast<int>(names.size()));
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString number = QString::number(i + 1).rightJustified(2, u'0');
            store.WriteString(number + u"Name"_s, names[i]);
            if (!params[i].isEmpty())
                store.WriteString(number + u"Param"_s, params[i]);
        }
        store.setCurrentSection(u"Schedule"_s);
        store.WriteInteger(u"EveryHours"_s, 1);
        store.WriteInteger(u"EveryMins"_s, 30);
        store.WriteBoolean(u"DelayedStart"_s, true);
        store.WriteFloat(u"DelayedStartTime"_s, 46380.2708333333);
    };
    const QByteArray schedule =
        "[Schedule]\r\nEveryHours=1\r\nEveryMins=30\r\nDelayedStart=TRUE\r\n"
        "DelayedStartTime= 4.63802708333333E+0004\r\n"_ba;

    save({u"C:\\Tools\\Backup.exe"_s, u"C:\\Tools\\Report.exe"_s}, {u"/full D:\\Data"_s, {}});
    QCOMPARE(readBytes(path(JobFile)),
             "[Processes]\r\nCount=2\r\n01Name=C:\\Tools\\Backup.exe\r\n01Param=/full D:\\Data\r\n"
             "02Name=C:\\Tools\\Report.exe\r\n"_ba +
                 schedule);

    save({u"C:\\Tools\\Report.exe"_s}, {u"-q"_s});
    QCOMPARE(readBytes(path(JobFile)),
             schedule +
                 "[Processes]\r\nCount=1\r\n01Name=C:\\Tools\\Report.exe\r\n01Param=-q\r\n"_ba);
}

void TestStRegIni::sectionExistsIgnoresCase_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("expected");

    QTest::newRow("header without keys")
        << "[Processes]\r\n[Schedule]\r\nEveryMins=5\r\n"_ba << true;
    QTest::newRow("other case") << "[PROCESSES]\r\nCount=0\r\n"_ba << true;
    QTest::newRow("only other sections") << "[Schedule]\r\nProcesses=1\r\n"_ba << false;
    QTest::newRow("empty file") << ""_ba << false;
}

void TestStRegIni::sectionExistsIgnoresCase()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, expected);

    QVERIFY(writeBytes(path(JobFile), file));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Schedule"_s);
    QCOMPARE(store.SectionExists(u"Processes"_s), expected);
    QCOMPARE(store.CurrentSection(), u"Schedule"_s);
    QVERIFY(!TStRegIni(path(u"missing.ini"_s)).SectionExists(u"Processes"_s));
}

void TestStRegIni::eraseSectionKeepsTheRest()
{
    QVERIFY(
        writeBytes(path(JobFile),
                   "; job\r\n[Schedule]\r\nEveryMins=5\r\n[Processes]\r\nCount=9\r\n09Name=x\r\n"
                   "\r\n[Extra]\nkeep=1\n"_ba));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Schedule"_s);
    store.EraseSection(u"processes"_s);
    QCOMPARE(readBytes(path(JobFile)),
             "; job\r\n[Schedule]\r\nEveryMins=5\r\n[Extra]\nkeep=1\n"_ba);
    QCOMPARE(store.CurrentSection(), u"Schedule"_s);
    QCOMPARE(entries(m_dir->path()), QStringList{JobFile});
}

// Nothing to erase is no failure, and the file is left as it was, even a read-only one.
void TestStRegIni::erasingWhatIsMissingChangesNothing_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("mode");

    // clang-format off
    QTest::newRow("missing section")                 << true  << 0644;
    QTest::newRow("missing section, read-only file") << true  << 0444;
    QTest::newRow("missing file")                    << false << 0644;
    // clang-format on
}

void TestStRegIni::erasingWhatIsMissingChangesNothing()
{
    QFETCH(bool, fileExists);
    QFETCH(int, mode);

    if (fileExists) {
        QVERIFY(writeBytes(path(JobFile), "[Schedule]\nEveryMins=5"_ba));
        setMode(path(JobFile), static_cast<mode_t>(mode));
    }
    TStRegIni(path(JobFile)).EraseSection(u"Processes"_s);
    QCOMPARE(QFileInfo::exists(path(JobFile)), fileExists);
    if (fileExists)
        QCOMPARE(readBytes(path(JobFile)), "[Schedule]\nEveryMins=5"_ba);
}

QString TestStRegIni::prepare(Place place, const QByteArray& contents)
{
    const QString sub = path(u"sub"_s);
    QDir(m_dir->path()).mkdir(u"sub"_s);
    const QString file = sub + u"/job.ini"_s;
    switch (place) {
    case Place::MissingFolder:
        return sub + u"/missing/job.ini"_s;
    case Place::ParentIsFile:
        if (!writeBytes(sub + u"/plain.txt"_s, contents))
            return {};
        return sub + u"/plain.txt/job.ini"_s;
    case Place::LinkLoop:
        return SpecialFiles::make(Special::LinkLoop, file) ? file : QString();
    case Place::ReadOnlyFile:
        if (!writeBytes(file, contents))
            return {};
        setMode(file, 0444);
        return file;
    case Place::ReadOnlyFolderNewFile:
        setMode(sub, 0555);
        return file;
    case Place::ReadOnlyFolderExistingFile:
        if (!writeBytes(file, contents))
            return {};
        setMode(sub, 0555);
        return file;
    case Place::UnreadableFile:
        if (!writeBytes(file, contents))
            return {};
        setMode(file, 0200);
        return file;
    case Place::HeldSharingNothing:
    case Place::HeldSharingAllButDelete:
#ifdef Q_OS_WIN
        if (!writeBytes(file, contents))
            return {};
        m_held = std::make_unique<HeldFile>(file, place == Place::HeldSharingNothing
                                                      ? HeldFile::ShareNothing
                                                      : HeldFile::ShareAllButDelete);
        return m_held->isHeld() ? file : QString();
#else
        return {};
#endif
    }
    return {};
}

void TestStRegIni::refusedChangeLeavesEverythingAsItWas_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<bool>("erase");
    QTest::addColumn<bool>("needsNonRoot");

    QTest::newRow("write, missing folder") << Place::MissingFolder << false << false;
    QTest::newRow("write, parent is a file") << Place::ParentIsFile << false << false;
    QTest::newRow("write, read-only file") << Place::ReadOnlyFile << false << false;
    QTest::newRow("write, read-only folder, new file")
        << Place::ReadOnlyFolderNewFile << false << true;
    QTest::newRow("write, unreadable file") << Place::UnreadableFile << false << true;
    QTest::newRow("write, link loop") << Place::LinkLoop << false << false;
    QTest::newRow("erase, read-only file") << Place::ReadOnlyFile << true << false;
    QTest::newRow("erase, unreadable file") << Place::UnreadableFile << true << true;
    QTest::newRow("erase, link loop") << Place::LinkLoop << true << false;
    if (IsWindows) {
        // The replace needs the old file's name, which a program that shares no deletion keeps.
        QTest::newRow("write, held open without delete sharing")
            << Place::HeldSharingAllButDelete << false << false;
        QTest::newRow("erase, held open without delete sharing")
            << Place::HeldSharingAllButDelete << true << false;
    }
}

void TestStRegIni::refusedChangeLeavesEverythingAsItWas()
{
    QFETCH(Place, place);
    QFETCH(bool, erase);
    QFETCH(bool, needsNonRoot);
    if (needsNonRoot && isRoot())
        QSKIP("permissions do not bind root");
    if (*whyNotPrepared(place) != '\0')
        QSKIP(whyNotPrepared(place));

    const QString file = prepare(place, JobText);
    QVERIFY(!file.isEmpty());
    const QString sub = path(u"sub"_s);
    const QStringList before = entries(sub);
    const QStringList beforeAbove = entries(m_dir->path());
    TStRegIni store(file);
    store.setCurrentSection(u"Processes"_s);
    const IniFailure failure = iniFailureOf([&] {
        if (erase)
            store.EraseSection(u"Processes"_s);
        else
            store.WriteInteger(u"Count"_s, 2);
    });
    QCOMPARE(failure, erase ? EraseFailure : WriteFailure);

    setMode(sub, 0755);
#ifdef Q_OS_WIN
    m_held.reset();
#endif
    QCOMPARE(entries(sub), before);
    QCOMPARE(entries(m_dir->path()), beforeAbove);
    if (QFileInfo(file).isFile()) {
        setMode(file, 0644);
        QCOMPARE(readBytes(file), JobText);
    }
}

void TestStRegIni::closedFolderRewritesTheFileInPlace_data()
{
    QTest::addColumn<bool>("erase");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("write, read-only folder, existing file")
        << false << "[Processes]\r\nCount=2\r\n01Name=a.exe\r\n"_ba;
    QTest::newRow("erase, read-only folder") << true << ""_ba;
}

// A folder where this user may make no file, such as a shared or system one, with a job file
// that it may write: the save rewrites that file in place, keeping its owner, mode and links.
void TestStRegIni::closedFolderRewritesTheFileInPlace()
{
    QFETCH(bool, erase);
    QFETCH(QByteArray, after);
    if (IsWindows)
        QSKIP("user ids and folder permissions are POSIX");

    setMode(m_dir->path(), 0755);
    const QString file = prepare(Place::ReadOnlyFolderExistingFile, JobText);
    setMode(file, 0666);
    struct stat was {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &was), 0);
    QVERIFY(succeedsAsOtherUser([&] {
        TStRegIni store(file);
        store.setCurrentSection(u"Processes"_s);
        if (erase)
            store.EraseSection(u"Processes"_s);
        else
            store.WriteInteger(u"Count"_s, 2);
    }));
    struct stat is {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &is), 0);
    QVERIFY(is.st_ino == was.st_ino && is.st_uid == was.st_uid && is.st_mode == was.st_mode);
    QCOMPARE(readBytes(file), after);
    QCOMPARE(entries(path(u"sub"_s)), QStringList{JobFile});
}

// A file-size limit fails the write part way, as a full disk does.
void TestStRegIni::fullDiskKeepsOldFile()
{
    if (!FileSizeLimit::isAvailable())
        QSKIP(FileSizeLimit::WhyUnavailable);
    QVERIFY(writeBytes(path(JobFile), JobText));
    std::optional<FileSizeLimit> diskFull(std::in_place, 4096);
    QVERIFY(diskFull->isActive());

    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Processes"_s);
    const IniFailure failure =
        iniFailureOf([&] { store.WriteString(u"01Param"_s, QString(10000, u'x')); });
    diskFull.reset();

    QCOMPARE(failure, WriteFailure);
    QCOMPARE(readBytes(path(JobFile)), JobText);
    QCOMPARE(entries(m_dir->path()), QStringList{JobFile});
}

void TestStRegIni::writeKeepsThePermissions_data()
{
    QTest::addColumn<int>("mode");

    // clang-format off
    QTest::newRow("mode 0640") << 0640;
    QTest::newRow("mode 0600") << 0600;
    QTest::newRow("mode 0604") << 0604;
    QTest::newRow("mode 0666") << 0666;
    // clang-format on
}

void TestStRegIni::writeKeepsThePermissions()
{
    QFETCH(int, mode);
    if (IsWindows)
        QSKIP(NoFileModes);

    QVERIFY(writeBytes(path(JobFile), JobText));
    setMode(path(JobFile), static_cast<mode_t>(mode));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, 0);
    QCOMPARE(modeOf(path(JobFile)), static_cast<mode_t>(mode));
    QCOMPARE(readBytes(path(JobFile)), "[Processes]\r\nCount=0\r\n01Name=a.exe\r\n"_ba);
}

void TestStRegIni::writeKeepsTheOwner()
{
#ifdef Q_OS_WIN
    QSKIP("the replace keeps the whole security descriptor, owner included, as the system does");
#else
    if (!isRoot())
        QSKIP("only root can give a file to someone else");
    constexpr uid_t Nobody = 65534;
    QVERIFY(writeBytes(path(JobFile), JobText));
    QCOMPARE(::chown(QFile::encodeName(path(JobFile)).constData(), Nobody, Nobody), 0);
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, 0);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(path(JobFile)).constData(), &info), 0);
    QCOMPARE(info.st_uid, Nobody);
    QCOMPARE(info.st_gid, Nobody);
#endif
}

void TestStRegIni::newFileFollowsUmask_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");

    // clang-format off
    QTest::newRow("umask 022") << 022 << 0644;
    QTest::newRow("umask 077") << 077 << 0600;
    QTest::newRow("umask 002") << 002 << 0664;
    // clang-format on
}

void TestStRegIni::newFileFollowsUmask()
{
    QFETCH(int, mask);
    QFETCH(int, mode);
#ifdef Q_OS_WIN
    Q_UNUSED(mask);
    Q_UNUSED(mode);
    QSKIP(NoFileModes);
#else
    const mode_t old = ::umask(static_cast<mode_t>(mask));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteInteger(u"k"_s, 1);
    ::umask(old);
    QCOMPARE(modeOf(path(JobFile)), static_cast<mode_t>(mode));
#endif
}

void TestStRegIni::writeKeepsTheFileAttributes_data()
{
    QTest::addColumn<quint32>("attributes"); // Windows file attributes

    // clang-format off
    QTest::newRow("hidden")            << quint32{0x2};
    QTest::newRow("hidden and system") << quint32{0x2 | 0x4};
    // clang-format on
}

// A save puts a new file in the old one's place; the system's replace gives it the old one's
// attributes, which a rename would lose.
void TestStRegIni::writeKeepsTheFileAttributes()
{
    QFETCH(quint32, attributes);
#ifdef Q_OS_WIN
    const QString file = QDir::toNativeSeparators(path(JobFile));
    const auto* wide = reinterpret_cast<const wchar_t*>(file.utf16());
    QVERIFY(writeBytes(file, JobText));
    QVERIFY(::SetFileAttributesW(wide, attributes));
    QCOMPARE(::GetFileAttributesW(wide) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
             attributes);
    TStRegIni store(file);
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, 0);
    if (runsUnderWine())
        QEXPECT_FAIL("", "Wine's ReplaceFileW gives the file the replacement's attributes",
                     Continue);
    QCOMPARE(::GetFileAttributesW(wide) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
             attributes);
    QCOMPARE(readBytes(file), "[Processes]\r\nCount=0\r\n01Name=a.exe\r\n"_ba);
    QCOMPARE(entries(m_dir->path()), QStringList{JobFile});
#else
    Q_UNUSED(attributes);
    QSKIP("file attributes exist only on Windows; POSIX keeps the modes instead");
#endif
}

// The user may write either separator; the system's own is the backslash.
void TestStRegIni::backslashPathsWork()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_s));
    const QString file = QDir::toNativeSeparators(path(u"sub/job.ini"_s));
    QVERIFY(writeBytes(path(u"sub/job.ini"_s), JobText));
    TStRegIni store(file);
    store.setCurrentSection(u"Processes"_s);
    QCOMPARE(store.ReadString(u"01Name"_s, {}), u"a.exe"_s);
    store.WriteInteger(u"Count"_s, 0);
    QCOMPARE(readBytes(path(u"sub/job.ini"_s)), "[Processes]\r\nCount=0\r\n01Name=a.exe\r\n"_ba);
    QCOMPARE(entries(path(u"sub"_s)), QStringList{JobFile});
}

void TestStRegIni::writesThroughLinks_data()
{
    QTest::addColumn<QStringList>("links"); // link name, then what it points to, for each link
    QTest::addColumn<QString>("target");    // the file that must hold the text, relative
    QTest::addColumn<bool>("targetExists");

    QTest::newRow("relative link")
        << QStringList{u"job.ini"_s, u"real.ini"_s} << u"real.ini"_s << true;
    QTest::newRow("dangling link")
        << QStringList{u"job.ini"_s, u"new.ini"_s} << u"new.ini"_s << false;
    QTest::newRow("link into another folder")
        << QStringList{u"job.ini"_s, u"other/real.ini"_s} << u"other/real.ini"_s << true;
    QTest::newRow("chain of links")
        << QStringList{u"job.ini"_s, u"mid.ini"_s, u"mid.ini"_s, u"other/real.ini"_s}
        << u"other/real.ini"_s << true;
    QTest::newRow("link relative to its own folder")
        << QStringList{u"job.ini"_s, u"other/link.ini"_s, u"other/link.ini"_s, u"real.ini"_s}
        << u"other/real.ini"_s << true;
}

void TestStRegIni::writesThroughLinks()
{
    QFETCH(QStringList, links);
    QFETCH(QString, target);
    QFETCH(bool, targetExists);
    if (!SpecialFiles::canMake(Special::LinkToNull))
        QSKIP(SpecialFiles::whyNotMade(Special::LinkToNull));

    QVERIFY(QDir(m_dir->path()).mkdir(u"other"_s));
    if (targetExists)
        QVERIFY(writeBytes(path(target), "[S]\nk=1\n"_ba));
    for (qsizetype i = 0; i + 1 < links.size(); i += 2)
        QVERIFY(SpecialFiles::makeLink(links[i + 1], path(links[i])));

    // Relative links resolve against their own folder, not the current one.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QDir::rootPath());
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    store.WriteInteger(u"k"_s, 2);
    QDir::setCurrent(previous);

    QCOMPARE(readBytes(path(target)), targetExists ? "[S]\nk=2\r\n"_ba : "[S]\r\nk=2\r\n"_ba);
    for (qsizetype i = 0; i + 1 < links.size(); i += 2) {
        QVERIFY(QFileInfo(path(links[i])).isSymLink());
        QCOMPARE(QFile::symLinkTarget(path(links[i])),
                 QFileInfo(QFileInfo(path(links[i])).absolutePath() + u'/' + links[i + 1])
                     .absoluteFilePath());
    }
    QCOMPARE(store.ReadInteger(u"k"_s, 0), 2);
}

// Every write edits the store's copy of the file and rewrites the file whole: without the
// store's lock, the two writers would edit the copy at once, and keys would be lost.
void TestStRegIni::concurrentWritersLoseNoKey()
{
    constexpr int KeysPerWriter = 25;
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    const auto writer = [&store](const QString& prefix) {
        for (int i = 0; i < KeysPerWriter; ++i)
            store.WriteInteger(prefix + QString::number(i), i);
    };
    std::thread first(writer, u"a"_s);
    std::thread second(writer, u"b"_s);
    first.join();
    second.join();
    for (int i = 0; i < KeysPerWriter; ++i) {
        QCOMPARE(store.ReadInteger(u"a"_s + QString::number(i), -1), i);
        QCOMPARE(store.ReadInteger(u"b"_s + QString::number(i), -1), i);
    }
}

void TestStRegIni::gatheredUpdatesWaitForTheCommit_data()
{
    QTest::addColumn<bool>("folderMissing");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("committed at once")
        << false << "[Schedule]\r\nEveryHours=1\r\n[Processes]\r\nCount=2\r\n"_ba;
    QTest::newRow("refused commit changes nothing") << true << "<missing>"_ba;
}

void TestStRegIni::gatheredUpdatesWaitForTheCommit()
{
    QFETCH(bool, folderMissing);
    QFETCH(QByteArray, after);
    const QString file = folderMissing ? path(u"gone/job.ini"_s) : path(JobFile);
    if (!folderMissing)
        QVERIFY(writeBytes(file, JobText + "[Schedule]\r\nEveryHours=9\r\n"_ba));
    const QByteArray before = readBytes(file);
    TStRegIni store(file);
    store.beginUpdates();
    store.EraseSection(u"Processes"_s);
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, 2);
    store.setCurrentSection(u"Schedule"_s);
    store.WriteInteger(u"EveryHours"_s, 1);
    // Reads see the gathered text; the file does not change until the commit.
    QVERIFY(!store.SectionExists(u"Other"_s));
    QCOMPARE(store.ReadInteger(u"EveryHours"_s, 0), 1);
    QCOMPARE(readBytes(file), before);
    QCOMPARE(iniFailureOf([&] { store.commitUpdates(); }),
             folderMissing ? WriteFailure : NoFailure);
    QCOMPARE(readBytes(file), after);
    // After the commit, writes go to the file at once again.
    if (!folderMissing) {
        store.WriteInteger(u"EveryHours"_s, 3);
        QVERIFY(readBytes(file).contains("EveryHours=3"));
    }
}

void TestStRegIni::readsTheFileOnce()
{
    QVERIFY(writeBytes(path(JobFile), "[S]\r\na=1\r\nb=1\r\n"_ba));
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"S"_s);
    QCOMPARE(store.ReadInteger(u"a"_s, 0), 1);
    // Another program saves the file in the middle of the load: the load goes on with the
    // version it began with.
    QVERIFY(writeBytes(path(JobFile), "[S]\r\na=2\r\nb=2\r\n"_ba));
    QCOMPARE(store.ReadInteger(u"b"_s, 0), 1);
    QVERIFY(store.SectionExists(u"S"_s));

    TStRegIni next(path(JobFile));
    next.setCurrentSection(u"S"_s);
    QCOMPARE(next.ReadInteger(u"b"_s, 0), 2);
}

void TestStRegIni::notRegularFilesAreRefused_data()
{
    QTest::addColumn<Special>("special");
    QTest::addColumn<QString>("operation");

    for (const Special special : {Special::Fifo, Special::Folder, Special::LinkToFifo}) {
        for (const QString& operation :
             {u"load"_s, u"read"_s, u"section exists"_s, u"write"_s, u"erase"_s, u"gather"_s})
            QTest::addRow("%s, %s", SpecialFiles::nameOf(special), qPrintable(operation))
                << special << operation;
    }
}

// Refused without blocking, and nothing changes: no temporary file, no file put in its place.
void TestStRegIni::notRegularFilesAreRefused()
{
    QFETCH(Special, special);
    QFETCH(QString, operation);
    if (!SpecialFiles::canMake(special))
        QSKIP(SpecialFiles::whyNotMade(special));

    const QString file = path(JobFile);
    QVERIFY(SpecialFiles::make(special, file));
    const int type = SpecialFiles::typeOf(file);
    const QStringList before = entries(m_dir->path());

    const FailInsteadOfHanging guard;
    QCOMPARE(refusalOf(file, operation), file + u" is not a regular file."_s);
    QCOMPARE(SpecialFiles::typeOf(file), type);
    QCOMPARE(entries(m_dir->path()), before);
}

QString TestStRegIni::refusalOf(const QString& file, const QString& operation)
{
    TStRegIni store(file);
    store.setCurrentSection(u"Processes"_s);
    return errorOf<NotRegularFileError>([&] {
        if (operation == u"load"_s)
            store.load();
        else if (operation == u"read"_s)
            static_cast<void>(store.ReadString(u"01Name"_s, {}));
        else if (operation == u"section exists"_s)
            static_cast<void>(store.SectionExists(u"Processes"_s));
        else if (operation == u"write"_s)
            store.WriteInteger(u"Count"_s, 1);
        else if (operation == u"erase"_s)
            store.EraseSection(u"Processes"_s);
        else
            store.beginUpdates();
    });
}

void TestStRegIni::deviceNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("inFolder");
    QTest::addColumn<QString>("operation");

    for (const SpecialFiles::DeviceName& device : SpecialFiles::deviceNames()) {
        for (const QString& operation : {u"load"_s, u"write"_s, u"erase"_s, u"gather"_s})
            QTest::addRow("%s, %s", device.row, qPrintable(operation))
                << device.name << device.inFolder << operation;
    }
}

// A device is refused by its name, before anything opens it: reading the console would wait for
// a line, and a pipe for a writer.
void TestStRegIni::deviceNamesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, inFolder);
    QFETCH(QString, operation);

    const QString file = inFolder ? QDir::toNativeSeparators(path(name)) : name;
    const FailInsteadOfHanging guard;
    QCOMPARE(refusalOf(file, operation), file + u" is not a regular file."_s);
    QCOMPARE(entries(m_dir->path()), QStringList());
}

// The file was regular when the store read it; by the time of the write a FIFO stands there.
// Opening it to write would block until a reader comes.
void TestStRegIni::fifoPutInPlaceAfterTheLoadIsRefused()
{
    if (!SpecialFiles::canMake(Special::Fifo))
        QSKIP(SpecialFiles::whyNotMade(Special::Fifo));
    QVERIFY(writeBytes(path(JobFile), JobText));
    TStRegIni store(path(JobFile));
    store.beginUpdates();
    QVERIFY(QFile::remove(path(JobFile)));
    QVERIFY(SpecialFiles::make(Special::Fifo, path(JobFile)));
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, 2);

    const FailInsteadOfHanging guard;
    QCOMPARE(errorOf<NotRegularFileError>([&] { store.commitUpdates(); }),
             path(JobFile) + u" is not a regular file."_s);
    QCOMPARE(SpecialFiles::typeOf(path(JobFile)), static_cast<int>(S_IFIFO));
    QCOMPARE(entries(m_dir->path()), QStringList{JobFile});
}

void TestStRegIni::nullDeviceReadsAsEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("inFolder");

    QTest::newRow("null device") << SpecialFiles::nullDevice() << false;
    if (IsWindows)
        QTest::newRow("null device's name with an extension in a folder") << u"nul.ini"_s << true;
}

// A save to the null device writes to it and puts nothing in its place.
void TestStRegIni::nullDeviceReadsAsEmpty()
{
    QFETCH(QString, name);
    QFETCH(bool, inFolder);

    const FailInsteadOfHanging guard;
    TStRegIni store(inFolder ? QDir::toNativeSeparators(path(name)) : name);
    store.setCurrentSection(u"Processes"_s);
    QCOMPARE(store.ReadInteger(u"Count"_s, 3), 3);
    QVERIFY(!store.SectionExists(u"Processes"_s));
    store.WriteInteger(u"Count"_s, 2);
    TStRegIni again(store.fileName());
    again.setCurrentSection(u"Processes"_s);
    QCOMPARE(again.ReadInteger(u"Count"_s, 3), 3);
    QCOMPARE(entries(m_dir->path()), QStringList());
}

void TestStRegIni::unreadableFileRaises_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("reason");

    QTest::newRow("link loop") << Place::LinkLoop << QString::fromLocal8Bit(std::strerror(ELOOP));
    QTest::newRow("no read permission")
        << Place::UnreadableFile << QString::fromLocal8Bit(std::strerror(EACCES));
#ifdef Q_OS_WIN
    QTest::newRow("held open sharing nothing")
        << Place::HeldSharingNothing << systemErrorText(ERROR_SHARING_VIOLATION);
#endif
}

// A file that is there but cannot be read is an error, not an empty file: loading it would
// replace the table with defaults, and the next save would overwrite the file with them.
void TestStRegIni::unreadableFileRaises()
{
    QFETCH(Place, place);
    QFETCH(QString, reason);
    if (place == Place::UnreadableFile && isRoot())
        QSKIP("permissions do not bind root");
    if (*whyNotPrepared(place) != '\0')
        QSKIP(whyNotPrepared(place));

    const QString file = prepare(place, JobText);
    QVERIFY(!file.isEmpty());
    TStRegIni store(file);
    store.setCurrentSection(u"Processes"_s);
    const QString expected = u"Cannot read "_s + file + u": "_s + reason + u'.';
    QCOMPARE(errorOf([&] { store.load(); }), expected);
    QCOMPARE(errorOf([&] { static_cast<void>(store.ReadInteger(u"Count"_s, 0)); }), expected);
    QCOMPARE(errorOf([&] { static_cast<void>(store.SectionExists(u"Processes"_s)); }), expected);
}

void TestStRegIni::nextSaveRemovesAbandonedTemporaryFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // file, locked, fifo, link
    QTest::addColumn<bool>("removed");

    QTest::newRow("left by a killed save") << u".job.ini.1a2b3c4d.tmp"_s << u"file"_s << true;
    QTest::newRow("save in progress") << u".job.ini.1a2b3c4d.tmp"_s << u"locked"_s << false;
    QTest::newRow("FIFO") << u".job.ini.1a2b3c4d.tmp"_s << u"fifo"_s << false;
    QTest::newRow("link") << u".job.ini.1a2b3c4d.tmp"_s << u"link"_s << false;
    QTest::newRow("another file's") << u".job.ini.bak.1a2b.tmp"_s << u"file"_s << false;
    // Windows names differing only in case name the same file.
    QTest::newRow("another file's, as long") << u".Job.ini.1a2b.tmp"_s << u"file"_s << IsWindows;
    QTest::newRow("no dot before the digits") << u".job.inif1a2b.tmp"_s << u"file"_s << false;
    QTest::newRow("upper-case digits") << u".job.ini.1A2B.tmp"_s << u"file"_s << false;
    QTest::newRow("nine digits") << u".job.ini.123456789.tmp"_s << u"file"_s << false;
    QTest::newRow("not hexadecimal") << u".job.ini.xyz.tmp"_s << u"file"_s << false;
    QTest::newRow("no leading dot") << u"job.ini.1a2b.tmp"_s << u"file"_s << false;
    QTest::newRow("more after .tmp") << u".job.ini.1a2b.tmp.bak"_s << u"file"_s << false;
}

// The next save of the same file removes what a killed save left behind, and nothing else.
void TestStRegIni::nextSaveRemovesAbandonedTemporaryFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    if (kind == u"fifo"_s && !SpecialFiles::canMake(Special::Fifo))
        QSKIP(SpecialFiles::whyNotMade(Special::Fifo));
    if (kind == u"link"_s && !SpecialFiles::canMake(Special::LinkToNull))
        QSKIP(SpecialFiles::whyNotMade(Special::LinkToNull));

    QVERIFY(writeBytes(path(JobFile), JobText));
    const QString candidate = path(name);
    std::unique_ptr<QFile> held;
    if (kind == u"fifo"_s) {
        QVERIFY(SpecialFiles::make(Special::Fifo, candidate));
    } else if (kind == u"link"_s) {
        QVERIFY(writeBytes(path(u"target"_s), "kept"_ba));
        QVERIFY(SpecialFiles::makeLink(u"target"_s, candidate));
    } else {
        QVERIFY(writeBytes(candidate, "half a save"_ba));
    }
    if (kind == u"locked"_s) {
        // A save in progress locks its file on POSIX; on Windows it holds it open without sharing
        // its deletion, as QFile opens files.
        held = std::make_unique<QFile>(candidate);
        QVERIFY(held->open(QIODevice::ReadOnly));
#ifndef Q_OS_WIN
        QCOMPARE(::flock(held->handle(), LOCK_EX | LOCK_NB), 0);
#endif
    }
    const int type = SpecialFiles::typeOf(candidate);

    const FailInsteadOfHanging guard;
    TStRegIni store(path(JobFile));
    store.setCurrentSection(u"Processes"_s);
    store.WriteInteger(u"Count"_s, 2);

    QCOMPARE(SpecialFiles::typeOf(candidate), removed ? 0 : type);
    QStringList expected{JobFile};
    if (!removed)
        expected << name;
    if (kind == u"link"_s)
        expected << u"target"_s;
    expected.sort();
    QCOMPARE(entries(m_dir->path()), expected);
    QCOMPARE(readBytes(path(JobFile)), "[Processes]\r\nCount=2\r\n01Name=a.exe\r\n"_ba);
}

QTEST_GUILESS_MAIN(TestStRegIni)
#include "tst_StRegIni.moc"
