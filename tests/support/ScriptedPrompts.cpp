#include "ScriptedPrompts.h"

void ScriptedPrompts::record(const Asked& entry)
{
    asked << entry;
    if (whileAsking)
        whileAsking(entry);
}

void ScriptedPrompts::information(const QString& text)
{
    record({Kind::Information, text, {}, {}, 0, {}});
}

void ScriptedPrompts::error(const QString& text)
{
    record({Kind::Error, text, {}, {}, 0, {}});
}

bool ScriptedPrompts::confirm(const QString& text)
{
    record({Kind::Confirm, text, {}, {}, 0, {}});
    if (confirmAnswers.isEmpty()) {
        ++unanswered;
        return false;
    }
    return confirmAnswers.dequeue();
}

std::optional<QString> ScriptedPrompts::nextFile(Kind kind, const FileDialogRequest& request)
{
    record({kind, {}, {}, request, 0, {}});
    if (fileAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return fileAnswers.dequeue();
}

std::optional<QString> ScriptedPrompts::openFile(const FileDialogRequest& request)
{
    return nextFile(Kind::OpenFile, request);
}

std::optional<QString> ScriptedPrompts::saveFile(const FileDialogRequest& request)
{
    return nextFile(Kind::SaveFile, request);
}

std::optional<QString> ScriptedPrompts::inputText(const QString& caption, const QString& prompt,
                                                  const QString& initial, int maxLength)
{
    record({Kind::InputText, prompt, caption, {}, maxLength, initial});
    if (inputAnswers.isEmpty()) {
        ++unanswered;
        return std::nullopt;
    }
    return inputAnswers.dequeue();
}

void ScriptedPrompts::beep()
{
    record({Kind::Beep, {}, {}, {}, 0, {}});
}

void ScriptedPrompts::generalError(const QString& text)
{
    record({Kind::General, text, {}, {}, 0, {}});
}

QStringList ScriptedPrompts::texts(Kind kind) const
{
    QStringList result;
    for (const Asked& entry : asked)
        if (entry.kind == kind)
            result << entry.text;
    return result;
}

int ScriptedPrompts::count(Kind kind) const
{
    return static_cast<int>(texts(kind).size());
}
