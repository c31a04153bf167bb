#pragma once

#include "MemoLines.h"

class QPlainTextEdit;

// The activity memo's text area seen as a list of whole lines: a line that wraps on screen
// still counts once, so the memo rule keeps the newest lines whatever the window's width.
class PlainTextMemo final : public MemoLines {
public:
    explicit PlainTextMemo(QPlainTextEdit& edit);

    [[nodiscard]] int count() const override;
    void deleteFirst() override;
    void append(const QString& line) override;

private:
    QPlainTextEdit& m_edit;
};
