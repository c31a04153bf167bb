#include "SystemError.h"

#include <QCoreApplication>

#include <cstring>

QString systemErrorNoCodeText()
{
    return QCoreApplication::translate("SystemError", "A system function failed");
}

QString systemErrorCodeText()
{
    return QCoreApplication::translate("SystemError", "System Error.  Code: %1.\n%2");
}

// strerror's texts name nothing: the caller's message does.
QString systemErrorText(int code, const QString& /*subject*/)
{
    return QString::fromLocal8Bit(std::strerror(code));
}
