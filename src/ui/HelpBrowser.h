#pragma once

#include <QTextBrowser>

class QHelpEngineCore;

// The page area of the help window. The manual's pages, and the style sheet and links they
// name, live inside the compressed manual and are reached through qthelp:// addresses, which
// only the help engine can read.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // The engine that reads qthelp:// addresses; nullptr while no manual is open.
    void setHelpEngine(const QHelpEngineCore* engine);

    [[nodiscard]] QVariant loadResource(int type, const QUrl& name) override;

private:
    const QHelpEngineCore* m_engine = nullptr;
};
