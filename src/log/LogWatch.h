#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// Tells when a log file may have changed on disk: lines appended, the file cut short, emptied,
// deleted or replaced, by this program or another. The system reports the changes as they come
// (a file-system watch), so nothing runs while the file stays as it is.
class LogWatch : public QObject {
    Q_OBJECT

public:
    explicit LogWatch(const QString& path, QObject* parent = nullptr);

signals:
    // At most once for each turn of the event loop, however many changes came.
    void changed();

private:
    void watchFile();
    void changedSoon();

    QString m_path;
    QFileSystemWatcher m_watcher;
    bool m_pending = false;
};
