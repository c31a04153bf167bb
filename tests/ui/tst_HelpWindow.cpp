#include "AccessibilityChecks.h"
#include "EditorScreenshot.h"
#include "HelpBrowser.h"
#include "HelpManual.h"
#include "HelpSearch.h"
#include "HelpWindow.h"
#include "TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// The manual as written, which the embedded one must match.
const QString SourceFolder = QStringLiteral(RUNLATCH_HELP_SOURCES);
const QString ProjectFile = QStringLiteral("runlatch.qhp");

QString sourceText(const QString& file)
{
    return QString::fromUtf8(readBytes(SourceFolder + u'/' + file));
}

// A source file as this platform's build must embed it: the parts marked for the other platform
// taken out, the marks around this platform's parts gone.
QByteArray embeddedHere(const QString& file)
{
    const auto mark = [](const char* platform, const char* slash) {
        return QStringLiteral("<!--%1%2-->")
            .arg(QLatin1StringView(slash), QLatin1StringView(platform));
    };
    QString text = sourceText(file);
    const QString other = mark(RUNLATCH_HELP_OTHER_PLATFORM, "");
    const QString otherEnd = mark(RUNLATCH_HELP_OTHER_PLATFORM, "/");
    text.remove(QRegularExpression(QRegularExpression::escape(other) + QStringLiteral("(?s:.*?)") +
                                   QRegularExpression::escape(otherEnd)));
    text.remove(mark(RUNLATCH_HELP_PLATFORM, "")).remove(mark(RUNLATCH_HELP_PLATFORM, "/"));
    return text.toUtf8();
}

// The captures of pattern's first group in text, in order.
QStringList captures(const QString& text, const QString& pattern)
{
    QStringList found;
    for (const QRegularExpressionMatch& match : QRegularExpression(pattern).globalMatch(text))
        found << match.captured(1);
    return found;
}

QStringList sourceFiles()
{
    return captures(sourceText(ProjectFile), QStringLiteral("<file>([^<]+)</file>"));
}

QUrl topicUrl(const QString& ref)
{
    return QUrl(QStringLiteral("qrc:/help/") + ref);
}

template <typename T>
T* child(const HelpWindow& window, const char* name)
{
    T* found = window.findChild<T*>(QLatin1StringView(name));
    if (!found)
        qFatal("the help window has no %s", name);
    return found;
}

HelpBrowser* browserOf(const HelpWindow& window)
{
    return child<HelpBrowser>(window, "HelpBrowser");
}

void clickItem(QListWidget& list, const QListWidgetItem* item)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void everyFileIsEmbedded_data();
    void everyFileIsEmbedded();
    void everyLinkLeadsToAnEmbeddedPage_data();
    void everyLinkLeadsToAnEmbeddedPage();

    void contentsOpensTheWindowAtTheContentsPage();
    void contentsListEveryEntry();
    void contentsEntryOpensItsPage_data();
    void contentsEntryOpensItsPage();
    void indexFilterOpensTheKeyword_data();
    void indexFilterOpensTheKeyword();
    void searchRanksTopics_data();
    void searchRanksTopics();
    void searchOfTheManual_data();
    void searchOfTheManual();
    void linksAreFollowed_data();
    void linksAreFollowed();
    void backAndForwardRetraceThePages();

    void aWindowOfItsOwnThatNeverKeepsTheProgramAlive();
    void opensCentredOverItsOwner_data();
    void opensCentredOverItsOwner();
    void anOpenWindowStaysWhereItIs();
    void everyControlIsDescribed();
};

void TestHelpWindow::everyFileIsEmbedded_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow(qPrintable(ProjectFile)) << ProjectFile;
    for (const QString& file : sourceFiles())
        QTest::newRow(qPrintable(file)) << file;
}

void TestHelpWindow::everyFileIsEmbedded()
{
    QFETCH(QString, file);
    const QByteArray embedded = HelpManual::fileData(file);
    QVERIFY2(!embedded.isEmpty(), "not embedded");
    QCOMPARE(embedded, embeddedHere(file));
}

// Every page, and the project's contents and index, as they are embedded.
void TestHelpWindow::everyLinkLeadsToAnEmbeddedPage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("links");
    const QStringList files = HelpManual().pages() << ProjectFile;
    for (const QString& file : files) {
        const QString text = QString::fromUtf8(HelpManual::fileData(file));
        QTest::newRow(qPrintable(file))
            << file << captures(text, QStringLiteral("\\b(?:href|ref)=\"([^\"]+)\""));
    }
}

void TestHelpWindow::everyLinkLeadsToAnEmbeddedPage()
{
    QFETCH(QString, file);
    QFETCH(QStringList, links);
    QVERIFY(!links.isEmpty());
    for (const QString& link : std::as_const(links)) {
        const QUrl url = topicUrl(file).resolved(QUrl(link));
        if (url.scheme() != u"qrc")
            continue;
        const QString target = url.path().mid(QStringLiteral("/help/").size());
        const QString page = QString::fromUtf8(HelpManual::fileData(target));
        QVERIFY2(!page.isEmpty(), qPrintable(link + QStringLiteral(": no such page")));
        if (url.hasFragment())
            QVERIFY2(page.contains(QStringLiteral("name=\"%1\"").arg(url.fragment())),
                     qPrintable(link + QStringLiteral(": no such anchor")));
    }
}

void TestHelpWindow::contentsOpensTheWindowAtTheContentsPage()
{
    HelpWindow window;
    QVERIFY(!window.isVisible());
    auto* tabs = child<QTabWidget>(window, "HelpTabs");
    tabs->setCurrentIndex(2);
    HelpBrowser* browser = browserOf(window);
    browser->setSource(topicUrl(QStringLiteral("schedule.html")));

    window.Contents1Click();

    QVERIFY(window.isVisible());
    QCOMPARE(browser->source(), topicUrl(QStringLiteral("index.html")));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Runlatch Manual"));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(child<QTreeWidget>(window, "HelpContents")->currentItem()->text(0),
             QStringLiteral("Runlatch Manual"));
    // The pages' style sheet is named relative to the page.
    QVERIFY(
        !browser
             ->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("runlatch.css")))
             .toByteArray()
             .isEmpty());

    browser->setSource(topicUrl(QStringLiteral("schedule.html")));
    QVERIFY(saveEditorScreenshot(window, QStringLiteral("help-window.png")));
}

void TestHelpWindow::contentsListEveryEntry()
{
    QCOMPARE(HelpManual().error(), QString());
    HelpWindow window;
    QStringList titles;
    for (QTreeWidgetItemIterator it(child<QTreeWidget>(window, "HelpContents")); *it; ++it)
        titles << (*it)->text(0);

    QCOMPARE(titles,
             captures(sourceText(ProjectFile), QStringLiteral("<section title=\"([^\"]+)\"")));
}

void TestHelpWindow::contentsEntryOpensItsPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("ref");
    const QString project = sourceText(ProjectFile);
    const QStringList titles = captures(project, QStringLiteral("<section title=\"([^\"]+)\""));
    const QStringList refs = captures(project, QStringLiteral("<section [^>]*ref=\"([^\"]+)\""));
    QCOMPARE(refs.size(), titles.size());
    for (qsizetype i = 0; i < titles.size(); ++i)
        QTest::newRow(qPrintable(titles.at(i))) << titles.at(i) << refs.at(i);
}

void TestHelpWindow::contentsEntryOpensItsPage()
{
    QFETCH(QString, title);
    QFETCH(QString, ref);
    HelpWindow window;
    window.Contents1Click();
    auto* contents = child<QTreeWidget>(window, "HelpContents");
    const QList<QTreeWidgetItem*> items =
        contents->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(items.size(), 1);

    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(items.constFirst()).center());

    QCOMPARE(browserOf(window)->source(), topicUrl(ref));
    // The page carries the title the contents give it.
    QCOMPARE(browserOf(window)->documentTitle(), title);
}

void TestHelpWindow::indexFilterOpensTheKeyword_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("downs");       // presses of the down arrow in the field
    QTest::addColumn<QString>("keyword"); // the one selected
    QTest::addColumn<QString>("ref");

    // clang-format off
    QTest::newRow("whole keyword")
        << "delayed start" << 0 << "delayed start"        << "schedule.html";
    QTest::newRow("case aside")
        << "RUNLATCH.LOG"  << 0 << "Runlatch.log"         << "log.html";
    QTest::newRow("beginning first")
        << "log"           << 0 << "log"                  << "log.html";
    QTest::newRow("inside a keyword")
        << "CR LF"         << 0 << "line endings (CR LF)" << "log.html";
    QTest::newRow("to an anchor")
        << "cannot re"     << 0 << "Cannot read"          << "messages.html#cannot-read";
    QTest::newRow("arrow past hidden keywords")
        << "delayed"       << 1 << "Delayed Start Time has already passed" << "messages.html#passed";
    // clang-format on
}

void TestHelpWindow::indexFilterOpensTheKeyword()
{
    QFETCH(QString, typed);
    QFETCH(int, downs);
    QFETCH(QString, keyword);
    QFETCH(QString, ref);
    HelpWindow window;
    auto* index = child<QListWidget>(window, "HelpIndex");
    QCOMPARE(index->count(), captures(QString::fromUtf8(embeddedHere(ProjectFile)),
                                      QStringLiteral("<keyword name="))
                                 .size());
    auto* filter = child<QLineEdit>(window, "HelpIndexFilter");

    QTest::keyClicks(filter, typed);
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(filter, Qt::Key_Return);

    QVERIFY(index->currentItem() != nullptr);
    QCOMPARE(index->currentItem()->text(), keyword);
    for (int row = 0; row < index->count(); ++row)
        QCOMPARE(index->item(row)->isHidden(),
                 !index->item(row)->text().contains(typed, Qt::CaseInsensitive));
    QCOMPARE(browserOf(window)->source(), topicUrl(ref));
}

void TestHelpWindow::searchRanksTopics_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("refs"); // in rank order

    // Over the topics of searchRanksTopics.
    QTest::newRow("more hits first") << "apple" << QStringList{"b", "a"};
    QTest::newRow("alike keep their order") << "pear" << QStringList{"a", "b"};
    QTest::newRow("title counts more") << "plum" << QStringList{"c", "a"};
    QTest::newRow("every word needed") << "apple plum" << QStringList{"a"};
    QTest::newRow("case and word beginnings") << "APPL" << QStringList{"b", "a"};
    QTest::newRow("a word's middle does not match") << "ppl" << QStringList{};
    QTest::newRow("nothing asked") << " .,; " << QStringList{};
}

void TestHelpWindow::searchRanksTopics()
{
    QFETCH(QString, query);
    QFETCH(QStringList, refs);
    const HelpSearch search({
        {"a", "First", "apple pear plum plum"},
        {"b", "Second", "Apples, apple; APPLE pear"},
        {"c", "Plum", "plum"},
    });

    QStringList found;
    for (const HelpSearch::Hit& hit : search.find(query))
        found << hit.ref;

    QCOMPARE(found, refs);
}

void TestHelpWindow::searchOfTheManual_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("titles"); // in rank order
    QTest::addColumn<bool>("byKeyboard");    // the first result opened with keys, not a click

    QTest::newRow("a word of one topic")
        << "December" << QStringList{"The Job File Format"} << false;
    QTest::newRow("most hits first")
        << "clock"
        << QStringList{"The Schedule and Delayed Start", "Opening and Saving Job Files", "The Log",
                       "Messages and What to Do"}
        << true;
    QTest::newRow("garbage") << "xqzzyv" << QStringList{} << false;
}

void TestHelpWindow::searchOfTheManual()
{
    QFETCH(QString, query);
    QFETCH(QStringList, titles);
    QFETCH(bool, byKeyboard);
    HelpWindow window;
    window.Contents1Click();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    child<QTabWidget>(window, "HelpTabs")->setCurrentIndex(2);
    auto* input = child<QLineEdit>(window, "HelpSearchInput");

    QTest::keyClicks(input, query);
    QTest::keyClick(input, Qt::Key_Return);

    auto* results = child<QListWidget>(window, "HelpSearchResults");
    QStringList shown;
    for (int row = 0; row < results->count(); ++row)
        shown << results->item(row)->text();
    QCOMPARE(shown, titles);
    const QString status = child<QLabel>(window, "HelpSearchStatus")->text();
    if (titles.isEmpty()) {
        QVERIFY2(status.contains(u"No topic") && status.contains(query), qPrintable(status));
        return;
    }
    QVERIFY2(status.contains(QString::number(titles.size())), qPrintable(status));

    if (byKeyboard) {
        QTest::keyClick(input, Qt::Key_Down);
        QVERIFY(results->hasFocus());
        QTest::keyClick(results, Qt::Key_Return);
    } else {
        clickItem(*results, results->item(0));
    }

    HelpBrowser* browser = browserOf(window);
    QCOMPARE(browser->documentTitle(), titles.constFirst());
    const QList<QTextEdit::ExtraSelection> marks = browser->extraSelections();
    QVERIFY(!marks.isEmpty());
    for (const QTextEdit::ExtraSelection& mark : marks)
        QVERIFY(mark.cursor.selectedText().startsWith(query, Qt::CaseInsensitive));
    QCOMPARE(browser->textCursor().selectedText(), marks.constFirst().cursor.selectedText());
    // The marks belong to the page searched.
    browser->setSource(topicUrl(QStringLiteral("index.html")));
    QVERIFY(browser->extraSelections().isEmpty());
}

void TestHelpWindow::linksAreFollowed_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("opens"); // what the desktop answers, for a link outside the manual
    QTest::addColumn<QUrl>("shown"); // the page shown after the click

    const QUrl running = topicUrl(QStringLiteral("running.html"));
    // clang-format off
    QTest::newRow("another page")   << "log.html"            << true  << topicUrl("log.html");
    QTest::newRow("an anchor there")<< "messages.html#limit" << true  << topicUrl("messages.html#limit");
    QTest::newRow("an anchor here") << "#stop"               << true  << topicUrl("running.html#stop");
    QTest::newRow("a web address")  << "https://example.org/"<< true  << running;
    QTest::newRow("nothing takes it")<< "mailto:a@example.org"<< false << running;
    // clang-format on
}

void TestHelpWindow::linksAreFollowed()
{
    QFETCH(QString, link);
    QFETCH(bool, opens);
    QFETCH(QUrl, shown);
    HelpWindow window;
    HelpBrowser* browser = browserOf(window);
    QList<QUrl> handedOut;
    browser->setLinkOpener([&](const QUrl& url) {
        handedOut << url;
        return opens;
    });
    browser->setSource(topicUrl(QStringLiteral("running.html")));

    emit browser->anchorClicked(QUrl(link));

    QCOMPARE(browser->source(), shown);
    const bool external = !link.contains(u".html") && !link.startsWith(u'#');
    QCOMPARE(handedOut, external ? QList<QUrl>{QUrl(link)} : QList<QUrl>{});
    const QString message = window.statusBar()->currentMessage();
    QCOMPARE(message.contains(link), !opens);
}

void TestHelpWindow::backAndForwardRetraceThePages()
{
    HelpWindow window;
    window.Contents1Click();
    HelpBrowser* browser = browserOf(window);
    emit browser->anchorClicked(QUrl(QStringLiteral("log.html")));
    const auto action = [&](const QString& text) {
        for (QAction* each : window.findChild<QWidget*>(QStringLiteral("HelpToolBar"))->actions())
            if (each->text() == text)
                return each;
        qFatal("no tool bar action %s", qPrintable(text));
    };

    action(QStringLiteral("&Back"))->trigger();
    QCOMPARE(browser->source(), topicUrl(QStringLiteral("index.html")));
    action(QStringLiteral("&Forward"))->trigger();
    QCOMPARE(browser->source(), topicUrl(QStringLiteral("log.html")));
    action(QStringLiteral("C&ontents"))->trigger();
    QCOMPARE(browser->source(), topicUrl(QStringLiteral("index.html")));
}

void TestHelpWindow::aWindowOfItsOwnThatNeverKeepsTheProgramAlive()
{
    QMainWindow mainWindow;
    auto* help = new HelpWindow(&mainWindow);

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
    HelpWindow window;
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
    HelpWindow window;
    window.resize(400, 300);
    window.Contents1Click(&mainWindow);
    window.move(10, 20);

    window.Contents1Click(&mainWindow);

    QCOMPARE(window.pos(), QPoint(10, 20));
}

// Every page of the navigation is looked at, as only the shown one counts.
void TestHelpWindow::everyControlIsDescribed()
{
    HelpWindow window;
    window.Contents1Click();
    auto* tabs = child<QTabWidget>(window, "HelpTabs");

    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        const QString missing = AccessibilityChecks::undescribedControls(window);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(tabs->tabText(page) + QStringLiteral(": ") + missing));
    }
}

QTEST_MAIN(TestHelpWindow)
#include "tst_HelpWindow.moc"
