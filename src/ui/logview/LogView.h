#pragma once

#include "LogLines.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QTimer>

#include <memory>
#include <optional>
#include <unordered_map>

class QTextLayout;

// The log viewer's text area: a read-only view over the log file that lays out and paints only
// the lines on screen, so that a log of years opens at once and costs little memory. The lines
// are found by a scan that runs a slice at a time in the event loop; the scroll bar grows as it
// goes. Long lines wrap at word boundaries; a word wider than the view scrolls sideways. The view
// opens at the end and, while it shows the last line, stays at the end as lines are appended.
//
// The user selects with the mouse (a double click takes a word), copies with Ctrl+C, selects all
// with Ctrl+A, and finds text with find(), a slice at a time too.
class LogView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // A place in the text: a line and a column, in UTF-16 code units of the line's text.
    struct Position {
        qint64 line = 0;
        qsizetype column = 0;
        auto operator<=>(const Position&) const = default;
    };

    // Copying more than this at once is refused: a whole log of years does not belong on the
    // clipboard.
    static constexpr qint64 MaxCopyBytes = qint64(32) << 20;

    explicit LogView(QWidget* parent = nullptr);
    ~LogView() override;

    // Shows these lines at their end and scans them on in the event loop.
    void setLines(std::unique_ptr<LogLines> lines);
    // Looks at the file again and shows the lines appended to it; false when it is no longer
    // the file shown (cut short, emptied or replaced), which is then to be shown afresh.
    [[nodiscard]] bool followFile();
    // Whether the view shows the last line, and so follows the lines appended.
    [[nodiscard]] bool isAtEnd() const;
    [[nodiscard]] bool isScanned() const;
    [[nodiscard]] qint64 lineCount() const;
    // A line's text as shown (invalid UTF-8 as U+FFFD).
    [[nodiscard]] QString lineText(qint64 line);
    // The first and the last line that shows, at least in part.
    [[nodiscard]] qint64 firstVisibleLine() const;
    [[nodiscard]] qint64 lastVisibleLine();
    void scrollToLine(qint64 line);
    void scrollToEnd();

    [[nodiscard]] bool hasSelection() const;
    [[nodiscard]] Position selectionStart() const;
    [[nodiscard]] Position selectionEnd() const;
    void select(Position anchor, Position caret);
    void selectAll();
    // The selected text, lines joined by line feeds; empty when more than MaxCopyBytes.
    [[nodiscard]] QString selectedText();
    // Puts the selection on the clipboard; emits copyRefused when it is too large.
    void copy();

    // Finds text after the selection (or the top line) or before it, wrapping around the ends;
    // emits findFinished. A find in progress gives way to a new one.
    void find(const QString& text, bool matchCase, bool backward);
    [[nodiscard]] bool isFinding() const;

signals:
    void scanned();
    void findFinished(bool found, bool wrapped);
    void copyRefused(qint64 bytes);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Where the view's top is: a line, and how many of its wrapped rows are above the view.
    struct Top {
        qint64 line = 0;
        int row = 0;
        auto operator<=>(const Top&) const = default;
    };
    struct Shown {
        QString text; // as decoded, invalid bytes kept as lone surrogates
        std::unique_ptr<QTextLayout> layout;
    };

    void workSlice();
    void scanSlice();
    void finishFindWhenSettled();
    void finishFind();
    Shown& shown(qint64 line);
    void fetch(qint64 first, qint64 count);
    void dropLayouts();
    void layOutAgain();
    [[nodiscard]] int textWidth() const;
    [[nodiscard]] int rowsOf(qint64 line);
    [[nodiscard]] qreal topRowY();
    void setTop(Top top);
    void scrollRows(int rows);
    [[nodiscard]] Top bottomTop();
    void updateScrollBars();
    [[nodiscard]] Position positionAt(QPoint point);
    [[nodiscard]] qint64 byteOffset(Position at);
    [[nodiscard]] qint64 selectedBytes();
    // The selection's text, whatever its size.
    [[nodiscard]] QString textOfSelection();
    [[nodiscard]] Position positionOf(qint64 offset);
    void ensureVisible(Position at);
    void dragTo(QPoint point);

    std::unique_ptr<LogLines> m_lines;
    std::unique_ptr<LogLines::Search> m_search;
    QByteArray m_findBytes;
    struct LastMatch {
        qint64 offset;
        Position anchor;
        Position caret;
    };
    std::optional<LastMatch> m_lastMatch;
    int m_wheelRest = 0;
    std::unordered_map<qint64, Shown> m_shown;
    Top m_top;
    bool m_atEnd = true;
    Top m_bottomTop;
    bool m_bottomKnown = false;
    qint64 m_linesPerStep = 1;
    bool m_settingBars = false;
    Position m_anchor;
    Position m_caret;
    bool m_selecting = false;
    QPoint m_dragPoint;
    QBasicTimer m_dragScroll;
    QTimer m_work;
};
