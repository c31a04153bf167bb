#pragma once

#include "Errors.h"
#include "JobTable.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstddef>
#include <functional>
#include <utility>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
// Without the rarely used parts of the system headers, whose global "byte" clashes with ours.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// The files tests make and read: plain bytes and log lines, job files, things that are no regular
// file, and on Windows files that another program holds.


// The whole file, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Replaces the file's content; false when that failed.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The lines of a file whose every line ends in CR LF, as the activity log's do, without their
// ends. A missing file, or one whose last line has no CR LF, reads as one line that says so, which
// no list of expected lines matches.
inline QStringList crlfLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing>")};
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {};
    if (!bytes.endsWith("\r\n"))
        return {QStringLiteral("<no CR LF at the end>")};
    return QString::fromUtf8(bytes.chopped(2)).split(QStringLiteral("\r\n"));
}

// The message of the error the operation raised; empty when it raised none. An error of another
// kind than Error goes on to the test framework, which fails the test.
template <typename Error = RunlatchError>
[[nodiscard]] QString errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

// The number and message of an INI store error.
using IniFailure = std::pair<int, QString>;

// The INI store error the operation raised; {0, ""} when it raised none.
[[nodiscard]] inline IniFailure iniFailureOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const EStRegIniError& error) {
        return {error.number(), error.message()};
    }
    return {0, {}};
}

// A double for QCOMPARE with all its digits, so that the comparison is bit for bit: QCOMPARE takes
// doubles as equal within a relative 1e-12, wider than a millisecond at today's day counts.
[[nodiscard]] inline QString exactly(double value)
{
    return QString::number(value, 'g', 17);
}


struct JobEntry {
    QString name;
    QString param;
};

// The Processes section as a save writes it: entries numbered from 01, a Param line only for an
// entry that has parameters, CR LF line ends.
[[nodiscard]] inline QByteArray processesSection(const QList<JobEntry>& entries)
{
    QByteArray text = "[Processes]\r\nCount=" + QByteArray::number(entries.size()) + "\r\n";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QByteArray nn = QByteArray::number(i + 1).rightJustified(2, '0');
        text += nn + "Name=" + entries[i].name.toUtf8() + "\r\n";
        if (!entries[i].param.isEmpty())
            text += nn + "Param=" + entries[i].param.toUtf8() + "\r\n";
    }
    return text;
}

// Appends an entry to the table's list.
inline void addEntry(JobTable& table, const QString& name, const QString& param = {})
{
    table.ProcList[static_cast<std::size_t>(++table.LastProc)] = {name, param};
}

// The table's used entries, each as "name|param".
[[nodiscard]] inline QStringList entriesOf(const JobTable& table)
{
    QStringList result;
    for (int i = 0; i <= table.LastProc; ++i) {
        const ProcRec& entry = table.ProcList[static_cast<std::size_t>(i)];
        result << entry.Name + u'|' + entry.Param;
    }
    return result;
}

// Things that stand where a job file or the log is expected but are no regular file. A link to
// the null device is what a user may put in the log's place to keep none; a link loop is a link
// that names itself.
enum class Special { Fifo, Folder, LinkToFifo, Socket, LinkToNull, LinkLoop };
Q_DECLARE_METATYPE(Special)

namespace SpecialFiles {

// Why a test cannot make the special thing on this platform; empty where it can. A test skips the
// rows that need one it cannot make, with this reason.
inline const char* whyNotMade(Special special)
{
#ifdef Q_OS_WIN
    return special == Special::Folder ? ""
                                      : "FIFOs, sockets and symbolic links are POSIX file objects";
#else
    Q_UNUSED(special);
    return "";
#endif
}

inline bool canMake(Special special)
{
    return *whyNotMade(special) == '\0';
}

// The null device as a user names it.
inline QString nullDevice()
{
#ifdef Q_OS_WIN
    return QStringLiteral("NUL");
#else
    return QStringLiteral("/dev/null");
#endif
}

// Names that are devices, not files, wherever they stand: a name alone, to stand in a folder, or a
// whole path. Reading one could wait for a peer that never comes (the console, a pipe's writer)
// or never end (/dev/zero).
struct DeviceName {
    const char* row;
    QString name;
    bool inFolder;
};

inline QList<DeviceName> deviceNames()
{
#ifdef Q_OS_WIN
    return {{"console", QStringLiteral("CON"), true},
            {"serial port with an extension", QStringLiteral("COM1.ini"), true},
            {"printer, lower case", QStringLiteral("prn"), true},
            {"named pipe", QStringLiteral("\\\\.\\pipe\\runlatch-test"), false}};
#else
    return {{"character device", QStringLiteral("/dev/zero"), false},
            {"full device", QStringLiteral("/dev/full"), false}};
#endif
}

#ifndef Q_OS_WIN
inline bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

// A socket file stays in the folder after its descriptor is closed, and opening it still fails.
inline bool makeSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= static_cast<qsizetype>(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

#endif

// Makes path a symbolic link to target; false when that failed or cannot be done here.
inline bool makeLink(const QString& target, const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(target);
    Q_UNUSED(path);
    return false;
#else
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) ==
           0;
#endif
}

// Makes the special thing at path; false when that failed or cannot be done here.
inline bool make(Special special, const QString& path)
{
    if (special == Special::Folder)
        return QDir().mkdir(path);
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    const QString fifo = path + QStringLiteral(".fifo");
    switch (special) {
    case Special::Fifo:
        return makeFifo(path);
    case Special::Folder:
        break;
    case Special::LinkToFifo:
        return makeFifo(fifo) && makeLink(fifo, path);
    case Special::Socket:
        return makeSocket(path);
    case Special::LinkToNull:
        return makeLink(QStringLiteral("/dev/null"), path);
    case Special::LinkLoop:
        return makeLink(QFileInfo(path).fileName(), path);
    }
    return false;
#endif
}

// The special thing as the data tables name their rows.
inline const char* nameOf(Special special)
{
    switch (special) {
    case Special::Fifo:
        return "FIFO";
    case Special::Folder:
        return "folder";
    case Special::LinkToFifo:
        return "link to a FIFO";
    case Special::Socket:
        return "socket";
    case Special::LinkToNull:
        return "link to the null device";
    case Special::LinkLoop:
        return "link loop";
    }
    return "?";
}

// The file type bits of what path names, links not followed; 0 when there is nothing. Windows
// tells only folders from files.
inline int typeOf(const QString& path)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    return info.isDir() ? S_IFDIR : S_IFREG;
#else
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0
               ? static_cast<int>(info.st_mode & S_IFMT)
               : 0;
#endif
}

} // namespace SpecialFiles

#ifdef Q_OS_WIN

// A file that another program holds open while this lives. Windows lets nobody else do with the
// file what the holder does not share: read it, write it, or delete or replace it.
class HeldFile {
public:
    enum Sharing : DWORD {
        ShareNothing = 0,
        ShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE,
    };

    HeldFile(const QString& path, Sharing sharing)
        : m_handle(::CreateFileW(
              reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
              GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {}
    ~HeldFile()
    {
        if (isHeld())
            ::CloseHandle(m_handle);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    [[nodiscard]] bool isHeld() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Wine stands in for Windows in the cross build's test runs, and a few of its system calls do
// less than Windows' own; a test expects those to fail there, saying why.
inline bool runsUnderWine()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
#endif
