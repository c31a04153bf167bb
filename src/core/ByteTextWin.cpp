#include "ByteText.h"

#include <QString>

#include <windows.h>

namespace {

constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

// The ANSI code page's text of bytes; nothing for bytes that are no text in it.
std::optional<QString> fromAnsi(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int size = static_cast<int>(bytes.size());
    const int length =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    QString text(length, Qt::Uninitialized);
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size,
                          reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

// Text in the ANSI code page; nothing when a character has no byte there. Best-fit mapping is
// off: "ő" must not quietly become "o" in a program's path.
std::optional<QByteArray> toAnsi(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = static_cast<int>(text.size());
    BOOL lacking = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0,
                                             nullptr, &lacking);
    if (length <= 0 || lacking)
        return std::nullopt;
    QByteArray bytes(length, Qt::Uninitialized);
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), length, nullptr,
                          nullptr);
    return bytes;
}

// A code page that is UTF-8 itself (a choice Windows offers) has nothing to add to UTF-8.
bool ansiIsUtf8()
{
    return ::GetACP() == CP_UTF8;
}

} // namespace

// Only a file that comes back whole is taken as code-page text: one that does not (bytes that
// the code page has no character for) keeps its bytes, as on every other system.
std::optional<QByteArray> legacyTextAsUtf8(QByteArrayView bytes)
{
    if (ansiIsUtf8() || bytes.startsWith(ByteOrderMark) || bytes.isValidUtf8())
        return std::nullopt;
    const std::optional<QString> text = fromAnsi(bytes);
    if (!text || toAnsi(*text) != bytes)
        return std::nullopt;
    return text->toUtf8();
}

std::optional<QByteArray> utf8AsLegacyText(QByteArrayView utf8)
{
    if (ansiIsUtf8() || !utf8.isValidUtf8())
        return std::nullopt;
    const QString text = QString::fromUtf8(utf8);
    std::optional<QByteArray> bytes = toAnsi(text);
    if (!bytes || fromAnsi(*bytes) != text)
        return std::nullopt;
    return bytes;
}
