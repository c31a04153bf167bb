#pragma once

#include <QFile>
#include <QMetaType>
#include <QString>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Things that stand where a job file or the log is expected but are no regular file; the last
// one is the null device that a user may put in the log's place to keep none.
enum class Special { Fifo, Folder, LinkToFifo, Socket, LinkToNull };
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
    }
    return false;
}

// The file type bits of what path names, links not followed; 0 when there is nothing.
inline mode_t typeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

} // namespace SpecialFiles

// Opening a FIFO the blocking way waits for a peer that never comes. While this lives, such a
// wait ends the test program (SIGALRM's default action), so that the test fails instead of
// hanging; a test that passes never gets near the limit.
class FailInsteadOfHanging {
public:
    FailInsteadOfHanging() { ::alarm(60); }
    ~FailInsteadOfHanging() { ::alarm(0); }
    FailInsteadOfHanging(const FailInsteadOfHanging&) = delete;
    FailInsteadOfHanging& operator=(const FailInsteadOfHanging&) = delete;
};
