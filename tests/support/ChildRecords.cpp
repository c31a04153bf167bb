#include "ChildRecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

QString testChildPath()
{
    return QStringLiteral(RUNLATCH_TEST_CHILD);
}

namespace {

QString unescaped(const QByteArray& field)
{
    return QUrl::fromPercentEncoding(field);
}

} // namespace

QList<ChildRecord> readChildRecords(const QString& logPath)
{
    QFile file(logPath);
    QList<ChildRecord> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 4)
            continue;
        ChildRecord record;
        record.startNs = fields[0].toLongLong();
        record.endNs = fields[1].toLongLong();
        record.pid = fields[2].toLongLong();
        record.cwd = unescaped(fields[3]);
        for (qsizetype i = 4; i < fields.size(); ++i)
            record.args << unescaped(fields[i]);
        records << record;
    }
    return records;
}

ChildLog::ChildLog(const QString& folder)
    : m_path(QDir(folder).filePath(QStringLiteral("child.log")))
{
    qputenv("RUNLATCH_CHILD_LOG", QFile::encodeName(m_path));
}

ChildLog::~ChildLog()
{
    qunsetenv("RUNLATCH_CHILD_LOG");
    qunsetenv("RUNLATCH_CHILD_SLEEP_MS");
    qunsetenv("RUNLATCH_CHILD_EXIT");
}

void ChildLog::setSleepMs(int ms)
{
    qputenv("RUNLATCH_CHILD_SLEEP_MS", QByteArray::number(ms));
}

void ChildLog::setExitStatus(int status)
{
    qputenv("RUNLATCH_CHILD_EXIT", QByteArray::number(status));
}

bool processGone(qint64 pid)
{
    return !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}
