#pragma once

#include "Errors.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

// Small file and error helpers the tests share.

// The whole file, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Replaces the file's content; false when that failed.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The message of the error the operation raised; empty when it raised none.
inline QString errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const RunlatchError& e) {
        return e.message();
    }
    return {};
}
