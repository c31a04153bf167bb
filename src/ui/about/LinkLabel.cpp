#include "LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace {

// The colour of a link's text, as the desktop's own links would have it on a light background.
const QColor LinkColor(0, 0, 255);

bool activatesLink(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}

} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    // The text is the link's caption, never markup.
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    showFocus(false);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QUrl LinkLabel::url() const
{
    const QString trimmed = m_target.trimmed();
    const QLatin1String mailScheme("mailto:");
    if (trimmed.startsWith(mailScheme, Qt::CaseInsensitive))
        return QUrl(mailScheme + trimmed.sliced(mailScheme.size()).trimmed());
    return QUrl::fromUserInput(trimmed);
}

// A label draws no focus of its own: the link with the focus is shown highlighted instead, which
// leaves its size and place unchanged.
void LinkLabel::showFocus(bool focused)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText,
                     focused ? colours.color(QPalette::HighlightedText) : LinkColor);
    setPalette(colours);
    setBackgroundRole(QPalette::Highlight);
    // Left to itself, the text would take the colour that goes with the highlight even unfocused.
    setForegroundRole(QPalette::WindowText);
    setAutoFillBackground(focused);
}

void LinkLabel::focusInEvent(QFocusEvent* event)
{
    showFocus(true);
    QLabel::focusInEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent* event)
{
    showFocus(false);
    QLabel::focusOutEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    if (!activatesLink(*event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    emit activated();
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release on the same link, as with any button.
    const bool click = event->button() == Qt::LeftButton && std::exchange(m_pressed, false) &&
                       rect().contains(event->position().toPoint());
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit activated();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press of a double click is not a click of its own: its release activates nothing more.
    // Not handed on, as QWidget would hand it to mousePressEvent as a press.
    m_pressed = false;
    if (event->button() == Qt::LeftButton)
        emit activated();
}
