#pragma once

#include <QString>

#include <stdexcept>

// The general error: a failure with a message for the general error display.
class RunlatchError : public std::runtime_error {
public:
    explicit RunlatchError(const QString& message);
    [[nodiscard]] QString message() const;
};

// A failed operating-system call, with the errno it reported.
class PlatformError : public RunlatchError {
public:
    PlatformError(int code, const QString& message);
    [[nodiscard]] int code() const { return m_code; }

private:
    int m_code;
};

// A text-file operation that failed (the activity log, the log viewer).
class IoError : public RunlatchError {
public:
    using RunlatchError::RunlatchError;
};

// A failure of the INI store, with the number of its message.
class EStRegIniError : public RunlatchError {
public:
    EStRegIniError(int number, const QString& message);
    [[nodiscard]] int number() const { return m_number; }

private:
    int m_number;
};
