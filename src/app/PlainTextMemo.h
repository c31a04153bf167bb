#pragma once

#include "MemoLines.h"

#include <QObject>
#include <QStringList>

class QPlainTextEdit;

// The activity memo's text area seen as a list of whole lines: a line that wraps on screen
// still counts once, so the memo rule keeps the newest lines whatever the window's width.
//
// A run changes the list before every program it starts, but the window is painted only when
// the event loop runs, which a run of quick programs lets happen only at its end. So changes are
// gathered and put into the text area together once the event loop gets control (or on
// flush()): laying out and scrolling the text area for each line costs a good part of what
// starting a small program does.
class PlainTextMemo final : public MemoLines {
public:
    explicit PlainTextMemo(QPlainTextEdit& edit);

    [[nodiscard]] int count() const override;
    void deleteFirst() override;
    void append(const QString& line) override;

    // Puts the gathered changes into the text area now.
    void flush();

private:
    [[nodiscard]] int shownCount() const;
    void scheduleFlush();

    QPlainTextEdit& m_edit;
    int m_dropped = 0;     // lines at the top of the text area that are gone from the list
    QStringList m_pending; // lines of the list that the text area does not show yet
    bool m_flushScheduled = false;
    QObject m_flushReceiver; // a flush still posted goes with the memo
};
