#include "AtomicFileWriter.h"

#include "UniqueFd.h"
#include "UserFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The kernel's own limit on links followed in one path.
constexpr int MaxLinkHops = 40;
constexpr int MaxNameAttempts = 100;
// Room for the temporary name's prefix and suffix within the usual 255-byte name limit.
constexpr qsizetype MaxTempBaseLength = 200;
constexpr QByteArrayView TempSuffix(".tmp");
// QRandomGenerator's 32 bits in hexadecimal.
constexpr qsizetype MaxTempDigits = 8;

[[nodiscard]] QByteArray temporaryName(const QByteArray& base, quint32 number)
{
    return '.' + base + '.' + QByteArray::number(number, 16) + TempSuffix.toByteArray();
}

// Whether name is one that temporaryName gives for base.
[[nodiscard]] bool isTemporaryName(QByteArrayView name, QByteArrayView base)
{
    const qsizetype digitsStart = base.size() + 2;
    const qsizetype digits = name.size() - digitsStart - TempSuffix.size();
    const auto isHexDigit = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    };
    return digits >= 1 && digits <= MaxTempDigits && name.front() == '.' &&
           name.sliced(1, base.size()) == base && name[digitsStart - 1] == '.' &&
           name.endsWith(TempSuffix) &&
           std::all_of(name.begin() + digitsStart, name.end() - TempSuffix.size(), isHexDigit);
}

[[nodiscard]] bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still stands for the open file.
[[nodiscard]] bool namesFile(int folderFd, const char* name, const struct stat& file)
{
    struct stat named {};
    return ::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(named, file);
}

// Removes the temporary file name if no save holds it: a save locks its temporary file from
// creation to rename, and a killed save's lock went with its process. Only regular files are
// opened, so neither a FIFO nor a device is ever touched.
void removeIfAbandoned(int folderFd, const char* name)
{
    struct stat named {};
    if (::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode))
        return;
    const UniqueFd fd(
        ::openat(folderFd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    struct stat opened {};
    if (!fd.isValid() || ::fstat(fd.get(), &opened) != 0 || !sameFile(named, opened) ||
        ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    // Looked at again under the lock: another clean-up may have removed the file meanwhile and
    // a new save taken its name.
    if (namesFile(folderFd, name, opened))
        ::unlinkat(folderFd, name, 0);
}

// Removes what killed saves of the file base left in folder. A base cut to fit the temporary
// name could match another file's temporary files, so those are left alone.
void removeAbandoned(const QByteArray& folder, const QByteArray& base)
{
    if (base.size() > MaxTempBaseLength)
        return;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), ::closedir);
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (isTemporaryName(QByteArrayView(entry->d_name), base))
            removeIfAbandoned(::dirfd(dir.get()), entry->d_name);
    }
}

// A new file beside the target, locked while it lives and removed again unless it has been
// renamed into place.
class TemporaryFile {
public:
    TemporaryFile(const QByteArray& folder, const QByteArray& base)
    {
        for (int attempt = 0; attempt < MaxNameAttempts && !m_fd.isValid(); ++attempt) {
            m_path = folder + '/' + temporaryName(base, QRandomGenerator::global()->generate());
            // 0666 lets the umask decide, as for any newly created file.
            FileHandle fd(::open(m_path.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
            if (!fd.isValid() && errno != EEXIST) {
                m_error = errno;
                break;
            }
            if (fd.isValid() && isStillOurs(fd.native()))
                m_fd = std::move(fd);
        }
    }
    ~TemporaryFile()
    {
        if (m_fd.isValid() && !m_renamed)
            ::unlink(m_path.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] bool isOpen() const { return m_fd.isValid(); }
    // Whether the folder refused this user a new file, as a shared or system folder does.
    [[nodiscard]] bool folderRefused() const { return m_error == EACCES || m_error == EPERM; }

    // Gives the new file the old one's permissions, and its owner where the process may set
    // it (root saving another user's file); anyone else's save makes the file theirs, as any
    // editor's save does. The owner goes first: changing it may clear mode bits.
    [[nodiscard]] bool takeOver(const struct stat& old) const
    {
        const bool sameOwner = old.st_uid == ::geteuid() && old.st_gid == ::getegid();
        if (!sameOwner && ::fchown(m_fd.native(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            return false;
        return ::fchmod(m_fd.native(), old.st_mode & 07777) == 0;
    }

    // The data must be on the disk before the rename can make it the file.
    [[nodiscard]] bool write(const QByteArray& contents) const
    {
        return writeAll(m_fd, contents) && ::fdatasync(m_fd.native()) == 0;
    }

    // The descriptor, and with it the lock, stays open over the rename, so that no clean-up
    // takes the file for abandoned before it is in place; fdatasync has already reported any
    // failed write-back that closing could report.
    [[nodiscard]] bool renameTo(const QByteArray& target)
    {
        m_renamed = ::rename(m_path.constData(), target.constData()) == 0;
        return m_renamed;
    }

private:
    // Locks the new file, unless another save's clean-up has locked it first to remove it, and
    // checks that the name still stands for it. Where the file system has no flock, the file
    // is kept unlocked, and no clean-up can lock it either.
    [[nodiscard]] bool isStillOurs(int fd) const
    {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            return false;
        struct stat opened {};
        return ::fstat(fd, &opened) == 0 && namesFile(AT_FDCWD, m_path.constData(), opened);
    }

    QByteArray m_path;
    FileHandle m_fd;
    int m_error = 0;
    bool m_renamed = false;
};

// Written over from its start and only then cut to the new length, so that the file is never
// seen empty. A file system that cannot reserve room lets the write go ahead all the same.
[[nodiscard]] bool rewriteInPlace(const FileHandle& file, const QByteArray& contents)
{
    const int fd = file.native();
    if (!contents.isEmpty() &&
        fileFailure(::posix_fallocate(fd, 0, static_cast<off_t>(contents.size()))) ==
            FileFailure::DiskFull)
        return false;
    return writeAll(file, contents) && setFileLength(file, contents.size()) && ::fdatasync(fd) == 0;
}

[[nodiscard]] QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

[[nodiscard]] std::optional<QByteArray> readLink(const QByteArray& path, const struct stat& link)
{
    // Some file systems report a size of 0 for links.
    QByteArray target(link.st_size > 0 ? link.st_size + 1 : PATH_MAX, Qt::Uninitialized);
    const ssize_t length =
        ::readlink(path.constData(), target.data(), static_cast<std::size_t>(target.size()));
    if (length < 0 || length >= target.size())
        return std::nullopt;
    target.truncate(length);
    return target;
}

// Follows symbolic links, dangling ones too, to the file that is really written. Without a
// link the path comes back as it is.
[[nodiscard]] std::optional<QByteArray> resolveLinks(QByteArray path)
{
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat link {};
        if (::lstat(path.constData(), &link) != 0)
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        if (!S_ISLNK(link.st_mode))
            return path;
        const auto target = readLink(path, link);
        if (!target)
            return std::nullopt;
        path = target->startsWith('/') ? *target : folderOf(path) + '/' + *target;
    }
    return std::nullopt;
}

// A read-only file refuses the save even where the system would let this user replace it
// (root, or the owner of a writable folder): the user marked it so on purpose.
[[nodiscard]] bool hasWriteBits(const struct stat& file)
{
    return (file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(QString path)
    : m_path(std::move(path))
{}

bool AtomicFileWriter::write(const QByteArray& contents) const
{
    const auto target = resolveLinks(QFile::encodeName(m_path));
    if (!target || target->isEmpty() || target->endsWith('/'))
        return false;

    // Opening the old file to write asks the system whether this user may change it, and
    // refuses what is no regular file without blocking.
    const OpenedUserFile old = openUserFile(*target, FileAccess::Write, m_path);
    if (old.isNullDevice)
        return writeAll(old.file, contents);
    const bool exists = old.file.isValid();
    if (!exists && old.error != ENOENT)
        return false;
    struct stat oldStatus {};
    if (exists && (::fstat(old.file.native(), &oldStatus) != 0 || !hasWriteBits(oldStatus)))
        return false;

    // The folder is not synced after the rename: a power loss may then undo the rename, which
    // leaves the old file, whole. That is all this class promises, and a save of a job file
    // makes a hundred writes, each of which would pay for one more disk flush.
    const QByteArray folder = folderOf(*target);
    const QByteArray base = target->mid(target->lastIndexOf('/') + 1);
    removeAbandoned(folder, base);
    TemporaryFile temporary(folder, base.left(MaxTempBaseLength));
    if (!temporary.isOpen())
        return exists && temporary.folderRefused() && rewriteInPlace(old.file, contents);
    return (!exists || temporary.takeOver(oldStatus)) && temporary.write(contents) &&
           temporary.renameTo(*target);
}
