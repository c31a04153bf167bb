#include "Errors.h"

RunlatchError::RunlatchError(const QString& message)
    : std::runtime_error(message.toStdString())
{}

QString RunlatchError::message() const
{
    return QString::fromStdString(what());
}

PlatformError::PlatformError(int code, const QString& message)
    : RunlatchError(message)
    , m_code(code)
{}

EStRegIniError::EStRegIniError(int number, const QString& message)
    : RunlatchError(message)
    , m_number(number)
{}
