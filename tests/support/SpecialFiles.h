#pragma once

#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QString>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Things that stand where a job file or the log is expected but are no regular file. A link to
// the null device is what a user may put in the log's place to keep none; a link loop is a link
// that names itself.
enum class Special { Fifo, Folder, LinkToFifo, Socket, LinkToNull, LinkLoop };
Q_DECLARE_METATYPE(Special)

namespace SpecialFiles {

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

// Makes the special thing at path; false when that failed.
inline bool make(Special special, const QString& path)
{
    const QString fifo = path + QStringLiteral(".fifo");
    switch (special) {
    case Special::Fifo:
        return makeFifo(path);
    case Special::Folder:
        return ::mkdir(QFile::encodeName(path).constData(), 0755) == 0;
    case Special::LinkToFifo:
        return makeFifo(fifo) && ::symlink(QFile::encodeName(fifo).constData(),
                                           QFile::encodeName(path).constData()) == 0;
    case Special::Socket:
        return makeSocket(path);
    case Special::LinkToNull:
        return ::symlink("/dev/null", QFile::encodeName(path).constData()) == 0;
    case Special::LinkLoop:
        return ::symlink(QFile::encodeName(QFileInfo(path).fileName()).constData(),
                         QFile::encodeName(path).constData()) == 0;
    }
    return false;
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

// The file type bits of what path names, links not followed; 0 when there is nothing.
inline mode_t typeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

} // namespace SpecialFiles
