#pragma once

#include "Errors.h"
#include "UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// A file the user names, such as the activity log or a job file, is opened only when it is a
// regular file, or the null device that some users put in its place to keep nothing. Anything
// else (a FIFO, a socket, a device, a folder) is refused without ever blocking: opening a FIFO
// for reading waits for a writer, and reading a device may never end.
class NotRegularFileError : public IoError {
public:
    // The message names the file as the user knows it: "Runlatch.log is not a regular file."
    explicit NotRegularFileError(const QString& name);
};

// The result of opening: a descriptor, or the errno of the failure.
struct OpenedUserFile {
    UniqueFd fd;
    int error = 0;
    bool isNullDevice = false;
};

// Opens path with the given open(2) flags, adding O_NONBLOCK, O_CLOEXEC and O_NOCTTY. Raises
// NotRegularFileError naming displayName when path names something else than a regular file
// or the null device, before or after the open, so a FIFO swapped in at any moment is refused too.
[[nodiscard]] OpenedUserFile openUserFile(const QByteArray& path, int flags,
                                          const QString& displayName);

// True for a regular file or the null device: what openUserFile accepts.
[[nodiscard]] bool isAcceptedUserFile(const struct stat& file);

// Writes all of bytes, going on after interrupted or partial writes; false with errno set when
// the system refuses.
[[nodiscard]] bool writeAll(int fd, QByteArrayView bytes);

// Reads fd to its end; false with errno set when a read fails.
[[nodiscard]] bool readAll(int fd, QByteArray& into);
