#include "LogWatch.h"

#include <QFileInfo>

#include <utility>

LogWatch::LogWatch(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(path)
{
    // The folder too: a file that is deleted and made anew, as Clear does, is another file, and
    // one that is missing can only be seen coming back in its folder.
    m_watcher.addPath(QFileInfo(path).absolutePath());
    watchFile();
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &LogWatch::changedSoon);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchFile();
        changedSoon();
    });
}

// A watch follows the file it was set on, not its name, so it is set again on whatever the name
// stands for now.
void LogWatch::watchFile()
{
    m_watcher.removePath(m_path);
    m_watcher.addPath(m_path);
}

void LogWatch::changedSoon()
{
    if (std::exchange(m_pending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            emit changed();
        },
        Qt::QueuedConnection);
}
