#pragma once

#include <QString>

// The activity log "Runlatch.log": one CR LF line per run event, UTF-8. The bare name resolves
// against the current folder at every operation, and the file is opened and closed around each
// one, so it is complete on disk after every line and other programs can read it at any time.
class ActivityLog {
public:
    static constexpr auto FileName = "Runlatch.log";

    // Creates the file empty when it does not exist; an existing file is left as it is.
    void PrepareLogFile();
    // Appends one line. A missing file is an error ("File not found"); it is not created.
    void AppendLogLine(const QString& line);
    // Deletes the file and creates it anew, empty.
    void Clear();
};
