#include "ChildRecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// Cross-built for Windows, the build tree has a Unix path, which Wine shows under drive Z:.
QString testChildPath()
{
    const QString path = QStringLiteral(RUNLATCH_TEST_CHILD);
#ifdef Q_OS_WIN
    if (path.startsWith(u'/'))
        return QStringLiteral("Z:") + path;
#endif
    return path;
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
        if (fields.size() < 6)
            continue;
        ChildRecord record;
        record.startNs = fields[0].toLongLong();
        record.endNs = fields[1].toLongLong();
        record.pid = fields[2].toLongLong();
        record.cwd = QDir::fromNativeSeparators(unescaped(fields[3]));
        record.showWindow = fields[4].toInt();
        record.commandLine = unescaped(fields[5]);
        for (qsizetype i = 6; i < fields.size(); ++i)
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
    qunsetenv("RUNLATCH_CHILD_ECHO_STDIN");
    qunsetenv("RUNLATCH_CHILD_WINDOW");
}

void ChildLog::setSleepMs(int ms)
{
    qputenv("RUNLATCH_CHILD_SLEEP_MS", QByteArray::number(ms));
}

void ChildLog::setExitStatus(int status)
{
    qputenv("RUNLATCH_CHILD_EXIT", QByteArray::number(status));
}

void ChildLog::setEchoStandardInput(bool echo)
{
    qputenv("RUNLATCH_CHILD_ECHO_STDIN", echo ? "1" : "0");
}

void ChildLog::setWindow(bool window)
{
    qputenv("RUNLATCH_CHILD_WINDOW", window ? "1" : "0");
}

#ifdef Q_OS_WIN

// A process that cannot be opened any more is gone; one that can is gone once it has ended.
bool processGone(qint64 pid)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return true;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

#else

bool processGone(qint64 pid)
{
    return !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

#endif
