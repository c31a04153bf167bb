#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include <memory>

class HelpBrowser;
class QHelpEngine;
class QTabWidget;

// The help viewer behind Help > Contents: the manual's contents, index and full-text search
// beside the page shown. The program creates it once and it stays a window of its own, not
// modal. The manual is opened when the window is first shown; a manual that is missing or
// damaged is reported in the page area, and looked for again the next time.
class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    // folders: where to look for the manual, in order (see helpFolders()).
    explicit HelpWindow(QStringList folders, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Help > Contents: shows and raises the window at the manual's contents page. A window that
    // was hidden opens centred over owner, when one is given.
    void Contents1Click(const QWidget* owner = nullptr);

    // The engine of the open manual; nullptr while none could be opened.
    [[nodiscard]] QHelpEngine* helpEngine() const { return m_engine.get(); }

private:
    void openManual();
    void createNavigation();
    QWidget* createIndexPage();
    QWidget* createSearchPage();
    void createToolBar();
    void showTopic(const QUrl& url);
    void selectInContents(const QUrl& url);
    void showProblem(const QString& text);
    void centreOver(const QWidget& owner);

    QStringList m_folders;
    QTabWidget* m_tabs;
    HelpBrowser* m_browser;
    QUrl m_contentsPage;
    // Destroyed before the child widgets: the engine keeps pointers to the contents, index and
    // search widgets it made, which this window owns, so it must never outlive them.
    std::unique_ptr<QHelpEngine> m_engine;
};
