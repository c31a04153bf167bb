#include "SystemError.h"

#include <QCoreApplication>

#include <cstring>

namespace {

bool trimmedAtEnd(QChar c)
{
    return c == u' ' || c == u'.' || c.category() == QChar::Other_Control;
}

} // namespace

QString systemErrorMessage(int code, const QString& systemText)
{
    if (code == 0)
        return QCoreApplication::translate("SystemError", "A system function failed");
    QString text = systemText;
    while (!text.isEmpty() && trimmedAtEnd(text.back()))
        text.chop(1);
    return QCoreApplication::translate("SystemError", "System Error.  Code: %1.\n%2")
        .arg(QString::number(code), text);
}

PlatformError systemError(int code)
{
    return PlatformError(code,
                         systemErrorMessage(code, QString::fromLocal8Bit(std::strerror(code))));
}
