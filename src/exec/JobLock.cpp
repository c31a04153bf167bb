#include "JobLock.h"

#include <QDir>
#include <QFileInfo>

QString JobLock::keyOf(const QString& jobFile)
{
    const QFileInfo file(jobFile);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : canonical;
}
