#include "AtomicFileWriter.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The kernel's own limit on links followed in one path.
constexpr int MaxLinkHops = 40;
constexpr int MaxNameAttempts = 100;
// Room for the temporary name's prefix and suffix within the usual 255-byte name limit.
constexpr qsizetype MaxTempBaseLength = 200;

// Owns one descriptor; closes it when dropped.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {}
    ~FileDescriptor() { reset(-1); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }

    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

    // Closing can report a failed write-back on some file systems, so its result counts.
    [[nodiscard]] bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

// A new file beside the target, removed again unless it has been renamed into place.
class TemporaryFile {
public:
    TemporaryFile(const QByteArray& folder, const QByteArray& base)
    {
        for (int attempt = 0; attempt < MaxNameAttempts && !m_fd.isOpen(); ++attempt) {
            m_path = folder + "/." + base.left(MaxTempBaseLength) + '.' +
                     QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
            // 0666 lets the umask decide, as for any newly created file.
            m_fd.reset(::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!m_fd.isOpen() && errno != EEXIST)
                break;
        }
        m_created = m_fd.isOpen();
    }
    ~TemporaryFile()
    {
        if (m_created && !m_renamed)
            ::unlink(m_path.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] bool isOpen() const { return m_fd.isOpen(); }

    // Gives the new file the old one's permissions, and its owner where the process may set
    // it (root saving another user's file); anyone else's save makes the file theirs, as any
    // editor's save does. The owner goes first: changing it may clear mode bits.
    [[nodiscard]] bool takeOver(const struct stat& old) const
    {
        const bool sameOwner = old.st_uid == ::geteuid() && old.st_gid == ::getegid();
        if (!sameOwner && ::fchown(m_fd.get(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            return false;
        return ::fchmod(m_fd.get(), old.st_mode & 07777) == 0;
    }

    [[nodiscard]] bool write(const QByteArray& contents) const
    {
        const char* data = contents.constData();
        qsizetype left = contents.size();
        while (left > 0) {
            const ssize_t written = ::write(m_fd.get(), data, static_cast<std::size_t>(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            data += written;
            left -= written;
        }
        // The data must be on the disk before the rename can make it the file.
        return ::fdatasync(m_fd.get()) == 0;
    }

    [[nodiscard]] bool renameTo(const QByteArray& target)
    {
        m_renamed = m_fd.close() && ::rename(m_path.constData(), target.constData()) == 0;
        return m_renamed;
    }

private:
    QByteArray m_path;
    FileDescriptor m_fd;
    bool m_created = false;
    bool m_renamed = false;
};

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
[[nodiscard]] bool isWritableFile(const QByteArray& path, const struct stat& file)
{
    if (!S_ISREG(file.st_mode) || (file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    return FileDescriptor(::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY)).isOpen();
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

    struct stat old {};
    const bool exists = ::stat(target->constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !isWritableFile(*target, old))
        return false;

    // The folder is not synced after the rename: a power loss may then undo the rename, which
    // leaves the old file, whole. That is all this class promises, and a save of a job file
    // makes a hundred writes, each of which would pay for one more disk flush.
    TemporaryFile temporary(folderOf(*target), target->mid(target->lastIndexOf('/') + 1));
    return temporary.isOpen() && (!exists || temporary.takeOver(old)) &&
           temporary.write(contents) && temporary.renameTo(*target);
}
