#pragma once

#include <QStringList>
#include <QTextBrowser>
#include <QUrl>

#include <functional>

// The page area of the help window. It follows the links between the manual's pages itself and
// hands every other link (a web address, a mail address) to the desktop, saying so when no
// program takes it; it can mark the words a search looked for on the page it shows.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    // Hands a link to the desktop; false when no program could be started for it.
    using LinkOpener = std::function<bool(const QUrl&)>;

    explicit HelpBrowser(QWidget* parent = nullptr);

    // Replaces the desktop, for tests.
    void setLinkOpener(LinkOpener opener) { m_openLink = std::move(opener); }

    // Marks every word of the page that begins with one of words (case aside), and selects and
    // scrolls to the first. Showing another page drops the marks.
    void highlight(const QStringList& words);

signals:
    void linkFailed(const QUrl& url);

private:
    void followLink(const QUrl& link);

    LinkOpener m_openLink;
};
