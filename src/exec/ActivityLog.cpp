#include "ActivityLog.h"

#include "ByteText.h"
#include "Errors.h"
#include "LogLines.h"
#include "UserFile.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString DisplayName = QString::fromLatin1(ActivityLog::FileName);

// The texts a user meets most often say what happened in plain words; anything rarer gets the
// system's own text.
[[noreturn]] void raiseIoError(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        throw IoError(QCoreApplication::translate("ActivityLog", "File not found"));
    case EACCES:
    case EPERM:
    case EROFS:
        throw IoError(QCoreApplication::translate("ActivityLog", "Access denied"));
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        throw IoError(QCoreApplication::translate("ActivityLog", "Disk full"));
    default:
        throw IoError(QString::fromLocal8Bit(std::strerror(code)));
    }
}

UniqueFd open(const QByteArray& path, int flags)
{
    OpenedUserFile file = openUserFile(path, flags, DisplayName);
    if (!file.fd.isValid())
        raiseIoError(file.error);
    return std::move(file.fd);
}

// A failing close can be the first report of a write that did not reach the disk.
void close(UniqueFd& file)
{
    if (::close(file.release()) != 0 && errno != EINTR)
        raiseIoError(errno);
}

// One write, so that a reader never sees half a line from us; a short one is taken back whole.
void appendWhole(int fd, const QByteArray& line)
{
    for (;;) {
        const ssize_t written =
            ::write(fd, line.constData(), static_cast<std::size_t>(line.size()));
        if (written == line.size())
            return;
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            raiseIoError(errno);
        // Appending leaves the offset at the end of what was written.
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        if (end >= written)
            (void)::ftruncate(fd, end - written);
        raiseIoError(ENOSPC);
    }
}

// The log as the viewer reads it: by offset, so that only what is shown is ever in memory.
class FileLogSource final : public LogSource {
public:
    FileLogSource(UniqueFd fd, qint64 size)
        : m_fd(std::move(fd))
        , m_size(size)
    {}

    [[nodiscard]] qint64 size() const override { return m_size; }

    qint64 readAt(qint64 offset, char* into, qint64 max) override
    {
        for (;;) {
            const ssize_t n = ::pread(m_fd.get(), into, static_cast<std::size_t>(max), offset);
            if (n >= 0)
                return n;
            if (errno != EINTR)
                return 0;
        }
    }

private:
    UniqueFd m_fd;
    qint64 m_size;
};

QByteArray currentFolder()
{
    QByteArray folder(PATH_MAX, Qt::Uninitialized);
    if (::getcwd(folder.data(), static_cast<std::size_t>(folder.size())) == nullptr)
        return {};
    folder.truncate(static_cast<qsizetype>(std::strlen(folder.constData())));
    return folder;
}

} // namespace

void ActivityLog::PrepareLogFile()
{
    // Bound once, by its full path: whatever the current folder later is, the runs write to the
    // file prepared here. A folder that is already gone leaves the bare name, which then fails.
    const QByteArray folder = currentFolder();
    m_path = folder.isEmpty() ? QByteArray(FileName) : folder + '/' + FileName;
    struct stat existing {};
    if (::stat(m_path.constData(), &existing) == 0) {
        // An existing log stays as it is, read-only or not; only its kind is checked here.
        if (!isAcceptedUserFile(existing))
            throw NotRegularFileError(DisplayName);
        return;
    }
    UniqueFd created = open(m_path, O_WRONLY | O_CREAT);
    close(created);
}

void ActivityLog::AppendLogLine(const QString& line)
{
    UniqueFd file = open(m_path, O_WRONLY | O_APPEND);
    appendWhole(file.get(), encodeText(line) + "\r\n");
    close(file);
}

void ActivityLog::Clear()
{
    struct stat existing {};
    if (::stat(m_path.constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        // The null device has nothing to clear; anything else is no log to delete.
        if (!isAcceptedUserFile(existing))
            throw NotRegularFileError(DisplayName);
        return;
    }
    ::unlink(m_path.constData());
    UniqueFd created = open(m_path, O_WRONLY | O_CREAT | O_TRUNC);
    close(created);
}

std::unique_ptr<LogSource> ActivityLog::openForViewing() const
{
    OpenedUserFile file = openUserFile(m_path, O_RDONLY, DisplayName);
    struct stat opened {};
    if (!file.fd.isValid() || ::fstat(file.fd.get(), &opened) != 0)
        throw IoError(
            QCoreApplication::translate("ActivityLog", "Cannot open file %1").arg(DisplayName));
    // The null device reports no length: a log kept nowhere shows empty.
    const qint64 size = S_ISREG(opened.st_mode) ? qint64(opened.st_size) : 0;
    return std::make_unique<FileLogSource>(std::move(file.fd), size);
}
