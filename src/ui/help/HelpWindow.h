#pragma once

#include "HelpManual.h"

#include <QMainWindow>
#include <QUrl>

#include <memory>

class HelpBrowser;
class HelpSearch;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The help viewer behind Help > Contents: the manual's contents, index and full-text search
// beside the page shown. The program creates it once and it stays a window of its own, not
// modal. The manual is part of the program (HelpManual), so there is nothing to find or fail to
// open.
class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Help > Contents: shows and raises the window at the manual's contents page. A window that
    // was hidden opens centred over owner, when one is given.
    void Contents1Click(const QWidget* owner = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createContentsPage();
    QWidget* createIndexPage();
    QWidget* createSearchPage();
    void createToolBar();
    void filterIndex(const QString& text);
    void openIndexEntry(const QListWidgetItem* item);
    void runSearch();
    void openSearchResult(const QListWidgetItem* item);
    void showTopic(const QString& ref);
    void selectInContents(const QUrl& url);
    void centreOver(const QWidget& owner);

    HelpManual m_manual;
    // Made at the first search: most users never search.
    std::unique_ptr<HelpSearch> m_search;
    QStringList m_searchedWords;
    QTabWidget* m_tabs;
    HelpBrowser* m_browser;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_indexFilter = nullptr;
    QListWidget* m_index = nullptr;
    QLineEdit* m_searchInput = nullptr;
    QLabel* m_searchStatus = nullptr;
    QListWidget* m_searchResults = nullptr;
};
