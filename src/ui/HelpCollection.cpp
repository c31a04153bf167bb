#include "HelpCollection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isSameFile(const QFileInfo& original, const QFileInfo& copy)
{
    return copy.exists() && copy.size() == original.size() &&
           copy.lastModified() == original.lastModified();
}

// The copy takes the original's modification time, so that an unchanged original is recognised
// next time and a changed one is copied again.
bool copyFile(const QString& from, const QString& to)
{
    const QFileInfo original(from);
    if (isSameFile(original, QFileInfo(to)))
        return true;
    QFile::remove(to);
    if (!QFile::copy(from, to))
        return false;
    QFile copy(to);
    return copy.open(QIODevice::ReadWrite) &&
           copy.setFileTime(original.lastModified(), QFileDevice::FileModificationTime);
}

} // namespace

QStringList helpFolders(const QString& programDir)
{
    return {QDir::cleanPath(programDir),
            QDir::cleanPath(programDir + QStringLiteral("/../share/runlatch"))};
}

QString findHelpCollection(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfo collection(QDir(folder).filePath(HelpCollectionName));
        if (collection.isFile())
            return collection.absoluteFilePath();
    }
    return {};
}

QString usableHelpCollection(const QString& collection, const QString& cacheFolder)
{
    if (cacheFolder.isEmpty() || QFileInfo(QFileInfo(collection).absolutePath()).isWritable())
        return collection;
    const QString copy = copyHelpCollection(collection, cacheFolder);
    return copy.isEmpty() ? collection : copy;
}

QString copyHelpCollection(const QString& collection, const QString& folder)
{
    const QDir source = QFileInfo(collection).absoluteDir();
    const QDir target(folder);
    if (!target.mkpath(QStringLiteral(".")))
        return {};
    for (const QString& name : {QString(HelpManualName), QFileInfo(collection).fileName()}) {
        if (!copyFile(source.filePath(name), target.filePath(name)))
            return {};
    }
    return target.filePath(QFileInfo(collection).fileName());
}
