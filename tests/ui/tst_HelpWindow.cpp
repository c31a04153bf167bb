#include "AccessibilityChecks.h"
#include "EditorScreenshot.h"
#include "HelpBrowser.h"
#include "HelpCollection.h"
#include "HelpWindow.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

// The manual the build made beside the program.
const QString BuiltCollection = QStringLiteral(RUNLATCH_HELP_COLLECTION);

// Contents, index and the full-text index are built on threads of Qt Help's own; a slow or
// sanitised build may take a while.
constexpr int Patience = 60000;

QString builtFolder()
{
    return QFileInfo(BuiltCollection).absolutePath();
}

QUrl topicUrl(const QString& page)
{
    return QUrl(QStringLiteral("qthelp://runlatch.manual/doc/") + page);
}

bool copyBuilt(const QString& name, const QString& folder)
{
    return QFile::copy(QDir(builtFolder()).filePath(name), QDir(folder).filePath(name));
}

bool setModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

// The titles of the contents, depth first, as the contents tree lists them.
void collectTitles(const QHelpContentModel& model, const QModelIndex& parent, QStringList& titles)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex item = model.index(row, 0, parent);
        titles << model.data(item, Qt::DisplayRole).toString();
        collectTitles(model, item, titles);
    }
}

// The URLs of the contents, in the same order.
void collectUrls(QHelpContentModel& model, const QModelIndex& parent, QList<QUrl>& urls)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex item = model.index(row, 0, parent);
        urls << model.contentItemAt(item)->url();
        collectUrls(model, item, urls);
    }
}

HelpBrowser* browserOf(const HelpWindow& window)
{
    return window.findChild<HelpBrowser*>(QStringLiteral("HelpBrowser"));
}

QTabWidget* tabsOf(const HelpWindow& window)
{
    return window.findChild<QTabWidget*>(QStringLiteral("HelpTabs"));
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void helpFoldersStartBesideTheProgram();
    void findHelpCollectionTakesTheFirstFolderThatHasOne_data();
    void findHelpCollectionTakesTheFirstFolderThatHasOne();
    void copyHelpCollectionMakesAWorkingCopy();
    void copyHelpCollectionKeepsAnIdenticalCopy();
    void copyHelpCollectionRefreshesAChangedCopy();
    void copyHelpCollectionFailsWithoutAFolder();
    void usableHelpCollectionStaysInAWritableFolder();
    void usableHelpCollectionCopiesFromAReadOnlyFolder();

    void contentsOpensTheWindowAtTheContentsPage();
    void contentsListEveryTopic();
    void indexLeadsEachKeywordToItsTopic_data();
    void indexLeadsEachKeywordToItsTopic();
    void indexFilterShowsTheTopic();
    void searchForDelayedFindsTheScheduleTopic();
    void missingOrDamagedManualIsReported_data();
    void missingOrDamagedManualIsReported();
    void aWindowOfItsOwnThatNeverKeepsTheProgramAlive();
    void opensCentredOverItsOwner_data();
    void opensCentredOverItsOwner();
    void anOpenWindowStaysWhereItIs();
    void everyControlIsDescribed();

private:
    // Opens the built manual in window and waits until its contents and index are listed.
    static void openBuilt(HelpWindow& window);

    QTemporaryDir m_scratch;
};

void TestHelpWindow::initTestCase()
{
    QVERIFY2(QFileInfo(BuiltCollection).isFile(), qPrintable(BuiltCollection));
    QVERIFY(QFileInfo(QDir(builtFolder()).filePath(HelpManualName)).isFile());
    QVERIFY(m_scratch.isValid());
    const QDir scratch(m_scratch.path());
    QVERIFY(scratch.mkpath(QStringLiteral("empty")));
    QVERIFY(scratch.mkpath(QStringLiteral("withFile")));
    QVERIFY(writeBytes(scratch.filePath(QStringLiteral("withFile/Runlatch.qhc")), {}));
    QVERIFY(scratch.mkpath(QStringLiteral("withFolder/Runlatch.qhc")));
}

void TestHelpWindow::openBuilt(HelpWindow& window)
{
    window.Contents1Click();
    QHelpEngine* engine = window.helpEngine();
    QVERIFY(engine != nullptr);
    QHelpContentModel* contents = engine->contentModel();
    QTRY_VERIFY_WITH_TIMEOUT(!contents->isCreatingContents() && contents->rowCount() > 0, Patience);
    QHelpIndexModel* index = engine->indexModel();
    QTRY_VERIFY_WITH_TIMEOUT(!index->isCreatingIndex() && index->rowCount() > 0, Patience);
}

void TestHelpWindow::helpFoldersStartBesideTheProgram()
{
    const QStringList expected{QStringLiteral("/opt/runlatch/bin"),
                               QStringLiteral("/opt/runlatch/share/runlatch")};
    QCOMPARE(helpFolders(QStringLiteral("/opt/runlatch/bin")), expected);
    QCOMPARE(helpFolders(QStringLiteral("/opt/runlatch/bin/")), expected);
}

void TestHelpWindow::findHelpCollectionTakesTheFirstFolderThatHasOne_data()
{
    // Folder names are those made by initTestCase; "built" stands for the built manual's folder.
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no folders") << QStringList() << QString();
    QTest::newRow("none holds one") << QStringList{QStringLiteral("empty")} << QString();
    QTest::newRow("a folder of that name is no collection")
        << QStringList{QStringLiteral("withFolder")} << QString();
    QTest::newRow("the first that holds one")
        << QStringList{QStringLiteral("empty"), QStringLiteral("built"), QStringLiteral("withFile")}
        << QStringLiteral("built");
    QTest::newRow("an earlier folder wins")
        << QStringList{QStringLiteral("withFile"), QStringLiteral("built")}
        << QStringLiteral("withFile");
    QTest::newRow("a missing folder is passed over")
        << QStringList{QStringLiteral("missing"), QStringLiteral("built")}
        << QStringLiteral("built");
}

void TestHelpWindow::findHelpCollectionTakesTheFirstFolderThatHasOne()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    const QDir scratch(m_scratch.path());
    const auto folderOf = [&](const QString& name) {
        return name == u"built" ? builtFolder() : scratch.filePath(name);
    };
    QStringList paths;
    for (const QString& name : std::as_const(folders))
        paths << folderOf(name);
    const QString expectedPath =
        expected.isEmpty()
            ? QString()
            : QFileInfo(QDir(folderOf(expected)).filePath(HelpCollectionName)).absoluteFilePath();

    QCOMPARE(::findHelpCollection(paths), expectedPath);
}

void TestHelpWindow::copyHelpCollectionMakesAWorkingCopy()
{
    const QString cache = QDir(m_scratch.path()).filePath(QStringLiteral("cache/help"));

    const QString copy = copyHelpCollection(BuiltCollection, cache);

    QCOMPARE(copy, QDir(cache).filePath(HelpCollectionName));
    QVERIFY(QFileInfo(QDir(cache).filePath(HelpManualName)).isFile());
    QHelpEngineCore engine(copy);
    QVERIFY(engine.setupData());
    QCOMPARE(engine.registeredDocumentations(), QStringList{QStringLiteral("runlatch.manual")});
    QVERIFY(!engine.fileData(topicUrl(QStringLiteral("index.html"))).isEmpty());
}

void TestHelpWindow::copyHelpCollectionKeepsAnIdenticalCopy()
{
    const QTemporaryDir cache;
    QVERIFY(!copyHelpCollection(BuiltCollection, cache.path()).isEmpty());
    // A copy of the same size and time counts as the same file, whatever it holds.
    const QString copied = QDir(cache.path()).filePath(HelpManualName);
    const QByteArray marked(QFileInfo(copied).size(), 'x');
    QVERIFY(writeBytes(copied, marked));
    QVERIFY(setModified(copied,
                        QFileInfo(QDir(builtFolder()).filePath(HelpManualName)).lastModified()));

    QVERIFY(!copyHelpCollection(BuiltCollection, cache.path()).isEmpty());

    QCOMPARE(readBytes(copied), marked);
}

void TestHelpWindow::copyHelpCollectionRefreshesAChangedCopy()
{
    const QTemporaryDir source;
    const QTemporaryDir cache;
    QVERIFY(copyBuilt(HelpCollectionName, source.path()));
    QVERIFY(copyBuilt(HelpManualName, source.path()));
    const QString collection = QDir(source.path()).filePath(HelpCollectionName);
    QVERIFY(!copyHelpCollection(collection, cache.path()).isEmpty());
    const QString manual = QDir(source.path()).filePath(HelpManualName);
    const QDateTime later = QFileInfo(manual).lastModified().addSecs(3600);
    QVERIFY(setModified(manual, later));
    const QString copied = QDir(cache.path()).filePath(HelpManualName);
    QVERIFY(writeBytes(copied, "stale"));

    QVERIFY(!copyHelpCollection(collection, cache.path()).isEmpty());

    QCOMPARE(QFileInfo(copied).lastModified(), later);
    QCOMPARE(readBytes(copied), readBytes(manual));
}

void TestHelpWindow::copyHelpCollectionFailsWithoutAFolder()
{
    const QString file = QDir(m_scratch.path()).filePath(QStringLiteral("aFile"));
    QVERIFY(writeBytes(file, "not a folder"));

    QCOMPARE(copyHelpCollection(BuiltCollection, file + QStringLiteral("/help")), QString());
}

void TestHelpWindow::usableHelpCollectionStaysInAWritableFolder()
{
    const QString cache = QDir(m_scratch.path()).filePath(QStringLiteral("unusedCache"));

    QCOMPARE(usableHelpCollection(BuiltCollection, cache), BuiltCollection);
    QCOMPARE(usableHelpCollection(BuiltCollection, QString()), BuiltCollection);
    QVERIFY(!QFileInfo::exists(cache));
}

void TestHelpWindow::usableHelpCollectionCopiesFromAReadOnlyFolder()
{
    const QTemporaryDir installed;
    const QTemporaryDir cache;
    QVERIFY(copyBuilt(HelpCollectionName, installed.path()));
    QVERIFY(copyBuilt(HelpManualName, installed.path()));
    QFile folder(installed.path());
    const QFileDevice::Permissions writable = folder.permissions();
    QVERIFY(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool bound = !QFileInfo(installed.path()).isWritable();
    const QString collection = QDir(installed.path()).filePath(HelpCollectionName);
    const QString usable = usableHelpCollection(collection, cache.path());
    QVERIFY(folder.setPermissions(writable));
    if (!bound)
        QSKIP("This user may write to any folder, so no folder is read-only to it");

    QCOMPARE(usable, QDir(cache.path()).filePath(HelpCollectionName));
}

void TestHelpWindow::contentsOpensTheWindowAtTheContentsPage()
{
    HelpWindow window({builtFolder()});
    QVERIFY(!window.isVisible());

    openBuilt(window);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(window.isVisible());
    HelpBrowser* browser = browserOf(window);
    QCOMPARE(browser->source(), topicUrl(QStringLiteral("index.html")));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Runlatch Manual"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Topics")));
    QTabWidget* tabs = tabsOf(window);
    QVERIFY(!tabs->isHidden());
    QCOMPARE(tabs->currentWidget(), window.helpEngine()->contentWidget());
    // The pages' style sheet is named relative to the page.
    QVERIFY(
        !browser
             ->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("runlatch.css")))
             .toByteArray()
             .isEmpty());

    // Elsewhere in the manual, Contents comes back to the contents page.
    browser->setSource(topicUrl(QStringLiteral("schedule.html")));
    QCOMPARE(browser->documentTitle(), QStringLiteral("The Schedule and Delayed Start"));
    tabs->setCurrentIndex(2);
    window.Contents1Click();
    QCOMPARE(browser->source(), topicUrl(QStringLiteral("index.html")));
    QCOMPARE(tabs->currentIndex(), 0);
    QTRY_COMPARE(window.helpEngine()->contentWidget()->currentIndex().data().toString(),
                 QStringLiteral("Runlatch Manual"));

    browser->setSource(topicUrl(QStringLiteral("schedule.html")));
    QVERIFY(saveEditorScreenshot(window, QStringLiteral("help-window.png")));
}

void TestHelpWindow::contentsListEveryTopic()
{
    HelpWindow window({builtFolder()});
    openBuilt(window);
    if (QTest::currentTestFailed())
        return;
    QHelpContentModel& model = *window.helpEngine()->contentModel();

    QStringList titles;
    collectTitles(model, {}, titles);
    const QStringList expected{
        QStringLiteral("Runlatch Manual"),
        QStringLiteral("Getting Started"),
        QStringLiteral("Opening and Saving Job Files"),
        QStringLiteral("The Job List"),
        QStringLiteral("Running the Jobs"),
        QStringLiteral("The Schedule and Delayed Start"),
        QStringLiteral("The Command Line"),
        QStringLiteral("The Log"),
        QStringLiteral("The Job File Format"),
        QStringLiteral("Messages and What to Do"),
    };
    QCOMPARE(titles, expected);

    // Every entry leads to a page of the manual that carries the same title.
    QList<QUrl> urls;
    collectUrls(model, {}, urls);
    QCOMPARE(urls.size(), expected.size());
    for (qsizetype i = 0; i < urls.size(); ++i) {
        const QByteArray page = window.helpEngine()->fileData(urls.at(i));
        QVERIFY2(page.contains("<title>" + expected.at(i).toUtf8() + "</title>"),
                 qPrintable(urls.at(i).toString()));
    }
}

void TestHelpWindow::indexLeadsEachKeywordToItsTopic_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("page");

    // clang-format off
    QTest::newRow("job list")
        << QStringLiteral("job list")                   << QStringLiteral("job-list.html");
    QTest::newRow("delayed start")
        << QStringLiteral("delayed start")              << QStringLiteral("schedule.html");
    QTest::newRow("command-line switch")
        << QStringLiteral("/R switch")                  << QStringLiteral("command-line.html");
    QTest::newRow("name of the log file")
        << QStringLiteral("Runlatch.log")               << QStringLiteral("log.html");
    QTest::newRow("job file key")
        << QStringLiteral("DelayedStartTime")           << QStringLiteral("job-file-format.html");
    QTest::newRow("a message")
        << QStringLiteral("Unable to find application") << QStringLiteral("messages.html");
    QTest::newRow("menu command")
        << QStringLiteral("File > Process")             << QStringLiteral("running.html");
    // clang-format on
}

void TestHelpWindow::indexLeadsEachKeywordToItsTopic()
{
    QFETCH(QString, keyword);
    QFETCH(QString, page);
    HelpWindow window({builtFolder()});
    openBuilt(window);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(window.helpEngine()->indexModel()->stringList().contains(keyword));
    const QList<QHelpLink> documents = window.helpEngine()->documentsForKeyword(keyword);
    QCOMPARE(documents.size(), 1);
    QCOMPARE(documents.constFirst().url.fileName(), page);
}

void TestHelpWindow::indexFilterShowsTheTopic()
{
    HelpWindow window({builtFolder()});
    openBuilt(window);
    if (QTest::currentTestFailed())
        return;
    auto* filter = window.findChild<QLineEdit*>(QStringLiteral("HelpIndexFilter"));
    QVERIFY(filter != nullptr);

    QTest::keyClicks(filter, QStringLiteral("delayed start"));
    QTest::keyClick(filter, Qt::Key_Return);

    QCOMPARE(browserOf(window)->source().fileName(), QStringLiteral("schedule.html"));
}

void TestHelpWindow::searchForDelayedFindsTheScheduleTopic()
{
    HelpWindow window({builtFolder()});
    window.Contents1Click();
    QHelpEngine* engine = window.helpEngine();
    QVERIFY(engine != nullptr);
    QHelpSearchEngine* search = engine->searchEngine();
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    QVERIFY(indexed.wait(Patience));

    auto* query = window.findChild<QHelpSearchQueryWidget*>(QStringLiteral("HelpSearchQuery"));
    QVERIFY(query != nullptr);
    auto* input = query->findChild<QLineEdit*>();
    QVERIFY(input != nullptr);
    QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
    query->setSearchInput(QStringLiteral("delayed"));
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(searched.wait(Patience));

    QStringList pages;
    for (const QHelpSearchResult& result : search->searchResults(0, search->searchResultCount()))
        pages << result.url().fileName();
    QVERIFY2(pages.contains(QStringLiteral("schedule.html")), qPrintable(pages.join(u' ')));

    // Choosing a result shows its page.
    auto* results = window.findChild<QHelpSearchResultWidget*>(QStringLiteral("HelpSearchResults"));
    QVERIFY(results != nullptr);
    emit results->requestShowLink(topicUrl(QStringLiteral("schedule.html")));
    QCOMPARE(browserOf(window)->documentTitle(), QStringLiteral("The Schedule and Delayed Start"));
}

void TestHelpWindow::missingOrDamagedManualIsReported_data()
{
    QTest::addColumn<QByteArray>("collection"); // null: no collection at all
    QTest::addColumn<QByteArray>("manual");     // null: no manual
    QTest::addColumn<QString>("report");

    const QByteArray built = readBytes(BuiltCollection);
    QVERIFY(!built.isEmpty());
    const QString notFound = QStringLiteral("could not be found in");
    const QString damaged = QStringLiteral("could not be opened");
    const QByteArray garbage(4096, '\x5a');

    // clang-format off
    QTest::newRow("no collection")            << QByteArray()   << QByteArray() << notFound;
    QTest::newRow("an empty collection")      << QByteArray("") << QByteArray() << damaged;
    QTest::newRow("an unreadable collection") << garbage        << QByteArray() << damaged;
    QTest::newRow("the manual missing")       << built          << QByteArray() << damaged;
    QTest::newRow("the manual unreadable")    << built          << garbage      << damaged;
    // clang-format on
}

void TestHelpWindow::missingOrDamagedManualIsReported()
{
    QFETCH(QByteArray, collection);
    QFETCH(QByteArray, manual);
    QFETCH(QString, report);
    const QTemporaryDir folder;
    if (!collection.isNull())
        QVERIFY(writeBytes(QDir(folder.path()).filePath(HelpCollectionName), collection));
    if (!manual.isNull())
        QVERIFY(writeBytes(QDir(folder.path()).filePath(HelpManualName), manual));
    HelpWindow window({folder.path()});

    // Asked twice: a manual that is not there is looked for again, and reported again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        window.Contents1Click();

        QVERIFY(window.isVisible());
        QVERIFY(window.helpEngine() == nullptr);
        QVERIFY(tabsOf(window)->isHidden());
        const QString shown = browserOf(window)->toPlainText();
        QVERIFY2(shown.contains(report), qPrintable(shown));
        QVERIFY2(shown.contains(HelpCollectionName), qPrintable(shown));
        QVERIFY2(shown.contains(QDir::toNativeSeparators(folder.path())), qPrintable(shown));
    }
}

void TestHelpWindow::aWindowOfItsOwnThatNeverKeepsTheProgramAlive()
{
    QMainWindow mainWindow;
    auto* help = new HelpWindow({builtFolder()}, &mainWindow);

    QVERIFY(help->isWindow());
    // Qt ends the program when the last window that counts closes; the main window must be it.
    QVERIFY(!help->testAttribute(Qt::WA_QuitOnClose));
}

void TestHelpWindow::opensCentredOverItsOwner_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<bool>("centred"); // false: kept on the screen instead

    QTest::newRow("in the middle") << QRect(120, 90, 520, 400) << true;
    QTest::newRow("smaller than the help") << QRect(300, 250, 200, 120) << true;
    QTest::newRow("in a corner") << QRect(620, 470, 180, 130) << false;
}

void TestHelpWindow::opensCentredOverItsOwner()
{
    QFETCH(QRect, owner);
    QFETCH(bool, centred);
    QWidget mainWindow;
    mainWindow.setGeometry(owner);
    mainWindow.show();
    HelpWindow window({m_scratch.filePath(QStringLiteral("empty"))});
    window.resize(400, 300);

    window.Contents1Click(&mainWindow);

    const QRect placed = window.frameGeometry();
    const QRect screen = mainWindow.screen()->availableGeometry();
    QVERIFY(window.isVisible());
    QVERIFY2(screen.contains(placed), "not kept on the screen");
    const QPoint offset = placed.center() - mainWindow.frameGeometry().center();
    QCOMPARE(offset.manhattanLength() <= 1, centred);
}

// Help > Contents again only brings the window to the front.
void TestHelpWindow::anOpenWindowStaysWhereItIs()
{
    QWidget mainWindow;
    mainWindow.setGeometry(120, 90, 520, 400);
    mainWindow.show();
    HelpWindow window({m_scratch.filePath(QStringLiteral("empty"))});
    window.resize(400, 300);
    window.Contents1Click(&mainWindow);
    window.move(10, 20);

    window.Contents1Click(&mainWindow);

    QCOMPARE(window.pos(), QPoint(10, 20));
}

// Every page of the navigation is looked at, as only the shown one counts.
void TestHelpWindow::everyControlIsDescribed()
{
    HelpWindow window({builtFolder()});
    openBuilt(window);
    if (QTest::currentTestFailed())
        return;
    QTabWidget* tabs = tabsOf(window);

    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        const QString missing = AccessibilityChecks::undescribedControls(window);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(tabs->tabText(page) + QStringLiteral(": ") + missing));
    }
}

QTEST_MAIN(TestHelpWindow)
#include "tst_HelpWindow.moc"
