#include "UserFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isNullDevice(const struct stat& file)
{
    struct stat null {};
    return S_ISCHR(file.st_mode) && ::stat("/dev/null", &null) == 0 && file.st_rdev == null.st_rdev;
}

bool isAccepted(const struct stat& file)
{
    return S_ISREG(file.st_mode) || isNullDevice(file);
}

int openFlags(FileAccess access)
{
    switch (access) {
    case FileAccess::Read:
        return O_RDONLY;
    case FileAccess::Write:
        return O_WRONLY;
    case FileAccess::Append:
        return O_WRONLY | O_APPEND;
    case FileAccess::Create:
        return O_WRONLY | O_CREAT;
    }
    return O_RDONLY;
}

OpenedUserFile openWithFlags(const QByteArray& path, int flags, const QString& displayName)
{
    // Looking first keeps devices from being opened at all: opening some of them has effects.
    struct stat before {};
    if (::stat(path.constData(), &before) == 0 && !isAccepted(before))
        throw NotRegularFileError(displayName);

    OpenedUserFile opened;
    opened.file =
        FileHandle(::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    if (!opened.file.isValid()) {
        opened.error = errno;
        // A FIFO without a reader or a socket refuses a non-blocking open with ENXIO, a folder
        // refuses writing with EISDIR: both mean something else stands there now.
        if (opened.error == ENXIO || opened.error == EISDIR)
            throw NotRegularFileError(displayName);
        return opened;
    }
    struct stat after {};
    if (::fstat(opened.file.native(), &after) != 0) {
        opened.error = errno;
        opened.file = FileHandle();
        return opened;
    }
    if (!isAccepted(after))
        throw NotRegularFileError(displayName);
    opened.isNullDevice = !S_ISREG(after.st_mode);
    return opened;
}

} // namespace

bool FileHandle::close()
{
    const int fd = std::exchange(m_native, None);
    return fd < 0 || ::close(fd) == 0 || errno == EINTR;
}

void FileHandle::reset()
{
    if (m_native >= 0)
        ::close(m_native);
    m_native = None;
}

NativePath nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

OpenedUserFile openUserFile(const NativePath& path, FileAccess access, const QString& displayName)
{
    return openWithFlags(path, openFlags(access), displayName);
}

OpenedUserFile recreateUserFile(const NativePath& name, const QString& displayName)
{
    struct stat existing {};
    if (::stat(name.constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        // The null device has nothing to clear; anything else is no file to delete.
        if (!isAccepted(existing))
            throw NotRegularFileError(displayName);
        return openWithFlags(name, O_WRONLY, displayName);
    }
    // Unlinked rather than cut short, so that a reader keeps the old file whole.
    ::unlink(name.constData());
    return openWithFlags(name, O_WRONLY | O_CREAT | O_TRUNC, displayName);
}

PathKind pathKind(const NativePath& path)
{
    struct stat entry {};
    if (path.isEmpty() || ::stat(path.constData(), &entry) != 0)
        return PathKind::Missing;
    if (S_ISREG(entry.st_mode))
        return PathKind::RegularFile;
    if (S_ISDIR(entry.st_mode))
        return PathKind::Folder;
    return isNullDevice(entry) ? PathKind::NullDevice : PathKind::Other;
}

bool writeAll(const FileHandle& file, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written =
            ::write(file.native(), bytes.data(), static_cast<std::size_t>(bytes.size()));
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

bool appendWhole(const FileHandle& file, QByteArrayView bytes)
{
    const int fd = file.native();
    for (;;) {
        const ssize_t written = ::write(fd, bytes.data(), static_cast<std::size_t>(bytes.size()));
        if (written == bytes.size())
            return true;
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        // Appending leaves the offset at the end of what was written.
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        if (end >= written)
            (void)::ftruncate(fd, end - written);
        errno = ENOSPC;
        return false;
    }
}

bool readAll(const FileHandle& file, QByteArray& into)
{
    const int fd = file.native();
    struct stat status {};
    constexpr qsizetype Chunk = 1 << 16;
    if (::fstat(fd, &status) == 0 && status.st_size > 0)
        into.reserve(static_cast<qsizetype>(status.st_size) + Chunk);
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

qint64 readAt(const FileHandle& file, qint64 offset, char* into, qint64 max)
{
    for (;;) {
        const ssize_t n = ::pread(file.native(), into, static_cast<std::size_t>(max), offset);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool setFileLength(const FileHandle& file, qint64 length)
{
    for (;;) {
        if (::ftruncate(file.native(), static_cast<off_t>(length)) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

std::optional<qint64> fileLength(const FileHandle& file)
{
    struct stat status {};
    if (::fstat(file.native(), &status) != 0)
        return std::nullopt;
    // The null device reports no length.
    return S_ISREG(status.st_mode) ? qint64(status.st_size) : 0;
}

int lastFileError()
{
    return errno;
}

FileFailure fileFailure(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        return FileFailure::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFailure::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileFailure::DiskFull;
    default:
        return FileFailure::Other;
    }
}

NativePath currentFolderPath()
{
    QByteArray folder(PATH_MAX, Qt::Uninitialized);
    if (::getcwd(folder.data(), static_cast<std::size_t>(folder.size())) == nullptr)
        return {};
    folder.truncate(static_cast<qsizetype>(std::strlen(folder.constData())));
    return folder;
}

NativePath pathInFolder(const NativePath& folder, const QString& name)
{
    return (folder.endsWith('/') ? folder : folder + '/') + QFile::encodeName(name);
}

bool isAbsoluteFilePath(const QString& path)
{
    return path.startsWith(u'/');
}
