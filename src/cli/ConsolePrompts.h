#pragma once

#include "Prompts.h"

// The prompts of a run without a window: what a box would show goes to standard error as one
// line, and nobody is there to answer: every question is declined, every dialog cancelled.
class ConsolePrompts : public Prompts {
public:
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

    // Writes "runlatch: <text>" as one line to standard error.
    static void tell(const QString& text);
};
