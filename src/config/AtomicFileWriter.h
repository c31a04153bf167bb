#pragma once

#include <QByteArray>
#include <QString>

// Replaces the whole contents of one file so that a crash, a kill or a full disk at any moment
// leaves either the old file or the new one, never a mix: the new text goes to a temporary file
// in the same folder, reaches the disk, and is then renamed over the old file. The platform's
// file calls live behind this class, so another platform can bring its own implementation.
//
// A symbolic link is followed, also a dangling one, and its target is replaced; the link stays.
// An existing file keeps its permissions (and its owner where the process may set it); a new
// file gets the usual permissions for the process's umask.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(QString path);

    // False when the file system refuses: a missing folder, a path that names a folder or
    // anything else that is not a regular file, a read-only file (also for a user whom the
    // system would let write it anyway), a folder where no file can be created, a full disk.
    // The old file is then untouched and no temporary file stays behind.
    [[nodiscard]] bool write(const QByteArray& contents) const;

private:
    QString m_path;
};
