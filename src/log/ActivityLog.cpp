#include "ActivityLog.h"

#include "ByteText.h"
#include "Errors.h"
#include "SystemError.h"
#include "LogLines.h"
#include "UserFile.h"

#include <algorithm>
#include <optional>

#include <QCoreApplication>

namespace {

const QString DisplayName = QString::fromLatin1(ActivityLog::FileName);

// The texts a user meets most often say what happened in plain words; anything rarer gets the
// system's own text.
[[noreturn]] void raiseIoError(int code)
{
    switch (fileFailure(code)) {
    case FileFailure::NotFound:
        throw IoError(QCoreApplication::translate("ActivityLog", "File not found"));
    case FileFailure::AccessDenied:
        throw IoError(QCoreApplication::translate("ActivityLog", "Access denied"));
    case FileFailure::DiskFull:
        throw IoError(QCoreApplication::translate("ActivityLog", "Disk full"));
    case FileFailure::Other:
        break;
    }
    const QString text = systemErrorText(code, DisplayName);
    throw IoError(text.isEmpty() ? QString::number(code) : text);
}

FileHandle opened(OpenedUserFile file)
{
    if (!file.file.isValid())
        raiseIoError(file.error);
    return std::move(file.file);
}

// A failing close can be the first report of a write that did not reach the disk.
void close(FileHandle& file)
{
    if (!file.close())
        raiseIoError(lastFileError());
}

// The log as the viewer reads it: by offset, so that only what is shown is ever in memory. The
// file stays open, so that it can still be read after it has been deleted or replaced; its path
// tells whether it has been.
class FileLogSource final : public LogSource {
public:
    FileLogSource(OpenedUserFile file, qint64 size, NativePath path)
        : m_file(std::move(file.file))
        , m_isNullDevice(file.isNullDevice)
        , m_size(size)
        , m_path(std::move(path))
    {}

    [[nodiscard]] qint64 size() const override { return m_size; }

    qint64 readAt(qint64 offset, char* into, qint64 max) override
    {
        return std::max<qint64>(::readAt(m_file, offset, into, max), 0);
    }

    [[nodiscard]] Change recheck() override
    {
        if (m_isNullDevice)
            return Change::None;
        const std::optional<qint64> length =
            namesSameFile(m_file, m_path) ? fileLength(m_file) : std::nullopt;
        if (!length || *length < m_size)
            return Change::Replaced;
        if (*length == m_size)
            return Change::None;
        m_size = *length;
        return Change::Grown;
    }

private:
    FileHandle m_file;
    bool m_isNullDevice;
    qint64 m_size;
    NativePath m_path;
};

} // namespace

void ActivityLog::PrepareLogFile()
{
    // Bound once, by its full path: whatever the current folder later is, the runs write to the
    // file prepared here. A folder that is already gone leaves the bare name, which then fails.
    const NativePath folder = currentFolderPath();
    const QString name = QString::fromLatin1(FileName);
    m_path = folder.isEmpty() ? nativePath(name) : pathInFolder(folder, name);
    switch (pathKind(m_path)) {
    case PathKind::Missing:
        break;
    case PathKind::RegularFile:
    case PathKind::NullDevice:
        // An existing log stays as it is, read-only or not; only its kind is checked here.
        return;
    case PathKind::Folder:
    case PathKind::Other:
        throw NotRegularFileError(DisplayName);
    }
    FileHandle created = opened(openUserFile(m_path, FileAccess::Create, DisplayName));
    close(created);
}

void ActivityLog::AppendLogLine(const QString& line)
{
    FileHandle file = opened(openUserFile(m_path, FileAccess::Append, DisplayName));
    if (!appendWhole(file, encodeText(line) + "\r\n"))
        raiseIoError(lastFileError());
    close(file);
}

void ActivityLog::Clear()
{
    FileHandle created = opened(recreateUserFile(m_path, DisplayName));
    close(created);
}

std::unique_ptr<LogSource> ActivityLog::openForViewing() const
{
    OpenedUserFile file = openUserFile(m_path, FileAccess::Read, DisplayName);
    const std::optional<qint64> size =
        file.file.isValid() ? fileLength(file.file) : std::optional<qint64>();
    if (!size)
        throw IoError(
            QCoreApplication::translate("ActivityLog", "Cannot open file %1").arg(DisplayName));
    return std::make_unique<FileLogSource>(std::move(file), *size, m_path);
}

QString ActivityLog::filePath() const
{
    return pathText(m_path);
}
