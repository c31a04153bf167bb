#pragma once

#include "Prompts.h"

// The prompts a run speaks through. While it defers, the general error display does not show:
// it keeps the last message for the window to show once the run has ended, so that a run nobody
// watches never holds the schedule while its box waits for OK. Everything else goes straight on.
class DeferringPrompts final : public Prompts {
public:
    explicit DeferringPrompts(Prompts& prompts)
        : m_prompts(prompts)
    {}

    // Returns whether it deferred before.
    bool setDeferring(bool deferring);
    // The message kept while deferring, given away; empty when none.
    [[nodiscard]] QString takeDeferred();

    void information(const QString& text) override { m_prompts.information(text); }
    void error(const QString& text) override { m_prompts.error(text); }
    [[nodiscard]] bool confirm(const QString& text) override { return m_prompts.confirm(text); }
    [[nodiscard]] Answer confirmOrCancel(const QString& text) override
    {
        return m_prompts.confirmOrCancel(text);
    }
    [[nodiscard]] std::optional<QString> openFile(const FileDialogRequest& request) override
    {
        return m_prompts.openFile(request);
    }
    [[nodiscard]] std::optional<QString> saveFile(const FileDialogRequest& request) override
    {
        return m_prompts.saveFile(request);
    }
    [[nodiscard]] std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                                   const QString& initial, int maxLength) override
    {
        return m_prompts.inputText(caption, prompt, initial, maxLength);
    }
    void beep() override { m_prompts.beep(); }
    void generalError(const QString& text) override;
    void generalErrorLater(const QString& text) override { m_prompts.generalErrorLater(text); }

private:
    Prompts& m_prompts;
    bool m_deferring = false;
    QString m_deferred;
};
