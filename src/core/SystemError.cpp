#include "SystemError.h"

namespace {

bool trimmable(QChar c)
{
    return c == u' ' || c == u'.' || c.category() == QChar::Other_Control;
}

// Trailing blanks, control characters and full stops go, so that the message ends the same way
// whatever the system's text ends with.
QString trimmedAtEnd(QString text)
{
    while (!text.isEmpty() && trimmable(text.back()))
        text.chop(1);
    return text;
}

} // namespace

QString systemErrorMessage(SystemErrorCode code, const QString& systemText)
{
    if (code == 0)
        return systemErrorNoCodeText();
    return systemErrorCodeText().arg(QString::number(code), trimmedAtEnd(systemText));
}

// Win32 codes above INT_MAX (HRESULTs passed through GetLastError) keep their bits in the int.
PlatformError systemError(SystemErrorCode code, const QString& subject)
{
    return PlatformError(
        static_cast<int>(code),
        systemErrorMessage(code, systemErrorText(static_cast<int>(code), subject)));
}
