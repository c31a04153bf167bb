#include "ChildRecords.h"

#include <QFile>
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
