#include "HelpBrowser.h"

#include <QHelpEngineCore>

HelpBrowser::HelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenExternalLinks(true);
}

void HelpBrowser::setHelpEngine(const QHelpEngineCore* engine)
{
    m_engine = engine;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    // Pages name their style sheet and one another relatively, as they would on disk.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (m_engine != nullptr && url.scheme() == u"qthelp")
        return m_engine->fileData(url.adjusted(QUrl::RemoveFragment));
    return QTextBrowser::loadResource(type, name);
}
