#include "ActivityLog.h"

#include "Errors.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray encodedName()
{
    return QFile::encodeName(QString::fromLatin1(ActivityLog::FileName));
}

// The texts a user meets most often say what happened in plain words; anything rarer gets the
// system's own text.
[[noreturn]] void raiseIoError(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        throw IoError(QStringLiteral("File not found"));
    case EACCES:
    case EPERM:
    case EROFS:
        throw IoError(QStringLiteral("Access denied"));
    case ENOSPC:
    case EDQUOT:
        throw IoError(QStringLiteral("Disk full"));
    default:
        throw IoError(QString::fromLocal8Bit(std::strerror(code)));
    }
}

// Owns one descriptor for the length of one operation.
class FileDescriptor {
public:
    FileDescriptor(const QByteArray& path, int flags)
        : m_fd(::open(path.constData(), flags | O_CLOEXEC, 0666))
    {
        if (m_fd < 0)
            raiseIoError(errno);
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    void writeAll(const QByteArray& bytes) const
    {
        const char* data = bytes.constData();
        auto left = static_cast<size_t>(bytes.size());
        while (left > 0) {
            const ssize_t written = ::write(m_fd, data, left);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                raiseIoError(errno);
            }
            data += written;
            left -= static_cast<size_t>(written);
        }
    }

    // A failing close can be the first report of a write that did not reach the disk.
    void close()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            raiseIoError(errno);
    }

private:
    int m_fd;
};

void createEmpty()
{
    FileDescriptor file(encodedName(), O_WRONLY | O_CREAT | O_TRUNC);
    file.close();
}

} // namespace

void ActivityLog::PrepareLogFile()
{
    if (::access(encodedName().constData(), F_OK) == 0)
        return;
    createEmpty();
}

void ActivityLog::AppendLogLine(const QString& line)
{
    FileDescriptor file(encodedName(), O_WRONLY | O_APPEND);
    // One write per line: a reader never sees half a line from us, even mid-run.
    file.writeAll(line.toUtf8() + "\r\n");
    file.close();
}

void ActivityLog::Clear()
{
    ::unlink(encodedName().constData());
    createEmpty();
}
