#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What one start of the test child program recorded.
struct ChildRecord {
    qint64 startNs = 0; // CLOCK_MONOTONIC
    qint64 endNs = 0;
    qint64 pid = 0;
    QString cwd;
    QStringList args;
};

// Path of the built test child program.
[[nodiscard]] QString testChildPath();

// Reads the records the child appended to a log file, in the order they were written.
[[nodiscard]] QList<ChildRecord> readChildRecords(const QString& logPath);
