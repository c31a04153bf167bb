#include "DeferringPrompts.h"

#include <utility>

bool DeferringPrompts::setDeferring(bool deferring)
{
    return std::exchange(m_deferring, deferring);
}

QString DeferringPrompts::takeDeferred()
{
    return std::exchange(m_deferred, QString());
}

void DeferringPrompts::generalError(const QString& text)
{
    if (m_deferring)
        m_deferred = text;
    else
        m_prompts.generalError(text);
}
