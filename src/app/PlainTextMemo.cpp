#include "PlainTextMemo.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

PlainTextMemo::PlainTextMemo(QPlainTextEdit& edit)
    : m_edit(edit)
{}

int PlainTextMemo::shownCount() const
{
    const QTextDocument* document = m_edit.document();
    // An empty document still has one empty block; as a list of lines it holds none.
    if (document->blockCount() == 1 && document->isEmpty())
        return 0;
    return document->blockCount();
}

int PlainTextMemo::count() const
{
    return shownCount() - m_dropped + static_cast<int>(m_pending.size());
}

void PlainTextMemo::deleteFirst()
{
    if (shownCount() > m_dropped)
        ++m_dropped;
    else if (!m_pending.isEmpty())
        m_pending.removeFirst();
    else
        return;
    scheduleFlush();
}

void PlainTextMemo::append(const QString& line)
{
    // The text area cannot hold a single empty line: an empty memo stays empty.
    if (line.isEmpty() && count() == 0)
        return;
    m_pending.append(line);
    scheduleFlush();
}

void PlainTextMemo::scheduleFlush()
{
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    // Posted events are delivered before the event loop paints or handles input, so the user
    // never sees or edits the text area behind the list.
    QMetaObject::invokeMethod(
        &m_flushReceiver, [this] { flush(); }, Qt::QueuedConnection);
}

void PlainTextMemo::flush()
{
    m_flushScheduled = false;
    // Decided before the removal: a kept empty last line looks just like an empty document.
    bool empty = shownCount() == 0;
    if (m_dropped > 0) {
        empty = m_dropped >= shownCount();
        QTextCursor cursor(m_edit.document());
        cursor.movePosition(QTextCursor::Start);
        if (m_dropped >= shownCount() ||
            !cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, m_dropped))
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        m_dropped = 0;
    }
    if (m_pending.isEmpty())
        return;
    const QString text = m_pending.join(u'\n');
    m_pending.clear();
    // Appending to an empty document would leave an empty first line above the new ones.
    if (empty) {
        m_edit.setPlainText(text);
    } else if (m_edit.document()->isEmpty()) {
        // The one kept line is empty, and appending would write into it instead of after it.
        QTextCursor cursor(m_edit.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(text);
    } else {
        m_edit.appendPlainText(text);
    }
}
