#include "PlainTextMemo.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

PlainTextMemo::PlainTextMemo(QPlainTextEdit& edit)
    : m_edit(edit)
{}

int PlainTextMemo::count() const
{
    const QTextDocument* document = m_edit.document();
    // An empty document still has one empty block; as a list of lines it holds none.
    if (document->blockCount() == 1 && document->isEmpty())
        return 0;
    return document->blockCount();
}

void PlainTextMemo::deleteFirst()
{
    QTextCursor cursor(m_edit.document());
    cursor.movePosition(QTextCursor::Start);
    if (!cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor))
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void PlainTextMemo::append(const QString& line)
{
    // Appending to an empty document would leave an empty first line above the new one.
    if (count() == 0)
        m_edit.setPlainText(line);
    else
        m_edit.appendPlainText(line);
}
