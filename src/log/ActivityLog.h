#pragma once

#include "UserFile.h"

#include <QByteArray>
#include <QString>

#include <memory>

class LogSource;

// The activity log "Runlatch.log": one CR LF line per run event, the line's bytes as the job
// table holds them. The file is the one start-up prepared in the start-up folder, and it is
// opened and closed around each operation, so it is complete on disk after every line and other
// programs can read it at any time. Only a regular file, or the null device for a user who keeps
// no log, is ever opened: anything else is refused without blocking.
class ActivityLog {
public:
    static constexpr auto FileName = "Runlatch.log";

    // Binds the log to Runlatch.log in the current folder and creates the file empty when it
    // does not exist; an existing file is left as it is.
    void PrepareLogFile();
    // Appends one line with one write. A missing file is an error ("File not found"); it is not
    // created. When the disk takes only part of the line, the file is cut back to where the line
    // began, so no fragment is left to run into the next line.
    void AppendLogLine(const QString& line);
    // Deletes the file and creates it anew, empty.
    void Clear();
    // The file as it is now, for the viewer: its length is taken here and again when the viewer
    // looks for appended lines, and it stays readable when Clear later deletes it. "Cannot open
    // file Runlatch.log" when it cannot be opened.
    [[nodiscard]] std::unique_ptr<LogSource> openForViewing() const;
    // The file's path, for watching it.
    [[nodiscard]] QString filePath() const;

private:
    NativePath m_path = nativePath(QString::fromLatin1(FileName));
};
