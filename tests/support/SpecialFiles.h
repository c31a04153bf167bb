#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <sys/stat.h>
#include <sys/types.h>

#ifndef Q_OS_WIN
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

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
