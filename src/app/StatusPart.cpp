#include "StatusPart.h"

#include <QPainter>
#include <QStyle>

StatusPart::StatusPart(const QString& name, const QString& meaning, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(name);
    setAccessibleDescription(meaning);
    setTextFormat(Qt::PlainText);
}

void StatusPart::setStatus(const QString& text, const QString& toolTip)
{
    m_toolTip = toolTip;
    setText(text);
    updateToolTip();
}

// A long path or message must not widen the window: the part shrinks to a few characters.
QSize StatusPart::minimumSizeHint() const
{
    const QSize hint = QLabel::minimumSizeHint();
    return {std::min(hint.width(), fontMetrics().horizontalAdvance(QStringLiteral("Wwww…"))),
            hint.height()};
}

void StatusPart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                          shown, foregroundRole());
}

void StatusPart::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void StatusPart::updateToolTip()
{
    const bool cut = fontMetrics().horizontalAdvance(text()) > contentsRect().width();
    setToolTip(!m_toolTip.isEmpty() ? m_toolTip : cut ? text() : QString());
}
