#include "LogView.h"

#include "ByteText.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <climits>

namespace {

constexpr int Margin = 4;
// How much a slice of work in the event loop reads: small enough that the window answers
// between slices, large enough that a big log is scanned at the speed of reading it.
constexpr qint64 SliceBytes = qint64(8) << 20;
// Laid-out lines kept; scrolling back and forth over a few screens lays nothing out again.
constexpr std::size_t KeptLines = 2048;
// Lines read at once when a line is needed that is not laid out yet.
constexpr qint64 FetchLines = 64;

// Invalid bytes are kept as lone surrogates so that columns map back to bytes; on screen and on
// the clipboard each shows as the replacement character, one for one.
QString shownText(QString text)
{
    for (QChar& c : text)
        if (c.isLowSurrogate() && c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
            c = QChar::ReplacementCharacter;
    return text;
}

qreal layoutHeight(const QTextLayout& layout)
{
    const QTextLine last = layout.lineAt(layout.lineCount() - 1);
    return last.y() + last.height();
}

} // namespace

LogView::LogView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    m_work.setInterval(0);
    connect(&m_work, &QTimer::timeout, this, &LogView::workSlice);
    setLines(std::make_unique<LogLines>(std::make_unique<BytesLogSource>()));
}

LogView::~LogView() = default;

void LogView::setLines(std::unique_ptr<LogLines> lines)
{
    // A find over lines that are gone ends without a match.
    const bool wasFinding = std::exchange(m_search, nullptr) != nullptr;
    m_lines = std::move(lines);
    m_shown.clear();
    m_top = {};
    m_atEnd = true;
    m_anchor = m_caret = {};
    m_bottomKnown = false;
    workSlice();
    updateScrollBars();
    viewport()->update();
    if (wasFinding)
        emit findFinished(false, false);
}

bool LogView::followFile()
{
    const qint64 last = lineCount() - 1;
    switch (m_lines->recheck()) {
    case LogSource::Change::None:
        break;
    case LogSource::Change::Grown:
        // A last line without a break may go on in the new bytes.
        m_shown.erase(last);
        m_bottomKnown = false;
        workSlice();
        break;
    case LogSource::Change::Replaced:
        return false;
    }
    return true;
}

bool LogView::isAtEnd() const
{
    return m_atEnd;
}

bool LogView::isScanned() const
{
    return m_lines->isComplete();
}

qint64 LogView::lineCount() const
{
    return m_lines->lineCount();
}

QString LogView::lineText(qint64 line)
{
    if (line < 0 || line >= lineCount())
        return {};
    return shownText(shown(line).text);
}

// A find, then the scan, a slice each time the event loop comes by; the timer runs only while
// there is work. The find goes first, so that a match in lines already scanned shows without
// waiting for the scan of the rest; one past the scan shows once the scan has reached it.
void LogView::workSlice()
{
    if (m_search) {
        m_search->step(SliceBytes);
        finishFindWhenSettled();
    }
    if (!m_lines->isComplete()) {
        scanSlice();
        finishFindWhenSettled();
    }
    const bool more = !m_lines->isComplete() || m_search;
    if (more && !m_work.isActive())
        m_work.start();
    else if (!more)
        m_work.stop();
}

void LogView::scanSlice()
{
    const qint64 before = m_lines->lineCount();
    if (m_lines->indexMore(SliceBytes))
        emit scanned();
    if (m_lines->lineCount() == before && !m_lines->isComplete())
        return;
    m_bottomKnown = false;
    if (m_atEnd)
        setTop(bottomTop());
    else
        updateScrollBars();
    viewport()->update();
}

void LogView::finishFindWhenSettled()
{
    if (!m_search)
        return;
    const LogLines::Search::State state = m_search->state();
    const bool located = m_search->matchOffset() < m_lines->linesEnd();
    if (state == LogLines::Search::State::NotFound ||
        (state == LogLines::Search::State::Found && located))
        finishFind();
}

LogView::Shown& LogView::shown(qint64 line)
{
    auto found = m_shown.find(line);
    if (found == m_shown.end()) {
        fetch(line, FetchLines);
        found = m_shown.find(line);
    }
    return found->second;
}

void LogView::fetch(qint64 first, qint64 count)
{
    if (m_shown.size() > KeptLines)
        m_shown.clear();
    const QList<QByteArray> texts = m_lines->lines(first, count);
    const QFont shownFont = font();
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    // A line the scan has not reached yet is not kept: it would stay empty once found.
    const qint64 end = std::min(first + count, std::max(lineCount(), first + 1));
    for (qint64 i = 0; first + i < end; ++i) {
        if (m_shown.contains(first + i))
            continue;
        Shown entry;
        if (i < texts.size())
            entry.text = decodeBytes(texts[i]);
        entry.layout = std::make_unique<QTextLayout>(shownText(entry.text), shownFont);
        entry.layout->setTextOption(option);
        entry.layout->setCacheEnabled(true);
        entry.layout->beginLayout();
        qreal y = 0;
        for (QTextLine row = entry.layout->createLine(); row.isValid();
             row = entry.layout->createLine()) {
            row.setLineWidth(textWidth());
            row.setPosition({0, y});
            y += row.height();
        }
        entry.layout->endLayout();
        m_shown.emplace(first + i, std::move(entry));
    }
}

void LogView::dropLayouts()
{
    m_shown.clear();
    m_bottomKnown = false;
}

int LogView::textWidth() const
{
    return std::max(1, viewport()->width() - 2 * Margin);
}

// How far the top line's first row lies above the view. Its layout may have been made anew with
// fewer rows (the file was cut short under the view), so the row is kept within it.
qreal LogView::topRowY()
{
    m_top.row = std::min(m_top.row, rowsOf(m_top.line) - 1);
    return shown(m_top.line).layout->lineAt(m_top.row).y();
}

int LogView::rowsOf(qint64 line)
{
    return std::max(1, shown(line).layout->lineCount());
}

qint64 LogView::firstVisibleLine() const
{
    return m_top.line;
}

qint64 LogView::lastVisibleLine()
{
    qint64 line = m_top.line;
    if (lineCount() == 0)
        return 0;
    qreal y = Margin - topRowY();
    for (;; ++line) {
        y += layoutHeight(*shown(line).layout);
        if (y >= viewport()->height() || line + 1 >= lineCount())
            return line;
    }
}

void LogView::scrollToLine(qint64 line)
{
    setTop({std::clamp<qint64>(line, 0, std::max<qint64>(lineCount() - 1, 0)), 0});
}

void LogView::scrollToEnd()
{
    setTop(bottomTop());
}

// Every move of the view comes here: the view that ends at the last line stays there as lines
// come, and any other stays where it is.
void LogView::setTop(Top top)
{
    const Top bottom = bottomTop();
    m_top = std::clamp(top, Top(), bottom);
    m_atEnd = m_top == bottom;
    updateScrollBars();
    viewport()->update();
}

void LogView::scrollRows(int rows)
{
    const Top bottom = bottomTop();
    Top top = m_top;
    for (; rows > 0 && top < bottom; --rows) {
        if (top.row + 1 < rowsOf(top.line))
            ++top.row;
        else
            top = {top.line + 1, 0};
    }
    for (; rows < 0 && top > Top(); ++rows) {
        if (top.row > 0)
            --top.row;
        else
            top = {top.line - 1, rowsOf(top.line - 1) - 1};
    }
    setTop(top);
}

// The top that shows the last line's last row at the bottom of the view. Until the scan is
// done, the last line found so far may go to the top.
LogView::Top LogView::bottomTop()
{
    if (lineCount() == 0)
        return {};
    if (!m_lines->isComplete())
        return {lineCount() - 1, 0};
    if (m_bottomKnown)
        return m_bottomTop;
    qreal room = viewport()->height() - 2 * Margin;
    Top top;
    for (qint64 line = lineCount() - 1; line >= 0; --line) {
        const QTextLayout& layout = *shown(line).layout;
        const qreal height = layoutHeight(layout);
        if (height >= room) {
            int row = 0;
            while (row + 1 < layout.lineCount() && height - layout.lineAt(row).y() > room)
                ++row;
            top = {line, row};
            break;
        }
        room -= height;
    }
    m_bottomTop = top;
    m_bottomKnown = true;
    return top;
}

void LogView::updateScrollBars()
{
    m_settingBars = true;
    const qint64 lastTop = bottomTop().line;
    m_linesPerStep = std::max<qint64>(1, lastTop / INT_MAX + 1);
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, static_cast<int>(lastTop / m_linesPerStep));
    vertical->setPageStep(std::max(1, viewport()->height() / fontMetrics().lineSpacing()));
    vertical->setValue(static_cast<int>(m_top.line / m_linesPerStep));

    qreal widest = 0;
    if (lineCount() > 0) {
        qreal y = Margin - topRowY();
        for (qint64 line = m_top.line; line < lineCount() && y < viewport()->height(); ++line) {
            const QTextLayout& layout = *shown(line).layout;
            for (int row = 0; row < layout.lineCount(); ++row)
                widest = std::max(widest, layout.lineAt(row).naturalTextWidth());
            y += layoutHeight(layout);
        }
    }
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0,
                         std::max(0, static_cast<int>(widest) + 2 * Margin - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    m_settingBars = false;
}

void LogView::scrollContentsBy(int /*dx*/, int dy)
{
    if (dy != 0 && !m_settingBars) {
        const QScrollBar* bar = verticalScrollBar();
        setTop(bar->value() == bar->maximum() ? bottomTop()
                                              : Top{qint64(bar->value()) * m_linesPerStep, 0});
    }
    viewport()->update();
}

void LogView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(viewport());
    // The newest lines are known only once the scan has reached them.
    if (m_atEnd && !m_lines->isComplete()) {
        painter.drawText(
            viewport()->rect(), Qt::AlignCenter,
            tr("Reading the log... %1%")
                .arg(m_lines->scannedBytes() * 100 / std::max<qint64>(m_lines->size(), 1)));
        return;
    }
    if (lineCount() == 0)
        return;
    const Position start = selectionStart();
    const Position end = selectionEnd();
    const qreal x = Margin - horizontalScrollBar()->value();
    qreal y = Margin - topRowY();
    for (qint64 line = m_top.line; line < lineCount() && y < viewport()->height(); ++line) {
        const Shown& entry = shown(line);
        QList<QTextLayout::FormatRange> selected;
        if (start != end && line >= start.line && line <= end.line) {
            QTextLayout::FormatRange range;
            range.start = line == start.line ? static_cast<int>(start.column) : 0;
            // A selection that goes on past the line takes its break too.
            const qsizetype to = line == end.line ? end.column : entry.text.size() + 1;
            range.length = static_cast<int>(to - range.start);
            range.format.setBackground(palette().highlight());
            range.format.setForeground(palette().highlightedText());
            selected.append(range);
        }
        entry.layout->draw(&painter, {x, y}, selected);
        y += layoutHeight(*entry.layout);
    }
}

void LogView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layOutAgain();
}

void LogView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layOutAgain();
}

void LogView::layOutAgain()
{
    dropLayouts();
    m_top.row = 0;
    setTop(m_atEnd ? bottomTop() : m_top);
}

void LogView::keyPressEvent(QKeyEvent* event)
{
    const int page = std::max(1, viewport()->height() / fontMetrics().lineSpacing() - 1);
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey && contextMenuPolicy() == Qt::CustomContextMenu)
        emit customContextMenuRequested({4 * Margin, 4 * Margin});
    else if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else if (event->matches(QKeySequence::MoveToStartOfDocument) || event->key() == Qt::Key_Home)
        setTop({});
    else if (event->matches(QKeySequence::MoveToEndOfDocument) || event->key() == Qt::Key_End)
        scrollToEnd();
    else if (event->key() == Qt::Key_Up)
        scrollRows(-1);
    else if (event->key() == Qt::Key_Down)
        scrollRows(1);
    else if (event->key() == Qt::Key_PageUp)
        scrollRows(-page);
    else if (event->key() == Qt::Key_PageDown)
        scrollRows(page);
    else if (event->key() == Qt::Key_Left)
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (event->key() == Qt::Key_Right)
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    else
        QAbstractScrollArea::keyPressEvent(event);
}

void LogView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (std::abs(delta.y()) >= std::abs(delta.x())) {
        // Fine-grained wheels and touch pads send small steps; they add up to rows.
        m_wheelRest += delta.y() * QApplication::wheelScrollLines();
        const int rows = m_wheelRest / 120;
        m_wheelRest -= rows * 120;
        scrollRows(-rows);
    } else
        QAbstractScrollArea::wheelEvent(event);
    event->accept();
}

LogView::Position LogView::positionAt(QPoint point)
{
    if (lineCount() == 0)
        return {};
    const qreal x = point.x() - Margin + horizontalScrollBar()->value();
    qreal y = Margin - topRowY();
    for (qint64 line = m_top.line;; ++line) {
        const QTextLayout& layout = *shown(line).layout;
        const qreal height = layoutHeight(layout);
        const bool last = line + 1 >= lineCount() || y + height >= viewport()->height();
        if (point.y() < y + height || last) {
            const qreal inside = std::clamp<qreal>(point.y() - y, 0, height - 1);
            for (int row = 0; row < layout.lineCount(); ++row) {
                const QTextLine textRow = layout.lineAt(row);
                if (inside < textRow.y() + textRow.height() || row + 1 == layout.lineCount())
                    return {line, textRow.xToCursor(x)};
            }
        }
        y += height;
    }
}

void LogView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_caret = positionAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = m_caret;
    m_selecting = true;
    viewport()->update();
}

void LogView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_selecting)
        dragTo(event->position().toPoint());
}

// Dragging past the top or the bottom scrolls on while the mouse stays there.
void LogView::dragTo(QPoint point)
{
    m_dragPoint = point;
    m_caret = positionAt(point);
    if (point.y() < 0 || point.y() >= viewport()->height())
        m_dragScroll.start(50, this);
    else
        m_dragScroll.stop();
    viewport()->update();
}

void LogView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_dragScroll.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    scrollRows(m_dragPoint.y() < 0 ? -1 : 1);
    m_caret = positionAt(m_dragPoint);
    viewport()->update();
}

void LogView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_selecting)
        return;
    m_selecting = false;
    m_dragScroll.stop();
    if (QClipboard* clipboard = QApplication::clipboard();
        hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

// A word here is what lies between blanks: a path or a time stamp is taken whole.
void LogView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || lineCount() == 0)
        return;
    const Position at = positionAt(event->position().toPoint());
    const QString& text = shown(at.line).text;
    qsizetype from = std::min(at.column, text.size());
    qsizetype to = from;
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    while (to < text.size() && !text.at(to).isSpace())
        ++to;
    select({at.line, from}, {at.line, to});
    m_selecting = false;
}

bool LogView::hasSelection() const
{
    return m_anchor != m_caret;
}

LogView::Position LogView::selectionStart() const
{
    return std::min(m_anchor, m_caret);
}

LogView::Position LogView::selectionEnd() const
{
    return std::max(m_anchor, m_caret);
}

void LogView::select(Position anchor, Position caret)
{
    m_anchor = anchor;
    m_caret = caret;
    viewport()->update();
}

// Selecting all needs the last line, so the scan is finished first.
void LogView::selectAll()
{
    while (!m_lines->indexMore(SliceBytes)) {
    }
    workSlice();
    if (lineCount() == 0)
        return;
    const qint64 last = lineCount() - 1;
    select({0, 0}, {last, shown(last).text.size()});
}

qint64 LogView::selectedBytes()
{
    return hasSelection() ? byteOffset(selectionEnd()) - byteOffset(selectionStart()) : 0;
}

QString LogView::selectedText()
{
    if (!hasSelection() || selectedBytes() > MaxCopyBytes)
        return {};
    return textOfSelection();
}

QString LogView::textOfSelection()
{
    const Position start = selectionStart();
    const Position end = selectionEnd();
    QStringList parts;
    for (qint64 line = start.line; line <= end.line;) {
        const QList<QByteArray> batch = m_lines->lines(line, 1024);
        if (batch.isEmpty())
            break;
        for (const QByteArray& bytes : batch) {
            QString text = shownText(decodeBytes(bytes));
            if (line == end.line)
                text.truncate(end.column);
            if (line == start.line)
                text.remove(0, start.column);
            parts.append(text);
            if (++line > end.line)
                break;
        }
    }
    return parts.join(u'\n');
}

void LogView::copy()
{
    if (!hasSelection())
        return;
    if (const qint64 bytes = selectedBytes(); bytes > MaxCopyBytes) {
        emit copyRefused(bytes);
        return;
    }
    QApplication::clipboard()->setText(textOfSelection());
}

qint64 LogView::byteOffset(Position at)
{
    if (lineCount() == 0)
        return 0;
    const QString& text = shown(at.line).text;
    return m_lines->lineStart(at.line) +
           encodeText(QStringView(text).left(std::min(at.column, text.size()))).size();
}

LogView::Position LogView::positionOf(qint64 offset)
{
    const qint64 line = m_lines->lineAt(offset);
    const QByteArray bytes = encodeText(shown(line).text);
    const qint64 inLine = std::clamp<qint64>(offset - m_lines->lineStart(line), 0, bytes.size());
    return {line, decodeBytes(QByteArrayView(bytes).first(inLine)).size()};
}

void LogView::ensureVisible(Position at)
{
    if (at.line < m_top.line || at.line > lastVisibleLine() - 1) {
        const qint64 rows = viewport()->height() / fontMetrics().lineSpacing();
        setTop({std::max<qint64>(0, at.line - rows / 3), 0});
    }
    const QTextLayout& layout = *shown(at.line).layout;
    const QTextLine row = layout.lineForTextPosition(static_cast<int>(at.column));
    if (!row.isValid())
        return;
    const int x = static_cast<int>(row.cursorToX(static_cast<int>(at.column)));
    QScrollBar* horizontal = horizontalScrollBar();
    if (x < horizontal->value() || x > horizontal->value() + textWidth())
        horizontal->setValue(x - textWidth() / 2);
}

void LogView::find(const QString& text, bool matchCase, bool backward)
{
    m_findBytes = encodeText(text);
    // The last match's own offset: one in the hidden end of a long line has no column of its own.
    const bool onLastMatch = hasSelection() && m_lastMatch && m_lastMatch->anchor == m_anchor &&
                             m_lastMatch->caret == m_caret;
    qint64 from = onLastMatch
                      ? m_lastMatch->offset
                      : byteOffset(hasSelection() ? selectionStart() : Position{m_top.line, 0});
    if (hasSelection() && !backward)
        ++from;
    m_search =
        std::make_unique<LogLines::Search>(*m_lines, m_findBytes, matchCase, !backward, from);
    workSlice();
}

bool LogView::isFinding() const
{
    return m_search != nullptr;
}

void LogView::finishFind()
{
    const bool found = m_search->state() == LogLines::Search::State::Found;
    const bool wrapped = m_search->wrapped();
    if (found) {
        const Position at = positionOf(m_search->matchOffset());
        const qsizetype length = decodeBytes(m_findBytes).size();
        select(at, {at.line, at.column + length});
        m_lastMatch = LastMatch{m_search->matchOffset(), m_anchor, m_caret};
        ensureVisible(at);
    }
    m_search.reset();
    emit findFinished(found, wrapped);
}
