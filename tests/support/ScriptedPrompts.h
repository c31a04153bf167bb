#pragma once

#include "Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>
#include <optional>

// Prompts for tests: answers come from queues the test fills, and every question is recorded.
// An unscripted question is answered No / Cancel (Cancel where the question has it) and counted
// in unanswered, so a test can tell a dialog that should not have been shown. Both kinds of
// confirmation are recorded as Confirm, the box the user sees.
class ScriptedPrompts final : public Prompts {
public:
    enum class Kind {
        Information,
        Error,
        Confirm,
        OpenFile,
        SaveFile,
        InputText,
        Beep,
        General,
        GeneralLater
    };

    struct Asked {
        Kind kind;
        QString text; // message, or the input box's prompt
        QString caption;
        FileDialogRequest request;
        int maxLength = 0;
        QString initial; // the text the input box offered
    };

    QQueue<bool> confirmAnswers;
    QQueue<Answer> confirmOrCancelAnswers;
    QQueue<std::optional<QString>> fileAnswers; // open and save dialogs share one queue
    QQueue<std::optional<QString>> inputAnswers;
    QList<Asked> asked;
    int unanswered = 0;
    // Runs inside every question, as a modal loop would run other handlers meanwhile.
    std::function<void(const Asked&)> whileAsking;

    void information(const QString& text) override;
    void error(const QString& text) override;
    [[nodiscard]] bool confirm(const QString& text) override;
    [[nodiscard]] Answer confirmOrCancel(const QString& text) override;
    [[nodiscard]] std::optional<QString> openFile(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<QString> saveFile(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                                   const QString& initial, int maxLength) override;
    void beep() override;
    void generalError(const QString& text) override;
    void generalErrorLater(const QString& text) override;

    // The texts asked of one kind, in order.
    [[nodiscard]] QStringList texts(Kind kind) const;
    [[nodiscard]] int count(Kind kind) const;

private:
    void record(const Asked& asked);
    std::optional<QString> nextFile(Kind kind, const FileDialogRequest& request);
    template <typename T>
    [[nodiscard]] T nextAnswer(QQueue<T>& answers, T unscripted);
};
