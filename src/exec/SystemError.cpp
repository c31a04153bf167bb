#include "SystemError.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstring>
#endif

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

#ifdef Q_OS_WIN

QString noCodeText()
{
    return QCoreApplication::translate("SystemError", "A Win32 API function failed");
}

QString codeText()
{
    return QCoreApplication::translate("SystemError", "Win32 Error.  Code: %1.\n%2");
}

// The system allocates the text, so that no message is cut short at a buffer's end. Without
// FORMAT_MESSAGE_IGNORE_INSERTS a text with %1 in it would read arguments that are not there.
QString systemText(SystemErrorCode code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
        return {};
    const QString result = QString::fromWCharArray(text, static_cast<qsizetype>(length));
    LocalFree(text);
    return result;
}

#else

QString noCodeText()
{
    return QCoreApplication::translate("SystemError", "A system function failed");
}

QString codeText()
{
    return QCoreApplication::translate("SystemError", "System Error.  Code: %1.\n%2");
}

QString systemText(SystemErrorCode code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

#endif

} // namespace

QString systemErrorMessage(SystemErrorCode code, const QString& systemText)
{
    if (code == 0)
        return noCodeText();
    return codeText().arg(QString::number(code), trimmedAtEnd(systemText));
}

// Win32 codes above INT_MAX (HRESULTs passed through GetLastError) keep their bits in the int.
PlatformError systemError(SystemErrorCode code)
{
    return PlatformError(static_cast<int>(code), systemErrorMessage(code, systemText(code)));
}
