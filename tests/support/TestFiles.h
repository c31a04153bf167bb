#pragma once

#include "Errors.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// Small file, error and number helpers the tests share.

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

// The lines of a file whose every line ends in CR LF, as the activity log's do, without their
// ends. A missing file, or one whose last line has no CR LF, reads as one line that says so, which
// no list of expected lines matches.
inline QStringList crlfLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing>")};
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {};
    if (!bytes.endsWith("\r\n"))
        return {QStringLiteral("<no CR LF at the end>")};
    return QString::fromUtf8(bytes.chopped(2)).split(QStringLiteral("\r\n"));
}

// The message of the error the operation raised; empty when it raised none. An error of another
// kind than Error goes on to the test framework, which fails the test.
template <typename Error = RunlatchError>
[[nodiscard]] QString errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

// The number and message of an INI store error.
using IniFailure = std::pair<int, QString>;

// The INI store error the operation raised; {0, ""} when it raised none.
[[nodiscard]] inline IniFailure iniFailureOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const EStRegIniError& error) {
        return {error.number(), error.message()};
    }
    return {0, {}};
}

// A double for QCOMPARE with all its digits, so that the comparison is bit for bit: QCOMPARE takes
// doubles as equal within a relative 1e-12, wider than a millisecond at today's day counts.
[[nodiscard]] inline QString exactly(double value)
{
    return QString::number(value, 'g', 17);
}
