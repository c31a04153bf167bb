#pragma once

#include "Errors.h"
#include "PlatformTypes.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// A file the user names, such as the activity log or a job file, is opened only when it is a
// regular file, or the null device that some users put in its place to keep nothing. Anything
// else (a FIFO or pipe, a socket, a device, a folder) is refused without ever blocking: opening a
// FIFO for reading waits for a writer, and reading a device may never end.
//
// The file calls of the store, the log and the job-file commands live behind these functions, one
// implementation for each platform. Errors are the system's own codes (errno, or the last-error
// code where that is the system's way), kept so that messages can quote the system's text.
class NotRegularFileError : public IoError {
public:
    // The message names the file as the user knows it: "Runlatch.log is not a regular file."
    explicit NotRegularFileError(const QString& name);
};

// A path as the system takes it (NativePath, one definition per platform).
[[nodiscard]] NativePath nativePath(const QString& path);

// Owns one open file and closes it when it goes. Errors of closing there are ignored: the file is
// closed either way. close() is for a caller that must hear of them.
class FileHandle {
public:
    using Native = NativeFile;
    static constexpr Native None = NoNativeFile;

    FileHandle() = default;
    explicit FileHandle(Native native)
        : m_native(native)
    {}
    FileHandle(FileHandle&& other) noexcept
        : m_native(std::exchange(other.m_native, None))
    {}
    FileHandle& operator=(FileHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_native = std::exchange(other.m_native, None);
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        reset();
    }

    [[nodiscard]] Native native() const
    {
        return m_native;
    }
    [[nodiscard]] bool isValid() const
    {
        return m_native != None;
    }
    // Closes the file; false with the error code in lastFileError() when closing reports a
    // failure, which can be the first report of a write that did not reach the disk.
    [[nodiscard]] bool close();

private:
    void reset();

    Native m_native = None;
};

// What an open is for.
enum class FileAccess {
    Read,
    Write,  // an existing file, written from its start
    Append, // an existing file, each write going to its end
    Create, // written from its start; created empty when missing, kept as it is when not
};

// The result of opening: the file, or the system's code for the failure.
struct OpenedUserFile {
    FileHandle file;
    int error = 0;
    bool isNullDevice = false;
};

// Opens path as access says, without blocking and without handing the file to started programs.
// Raises NotRegularFileError naming displayName when path names something else than a regular
// file or the null device, before or after the open, so a FIFO swapped in at any moment is
// refused too.
[[nodiscard]] OpenedUserFile openUserFile(const NativePath& path, FileAccess access,
                                          const QString& displayName);

// Makes path a new, empty file. A reader that has the old file open keeps reading what it had
// where the system allows that. The same refusals as openUserFile.
[[nodiscard]] OpenedUserFile recreateUserFile(const NativePath& path, const QString& displayName);

// What stands at a path, links followed.
enum class PathKind { Missing, RegularFile, NullDevice, Folder, Other };
[[nodiscard]] PathKind pathKind(const NativePath& path);

// Writes all of bytes, going on after interrupted or partial writes; false with lastFileError()
// set when the system refuses.
[[nodiscard]] bool writeAll(const FileHandle& file, QByteArrayView bytes);

// Appends bytes to a file opened for FileAccess::Append with one write, so that a reader never
// sees part of them from us. When the disk takes only part, the file is cut back to where they
// began and the result is false with a disk-full code.
[[nodiscard]] bool appendWhole(const FileHandle& file, QByteArrayView bytes);

// Reads the file to its end with as few reads as its size allows; false with lastFileError() set
// when a read fails.
[[nodiscard]] bool readAll(const FileHandle& file, QByteArray& into);

// Reads up to max bytes at offset without moving anyone else's position; the count read, 0 at the
// end, -1 when the read fails.
[[nodiscard]] qint64 readAt(const FileHandle& file, qint64 offset, char* into, qint64 max);

// Cuts the file to length bytes, or lengthens it with zeros; false with lastFileError() set when
// the system refuses.
[[nodiscard]] bool setFileLength(const FileHandle& file, qint64 length);

// The length of a regular file; 0 for the null device; nothing when the system will not say.
[[nodiscard]] std::optional<qint64> fileLength(const FileHandle& file);

// The system's error code of the last failed file call of this thread.
[[nodiscard]] int lastFileError();

// The failures a user meets most often, told apart so that messages can say them plainly.
enum class FileFailure { NotFound, AccessDenied, DiskFull, Other };
[[nodiscard]] FileFailure fileFailure(int code);

// The current folder's full path in the platform's own notation; empty when it is gone.
[[nodiscard]] NativePath currentFolderPath();
// A file name in folder, joined with the platform's separator.
[[nodiscard]] NativePath pathInFolder(const NativePath& folder, const QString& name);
// Whether path names its file wherever the program stands, by the system's own rule. Unlike
// QDir::isAbsolutePath, this takes no leading ":" for Qt's resources: ":jobs.ini" is a file name.
[[nodiscard]] bool isAbsoluteFilePath(const QString& path);
