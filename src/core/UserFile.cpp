#include "UserFile.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool isNullDevice(const struct stat& file)
{
    struct stat null {};
    return S_ISCHR(file.st_mode) && ::stat("/dev/null", &null) == 0 && file.st_rdev == null.st_rdev;
}

} // namespace

bool isAcceptedUserFile(const struct stat& file)
{
    return S_ISREG(file.st_mode) || isNullDevice(file);
}

NotRegularFileError::NotRegularFileError(const QString& name)
    : IoError(
          QCoreApplication::translate("NotRegularFileError", "%1 is not a regular file.").arg(name))
{}

OpenedUserFile openUserFile(const QByteArray& path, int flags, const QString& displayName)
{
    // Looking first keeps devices from being opened at all: opening some of them has effects.
    struct stat before {};
    if (::stat(path.constData(), &before) == 0 && !isAcceptedUserFile(before))
        throw NotRegularFileError(displayName);

    OpenedUserFile opened;
    opened.fd = UniqueFd(::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    if (!opened.fd.isValid()) {
        opened.error = errno;
        // A FIFO without a reader or a socket refuses a non-blocking open with ENXIO, a folder
        // refuses writing with EISDIR: both mean something else stands there now.
        if (opened.error == ENXIO || opened.error == EISDIR)
            throw NotRegularFileError(displayName);
        return opened;
    }
    struct stat after {};
    if (::fstat(opened.fd.get(), &after) != 0) {
        opened.error = errno;
        opened.fd = UniqueFd();
        return opened;
    }
    if (!isAcceptedUserFile(after))
        throw NotRegularFileError(displayName);
    opened.isNullDevice = !S_ISREG(after.st_mode);
    return opened;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), static_cast<std::size_t>(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

bool readAll(int fd, QByteArray& into)
{
    struct stat file {};
    constexpr qsizetype Chunk = 1 << 16;
    if (::fstat(fd, &file) == 0 && file.st_size > 0)
        into.reserve(static_cast<qsizetype>(file.st_size) + Chunk);
    for (;;) {
        const qsizetype start = into.size();
        into.resize(start + std::max<qsizetype>(into.capacity() - start, Chunk));
        const ssize_t got =
            ::read(fd, into.data() + start, static_cast<std::size_t>(into.size() - start));
        if (got < 0) {
            into.resize(start);
            if (errno == EINTR)
                continue;
            return false;
        }
        into.resize(start + got);
        if (got == 0)
            return true;
    }
}
