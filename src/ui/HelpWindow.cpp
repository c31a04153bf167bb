#include "HelpWindow.h"

#include "HelpBrowser.h"
#include "HelpCollection.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

void describe(QWidget& widget, const QString& name, const QString& description)
{
    widget.setAccessibleName(name);
    widget.setAccessibleDescription(description);
}

// The manual's virtual folder and first page, as runlatch.qhp sets them.
constexpr QLatin1StringView ContentsPagePath{"/doc/index.html"};

QString nativeFolderList(const QStringList& folders)
{
    QStringList shown;
    for (const QString& folder : folders)
        shown << QDir::toNativeSeparators(folder);
    return shown.join(QStringLiteral(", "));
}

// Where a copy of a manual in a read-only folder goes; empty when the system names no cache.
QString helpCacheFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/help");
}

QUrl contentsPageOf(const QHelpEngineCore& engine)
{
    const QStringList manuals = engine.registeredDocumentations();
    if (manuals.isEmpty())
        return {};
    return QUrl(QStringLiteral("qthelp://") + manuals.constFirst() + QString(ContentsPagePath));
}

// The engine of a usable collection, else nullptr. A collection Qt Help cannot read still sets
// up without an error, only with nothing in it, and one whose manual is missing still lists the
// manual; so what counts is whether the contents page can be read.
std::unique_ptr<QHelpEngine> openedEngine(const QString& collection)
{
    auto engine = std::make_unique<QHelpEngine>(collection);
    // Nothing is ever registered or stored, and the collection may lie in a read-only folder.
    engine->setReadOnly(true);
    // Asked for before setupData(): the search engine then indexes the manual, new or changed,
    // as soon as the setup has finished, so a forced reindex is never needed.
    engine->searchEngine();
    if (!engine->setupData() || engine->fileData(contentsPageOf(*engine)).isEmpty())
        return nullptr;
    return engine;
}

// The buttons of a widget in the order its layouts hold them, which is how they stand.
QList<QAbstractButton*> buttonsInLayoutOrder(const QWidget& parent)
{
    QList<QAbstractButton*> buttons;
    for (const QLayout* layout : parent.findChildren<QLayout*>())
        for (int i = 0; i < layout->count(); ++i)
            if (auto* button = qobject_cast<QAbstractButton*>(layout->itemAt(i)->widget()))
                buttons << button;
    return buttons;
}

// Qt Help builds the search page's fields and arrow buttons without names a screen reader
// could read.
void describeSearch(QHelpSearchQueryWidget& query, QHelpSearchResultWidget& results)
{
    describe(query, QCoreApplication::translate("HelpWindow", "Search"),
             QCoreApplication::translate("HelpWindow", "Full-text search of the manual"));
    for (QLineEdit* field : query.findChildren<QLineEdit*>())
        describe(*field, QCoreApplication::translate("HelpWindow", "Search for"),
                 QCoreApplication::translate("HelpWindow",
                                             "Words to look for in every topic; Enter searches"));
    for (QAbstractButton* button : query.findChildren<QAbstractButton*>()) {
        const QString what = button->text().isEmpty() ? button->toolTip() : button->text();
        describe(*button, what, what);
    }
    describe(
        results, QCoreApplication::translate("HelpWindow", "Search results"),
        QCoreApplication::translate("HelpWindow", "The topics that hold the words searched for"));
    for (QTextBrowser* list : results.findChildren<QTextBrowser*>())
        describe(
            *list, QCoreApplication::translate("HelpWindow", "Search results"),
            QCoreApplication::translate(
                "HelpWindow", "The topics that hold the words searched for; a click shows one"));
    // Name and description apart, so that a translation need not derive one from the other.
    struct Arrow {
        const char* name;
        const char* description;
    };
    static constexpr std::array<Arrow, 4> pages{{
        {QT_TRANSLATE_NOOP("HelpWindow", "First page of results"),
         QT_TRANSLATE_NOOP("HelpWindow", "Shows the first page of results")},
        {QT_TRANSLATE_NOOP("HelpWindow", "Previous page of results"),
         QT_TRANSLATE_NOOP("HelpWindow", "Shows the previous page of results")},
        {QT_TRANSLATE_NOOP("HelpWindow", "Next page of results"),
         QT_TRANSLATE_NOOP("HelpWindow", "Shows the next page of results")},
        {QT_TRANSLATE_NOOP("HelpWindow", "Last page of results"),
         QT_TRANSLATE_NOOP("HelpWindow", "Shows the last page of results")},
    }};
    constexpr Arrow anyPage{QT_TRANSLATE_NOOP("HelpWindow", "Results page"),
                            QT_TRANSLATE_NOOP("HelpWindow", "Shows the results page")};
    const QList<QAbstractButton*> arrows = buttonsInLayoutOrder(results);
    for (qsizetype i = 0; i < arrows.size(); ++i) {
        const Arrow& page =
            arrows.size() == qsizetype(pages.size()) ? pages[std::size_t(i)] : anyPage;
        describe(*arrows[i], QCoreApplication::translate("HelpWindow", page.name),
                 QCoreApplication::translate("HelpWindow", page.description));
    }
}

} // namespace

HelpWindow::HelpWindow(QStringList folders, QWidget* parent)
    : QMainWindow(parent)
    , m_folders(std::move(folders))
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
    m_tabs->hide();
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    describe(*m_browser, tr("Help page"), tr("The topic of the manual shown"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);
    createToolBar();
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::Contents1Click(const QWidget* owner)
{
    if (!m_engine)
        openManual();
    if (m_engine) {
        m_tabs->setCurrentIndex(0);
        showTopic(m_contentsPage);
    }
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

void HelpWindow::openManual()
{
    const QString found = findHelpCollection(m_folders);
    if (found.isEmpty()) {
        showProblem(tr("The help file %1 could not be found in %2.")
                        .arg(HelpCollectionName, nativeFolderList(m_folders)));
        return;
    }
    m_engine = openedEngine(usableHelpCollection(found, helpCacheFolder()));
    if (!m_engine) {
        showProblem(tr("The help file %1 could not be opened: it is damaged or "
                       "incomplete. Installing Runlatch again restores it.")
                        .arg(QDir::toNativeSeparators(found)));
        return;
    }
    m_contentsPage = contentsPageOf(*m_engine);
    m_browser->setHelpEngine(m_engine.get());
    createNavigation();
}

void HelpWindow::createNavigation()
{
    QHelpContentWidget* contents = m_engine->contentWidget();
    contents->setObjectName(QStringLiteral("HelpContents"));
    contents->setHeaderHidden(true);
    describe(*contents, tr("Contents"), tr("The manual's topics; Enter or a click shows one"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showTopic);
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandAll();
        selectInContents(m_browser->source());
    });

    m_tabs->addTab(contents, tr("&Contents"));
    m_tabs->addTab(createIndexPage(), tr("&Index"));
    m_tabs->addTab(createSearchPage(), tr("&Search"));
    m_tabs->show();

    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::selectInContents);
}

QWidget* HelpWindow::createIndexPage()
{
    auto* page = new QWidget;
    auto* filter = new QLineEdit(page);
    filter->setObjectName(QStringLiteral("HelpIndexFilter"));
    filter->setClearButtonEnabled(true);
    describe(*filter, tr("Look for"),
             tr("Narrows the index to the keywords that begin with what is typed"));
    auto* label = new QLabel(tr("&Look for:"), page);
    label->setBuddy(filter);
    QHelpIndexWidget* index = m_engine->indexWidget();
    index->setObjectName(QStringLiteral("HelpIndex"));
    describe(*index, tr("Index"),
             tr("The manual's keywords; Enter or a double click shows the topic"));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addWidget(filter);
    layout->addWidget(index);

    connect(filter, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(filter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& document) { showTopic(document.url); });
    // Every keyword of the manual leads to one page; should two pages share one, the first
    // is as good a choice as any.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& documents) { showTopic(documents.constFirst().url); });
    return page;
}

QWidget* HelpWindow::createSearchPage()
{
    QHelpSearchEngine* search = m_engine->searchEngine();
    QHelpSearchQueryWidget* query = search->queryWidget();
    query->setObjectName(QStringLiteral("HelpSearchQuery"));
    QHelpSearchResultWidget* results = search->resultWidget();
    results->setObjectName(QStringLiteral("HelpSearchResults"));
    describeSearch(*query, *results);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(query);
    layout->addWidget(results, 1);

    connect(query, &QHelpSearchQueryWidget::search, search,
            [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showTopic);
    return page;
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

    bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("C&ontents"), this, [this] {
        if (m_engine)
            showTopic(m_contentsPage);
    });
}

void HelpWindow::showTopic(const QUrl& url)
{
    m_browser->setSource(url);
}

void HelpWindow::selectInContents(const QUrl& url)
{
    QHelpContentWidget* contents = m_engine->contentWidget();
    const QModelIndex topic = contents->indexOf(url);
    if (topic.isValid())
        contents->setCurrentIndex(topic);
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

void HelpWindow::showProblem(const QString& text)
{
    m_browser->setHtml(tr("<h2>Help is not available</h2><p>%1</p>").arg(text.toHtmlEscaped()));
}
