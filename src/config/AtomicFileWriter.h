#pragma once

#include <QByteArray>
#include <QString>

// Replaces the whole contents of one file so that a crash, a kill or a full disk at any moment
// leaves either the old file or the new one, never a mix: the new text goes to a temporary file
// in the same folder, reaches the disk, and is then renamed over the old file. The file system
// calls of a save live behind this class.
//
// Only where the folder lets this user make no file (a shared or system folder) but the file
// itself may be written is the file rewritten in place instead: that keeps its owner, permissions
// and links, but a crash or a failing disk during the save may leave it part written. The room
// for the new text is reserved first, so a full disk still refuses before anything changes.
//
// A symbolic link is followed, also a dangling one, and its target is replaced; the link stays.
// An existing file keeps its permissions (and its owner where the process may set it); a new
// file gets the usual permissions for the process's umask. The null device is written to, never
// replaced.
//
// A temporary file is named ".<name>.<hex digits>.tmp" and locked (flock) while its save runs.
// One that a killed save left behind is unlocked: the next save of the same file removes it.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(QString path);

    // False when the file system refuses: a missing folder, a read-only file (also for a user
    // whom the system would let write it anyway), a new file in a folder where no file can be
    // created, a full disk. The old file is then untouched and no temporary file stays behind.
    // Raises NotRegularFileError, writing nothing, when the path names anything else than a regular
    // file or the null device (a folder, a FIFO, a socket, a device): opening a FIFO to write
    // could block.
    [[nodiscard]] bool write(const QByteArray& contents) const;

private:
    QString m_path;
};
