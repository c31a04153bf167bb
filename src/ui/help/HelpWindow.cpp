#include "HelpWindow.h"

#include "HelpBrowser.h"
#include "HelpSearch.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Where a list or tree item keeps the manual's reference (file and anchor) it leads to.
constexpr int RefRole = Qt::UserRole;

void describe(QWidget& widget, const QString& name, const QString& description)
{
    widget.setAccessibleName(name);
    widget.setAccessibleDescription(description);
}

void addTopics(QTreeWidgetItem& parent, const QList<HelpTopic>& topics)
{
    for (const HelpTopic& topic : topics) {
        auto* item = new QTreeWidgetItem(&parent, {topic.title});
        item->setData(0, RefRole, topic.ref);
        addTopics(*item, topic.children);
    }
}

QString pageOf(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery).toString();
}

// A page of the navigation: a labelled field above a list.
QWidget* labelledPage(const QString& label, QLineEdit* field, QWidget* list,
                      QWidget* below = nullptr)
{
    auto* page = new QWidget;
    auto* caption = new QLabel(label, page);
    caption->setBuddy(field);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(caption);
    layout->addWidget(field);
    if (below)
        layout->addWidget(below);
    layout->addWidget(list, 1);
    return page;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_tabs(new QTabWidget)
    , m_browser(new HelpBrowser)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Runlatch Help"));
    // A viewer beside the program: it never keeps the program alive once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 620);

    m_tabs->setObjectName(QStringLiteral("HelpTabs"));
    describe(*m_tabs, tr("Find a topic"),
             tr("The manual's contents, its index and a full-text search"));
    m_tabs->addTab(createContentsPage(), tr("&Contents"));
    m_tabs->addTab(createIndexPage(), tr("&Index"));
    m_tabs->addTab(createSearchPage(), tr("&Search"));

    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    describe(*m_browser, tr("Help page"), tr("The topic of the manual shown"));
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::selectInContents);
    connect(m_browser, &HelpBrowser::linkFailed, this, [this](const QUrl& url) {
        statusBar()->showMessage(
            tr("No program could be started for the link %1.").arg(url.toDisplayString()));
    });

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);
    createToolBar();
    statusBar()->setObjectName(QStringLiteral("HelpStatus"));
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::Contents1Click(const QWidget* owner)
{
    m_tabs->setCurrentIndex(0);
    showTopic(m_manual.homeRef());
    // A window the user has open stays where they put it. It is placed again once shown, when
    // its frame, which counts in the centring, is known.
    const bool placing = owner && !isVisible();
    if (placing)
        centreOver(*owner);
    show();
    if (placing)
        centreOver(*owner);
    raise();
    activateWindow();
}

QWidget* HelpWindow::createContentsPage()
{
    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setHeaderHidden(true);
    describe(*m_contents, tr("Contents"), tr("The manual's topics; Enter or a click shows one"));
    addTopics(*m_contents->invisibleRootItem(), m_manual.contents());
    m_contents->expandAll();
    const auto open = [this](const QTreeWidgetItem* item) {
        showTopic(item->data(0, RefRole).toString());
    };
    connect(m_contents, &QTreeWidget::itemClicked, this, open);
    connect(m_contents, &QTreeWidget::itemActivated, this, open);
    return m_contents;
}

QWidget* HelpWindow::createIndexPage()
{
    m_indexFilter = new QLineEdit;
    m_indexFilter->setObjectName(QStringLiteral("HelpIndexFilter"));
    m_indexFilter->setClearButtonEnabled(true);
    describe(*m_indexFilter, tr("Look for"),
             tr("Narrows the index to the keywords that hold what is typed; Enter shows the "
                "topic of the one selected"));
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("HelpIndex"));
    describe(*m_index, tr("Index"),
             tr("The manual's keywords; Enter or a double click shows the topic"));
    for (const HelpKeyword& keyword : m_manual.keywords()) {
        auto* item = new QListWidgetItem(keyword.name, m_index);
        item->setData(RefRole, keyword.ref);
    }

    m_indexFilter->installEventFilter(this);
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this,
            [this] { openIndexEntry(m_index->currentItem()); });
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::openIndexEntry);
    return labelledPage(tr("&Look for:"), m_indexFilter, m_index);
}

QWidget* HelpWindow::createSearchPage()
{
    m_searchInput = new QLineEdit;
    m_searchInput->setObjectName(QStringLiteral("HelpSearchInput"));
    m_searchInput->setClearButtonEnabled(true);
    describe(*m_searchInput, tr("Search for"),
             tr("Words to look for in every topic; Enter searches"));
    m_searchStatus = new QLabel;
    m_searchStatus->setObjectName(QStringLiteral("HelpSearchStatus"));
    m_searchStatus->setWordWrap(true);
    m_searchResults = new QListWidget;
    m_searchResults->setObjectName(QStringLiteral("HelpSearchResults"));
    describe(*m_searchResults, tr("Search results"),
             tr("The topics that hold the words searched for, best first; a click shows one"));

    m_searchInput->installEventFilter(this);
    connect(m_searchInput, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(m_searchResults, &QListWidget::itemClicked, this, &HelpWindow::openSearchResult);
    connect(m_searchResults, &QListWidget::itemActivated, this, &HelpWindow::openSearchResult);
    return labelledPage(tr("Search &for:"), m_searchInput, m_searchResults, m_searchStatus);
}

void HelpWindow::createToolBar()
{
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"),
                                   m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);

    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                      tr("&Forward"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("C&ontents"), this,
                   [this] { showTopic(m_manual.homeRef()); });
}

// The arrow keys reach the list below a field, so that the keyboard needs no Tab: in the index
// they move through the keywords while typing goes on; in the search they enter the results.
bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool moves = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                       key == Qt::Key_PageDown;
    if (watched == m_indexFilter && moves) {
        QCoreApplication::sendEvent(m_index, event);
        return true;
    }
    if (watched == m_searchInput && key == Qt::Key_Down && m_searchResults->count() > 0) {
        m_searchResults->setFocus();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Keywords that hold the text stay; the first that begins with it is selected, as that is most
// likely the one meant, so that Enter shows its topic.
void HelpWindow::filterIndex(const QString& text)
{
    QListWidgetItem* best = nullptr;
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < m_index->count(); ++row) {
        QListWidgetItem* item = m_index->item(row);
        const bool shown = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
        if (shown && !best && item->text().startsWith(text, Qt::CaseInsensitive))
            best = item;
    }
    m_index->setCurrentItem(best ? best : first);
    if (m_index->currentItem())
        m_index->scrollToItem(m_index->currentItem());
}

void HelpWindow::openIndexEntry(const QListWidgetItem* item)
{
    if (item && !item->isHidden())
        showTopic(item->data(RefRole).toString());
}

void HelpWindow::runSearch()
{
    if (!m_search)
        m_search = std::make_unique<HelpSearch>(HelpSearch::ofManual(m_manual));
    const QString query = m_searchInput->text();
    m_searchedWords = HelpSearch::words(query);
    m_searchResults->clear();
    if (m_searchedWords.isEmpty()) {
        m_searchStatus->setText(tr("Type one or more words to look for."));
        return;
    }
    const QList<HelpSearch::Hit> hits = m_search->find(query);
    for (const HelpSearch::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, m_searchResults);
        item->setData(RefRole, hit.ref);
        item->setToolTip(hit.count == 1 ? tr("1 match") : tr("%1 matches").arg(hit.count));
    }
    if (hits.isEmpty())
        m_searchStatus->setText(tr("No topic holds every word of \"%1\".").arg(query.trimmed()));
    else
        m_searchStatus->setText(hits.size() == 1 ? tr("1 topic found.")
                                                 : tr("%1 topics found.").arg(hits.size()));
    m_searchResults->setCurrentRow(0);
}

void HelpWindow::openSearchResult(const QListWidgetItem* item)
{
    showTopic(item->data(RefRole).toString());
    m_browser->highlight(m_searchedWords);
}

void HelpWindow::showTopic(const QString& ref)
{
    m_browser->setSource(HelpManual::urlOf(ref));
}

void HelpWindow::selectInContents(const QUrl& url)
{
    const QString page = pageOf(url);
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if (pageOf(HelpManual::urlOf((*it)->data(0, RefRole).toString())) == page) {
            m_contents->setCurrentItem(*it);
            return;
        }
    }
}

// The window's middle on the owner's middle, kept whole on the owner's screen.
void HelpWindow::centreOver(const QWidget& owner)
{
    const QRect around = owner.frameGeometry();
    QRect placed(QPoint(0, 0), frameGeometry().size());
    placed.moveCenter(around.center());
    if (const QScreen* screen = owner.screen()) {
        const QRect room = screen->availableGeometry();
        placed.moveLeft(
            std::max(room.left(), std::min(placed.left(), room.right() - placed.width() + 1)));
        placed.moveTop(
            std::max(room.top(), std::min(placed.top(), room.bottom() - placed.height() + 1)));
    }
    move(placed.topLeft());
}
