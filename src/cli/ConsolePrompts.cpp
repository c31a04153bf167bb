#include "ConsolePrompts.h"

#include "ConsoleStreams.h"
#include "TrimmedText.h"

void ConsolePrompts::tell(const QString& text)
{
    printText(stderr, QStringLiteral("runlatch: ") + oneLineText(text.trimmed()) + u'\n');
}

void ConsolePrompts::information(const QString& text)
{
    tell(text);
}

void ConsolePrompts::error(const QString& text)
{
    tell(text);
}

bool ConsolePrompts::confirm(const QString& text)
{
    tell(text);
    return false;
}

Prompts::Answer ConsolePrompts::confirmOrCancel(const QString& text)
{
    tell(text);
    return Answer::Cancel;
}

std::optional<QString> ConsolePrompts::openFile(const FileDialogRequest& /*request*/)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompts::saveFile(const FileDialogRequest& /*request*/)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompts::inputText(const QString& /*caption*/,
                                                 const QString& /*prompt*/,
                                                 const QString& /*initial*/, int /*maxLength*/)
{
    return std::nullopt;
}

void ConsolePrompts::beep() {}

void ConsolePrompts::generalError(const QString& text)
{
    tell(text);
}

void ConsolePrompts::generalErrorLater(const QString& text)
{
    tell(text);
}
