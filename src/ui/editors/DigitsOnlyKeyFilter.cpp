#include "DigitsOnlyKeyFilter.h"

#include "ErrorGuard.h"
#include "Prompts.h"

#include <QKeyEvent>

#include <algorithm>

namespace {

// Whether the key types a character into the field, as opposed to moving, deleting or acting
// as a shortcut. Some platforms give Delete and Tab a control character as text, so they are
// told apart by their key.
bool typesCharacter(const QKeyEvent& event)
{
    if (event.text().isEmpty())
        return false;
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return true;
    }
}

bool isDigits(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

DigitsOnlyKeyFilter::DigitsOnlyKeyFilter(Prompts& prompts, QObject* parent)
    : QObject(parent)
    , m_prompts(prompts)
{}

bool DigitsOnlyKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (!typesCharacter(key) || isDigits(key.text()))
        return false;
    guarded(m_prompts, [this] { m_prompts.beep(); });
    return true;
}
