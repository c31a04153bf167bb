#include "SystemError.h"

#include <QCoreApplication>

#include <windows.h>

QString systemErrorNoCodeText()
{
    return QCoreApplication::translate("SystemError", "A Win32 API function failed");
}

QString systemErrorCodeText()
{
    return QCoreApplication::translate("SystemError", "Win32 Error.  Code: %1.\n%2");
}

QString systemErrorText(int code)
{
    // The system allocates the text, so that no message is cut short at a buffer's end; without
    // FORMAT_MESSAGE_IGNORE_INSERTS a text with %1 in it would read arguments that are not there.
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length > 0 ? QString::fromWCharArray(text, static_cast<qsizetype>(length))
                                 : QString();
    ::LocalFree(text);
    return message.trimmed();
}
