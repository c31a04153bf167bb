#include "ScriptedPrompts.h"

void ScriptedPrompts::record(const Asked& entry)
{
    asked << entry;
    // A box shown without waiting runs no modal loop.
    if (whileAsking && entry.kind != Kind::GeneralLater)
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

template <typename T>
T ScriptedPrompts::nextAnswer(QQueue<T>& answers, T unscripted)
{
    if (answers.isEmpty()) {
        ++unanswered;
        return unscripted;
    }
    return answers.dequeue();
}

bool ScriptedPrompts::confirm(const QString& text)
{
    record({Kind::Confirm, text, {}, {}, 0, {}});
    return nextAnswer(confirmAnswers, false);
}

Prompts::Answer ScriptedPrompts::confirmOrCancel(const QString& text)
{
    record({Kind::Confirm, text, {}, {}, 0, {}});
    return nextAnswer(confirmOrCancelAnswers, Answer::Cancel);
}

std::optional<QString> ScriptedPrompts::nextFile(Kind kind, const FileDialogRequest& request)
{
    record({kind, {}, {}, request, 0, {}});
    return nextAnswer(fileAnswers, std::optional<QString>());
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
    return nextAnswer(inputAnswers, std::optional<QString>());
}

void ScriptedPrompts::beep()
{
    record({Kind::Beep, {}, {}, {}, 0, {}});
}

void ScriptedPrompts::generalError(const QString& text)
{
    record({Kind::General, text, {}, {}, 0, {}});
}

void ScriptedPrompts::generalErrorLater(const QString& text)
{
    record({Kind::GeneralLater, text, {}, {}, 0, {}});
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
