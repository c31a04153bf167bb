#include "SystemError.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <windows.h>

namespace {

// Every insert ("%1", or "%1!s!" with its format) holds subject: the texts that a failed start
// or file call gets name one thing, the program or the file.
QString filledInserts(const QString& text, const QString& subject)
{
    static const QRegularExpression Insert(QStringLiteral("%[1-9][0-9]?(![^!]*!)?"));
    QString filled;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : Insert.globalMatch(text)) {
        filled.append(QStringView(text).sliced(from, match.capturedStart() - from));
        filled.append(subject);
        from = match.capturedEnd();
    }
    filled.append(QStringView(text).sliced(from));
    return filled;
}

} // namespace

QString systemErrorNoCodeText()
{
    return QCoreApplication::translate("SystemError", "A Win32 API function failed");
}

QString systemErrorCodeText()
{
    return QCoreApplication::translate("SystemError", "Win32 Error.  Code: %1.\n%2");
}

QString systemErrorText(int code, const QString& subject)
{
    // The system allocates the text, so that no message is cut short at a buffer's end. The
    // inserts are filled here rather than by FormatMessageW, which would read as many arguments
    // as the text asks for, however many it was given.
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message =
        length > 0 ? QString::fromWCharArray(text, static_cast<qsizetype>(length)) : QString();
    ::LocalFree(text);
    return filledInserts(message, subject).trimmed();
}
