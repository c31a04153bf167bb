#pragma once

#include "Prompts.h"

#include <QMessageBox>
#include <QPointer>

// The prompts the user sees: Qt message boxes, file dialogs and input boxes, each owned by the
// window that is active when it is asked for.
class QtPrompts final : public Prompts {
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

private:
    // The box of generalErrorLater while it is open.
    QPointer<QMessageBox> m_laterBox;
};
