#include "ActivityLog.h"
#include "Errors.h"
#include "MainFlags.h"
#include "RunlatchLogForm.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <optional>

using Kind = ScriptedPrompts::Kind;
using namespace Qt::StringLiterals;

namespace {

const QString LogName = QString::fromLatin1(ActivityLog::FileName);

QByteArray logBytes()
{
    return readBytes(LogName);
}

bool writeLog(const QByteArray& bytes)
{
    return writeBytes(LogName, bytes);
}

QPlainTextEdit* memo2(const QWidget& form)
{
    return form.findChild<QPlainTextEdit*>(QStringLiteral("Memo2"));
}

QAction* action(const QWidget& form, const char* name)
{
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

// Runs inspect on the log viewer once its modal loop runs, then closes it through its menu.
// A window that is not the viewer is closed all the same, so that no test can hang on it.
void whenViewerOpens(const std::function<void(TRunlatchLogForm&)>& inspect)
{
    QTimer::singleShot(0, qApp, [inspect] {
        if (auto* viewer = qobject_cast<TRunlatchLogForm*>(QApplication::activeModalWidget())) {
            inspect(*viewer);
            action(*viewer, "Close1")->trigger();
            return;
        }
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                dialog->reject();
    });
}

} // namespace

class TestRunlatchLogForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheWholeFile_data();
    void showsTheWholeFile();
    void windowAndMenu();
    void rightClickOpensTheMenu();
    void viewerShowsTheFileAsItWasWhenOpened();
    void clearEmptiesFileAndText();
    void clearIsRefusedDuringARun();
    void failedClearKeepsTextAndWindow();
    void unreadableLogShowsNoWindow_data();
    void unreadableLogShowsNoWindow();
    void screenshot();

private:
    std::unique_ptr<ScratchDir> m_scratch;
    ActivityLog m_log;
    MainFlags m_flags;
    ScriptedPrompts m_prompts;
};

void TestRunlatchLogForm::init()
{
    m_scratch = std::make_unique<ScratchDir>();
    m_log = ActivityLog();
    m_log.PrepareLogFile();
    m_flags = MainFlags();
    m_prompts = ScriptedPrompts();
}

void TestRunlatchLogForm::cleanup()
{
    m_scratch.reset();
}

void TestRunlatchLogForm::showsTheWholeFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("run lines") << QByteArray("09:00:00 Mar 02, 2026:  /bin/true \r\n"
                                             "09:00:01 Mar 02, 2026:  Processes Complete\r\n")
                               << "09:00:00 Mar 02, 2026:  /bin/true \n"
                                  "09:00:01 Mar 02, 2026:  Processes Complete";
    QTest::newRow("UTF-8") << QByteArray("/home/j\xc3\xbcrgen/Gr\xc3\xbc\xc3\x9f"
                                         "e \xe2\x9c\x93\r\n")
                           << QStringLiteral("/home/j\u00fcrgen/Gr\u00fc\u00dfe \u2713");
    QTest::newRow("blank line kept") << QByteArray("a\r\n\r\nb\r\n") << "a\n\nb";
    QTest::newRow("last line without break") << QByteArray("a\r\nb") << "a\nb";
    QTest::newRow("bare line feeds and returns") << QByteArray("a\nb\rc\n") << "a\nb\nc";
    QTest::newRow("invalid UTF-8") << QByteArray("a\xff\r\n") << QStringLiteral("a\ufffd");
}

void TestRunlatchLogForm::showsTheWholeFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, shown);
    QVERIFY(writeLog(file));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    memo2(form)->setPlainText(QStringLiteral("left over"));
    form.loadLog();
    QCOMPARE(memo2(form)->toPlainText(), shown);
    QCOMPARE(logBytes(), file);
}

void TestRunlatchLogForm::windowAndMenu()
{
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    QCOMPARE(form.windowTitle(), QStringLiteral("Runlatch Log"));
    const auto* label1 = form.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label1);
    QCOMPARE(label1->text(), QStringLiteral("Right Click for menu."));

    const QPlainTextEdit* memo = memo2(form);
    QVERIFY(memo);
    // Fixed width: the columns of the log's lines stay aligned.
    const QFontMetrics metrics(memo->font());
    QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->wordWrapMode(), QTextOption::WordWrap);

    const auto* menu = form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QVERIFY(menu);
    QStringList items;
    for (const QAction* item : menu->actions())
        items << (item->isSeparator() ? QStringLiteral("-") + item->objectName()
                                      : item->objectName() + u' ' + item->text());
    QCOMPARE(items, (QStringList{u"Close1 Close"_s, u"-N1"_s, u"Clear1 C&lear"_s}));
}

void TestRunlatchLogForm::rightClickOpensTheMenu()
{
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.show();
    QWidget* viewport = memo2(form)->viewport();
    const QPoint at(10, 10);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &rightClick);
    auto* menu = form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

// View > Log end to end, twice: a line appended while the viewer is open (as a run started by a
// timer would) shows only in the next viewer.
void TestRunlatchLogForm::viewerShowsTheFileAsItWasWhenOpened()
{
    m_log.PrepareLogFile();
    m_log.AppendLogLine(QStringLiteral("first"));
    QWidget mainWindow;
    mainWindow.show();

    QStringList seen;
    QList<QPointer<TRunlatchLogForm>> viewers;
    const auto look = [&](TRunlatchLogForm& viewer) {
        viewers << &viewer;
        seen << viewer.windowTitle() + u':' + memo2(viewer)->toPlainText();
        m_log.AppendLogLine(QStringLiteral("while open %1").arg(seen.size()));
        QCoreApplication::processEvents();
        seen << memo2(viewer)->toPlainText();
    };
    for (int opening = 0; opening < 2; ++opening) {
        whenViewerOpens(look);
        TRunlatchLogForm::Log1Click(&mainWindow, m_log, m_flags, m_prompts);
    }

    QCOMPARE(seen, (QStringList{u"Runlatch Log:first"_s, u"first"_s,
                                u"Runlatch Log:first\nwhile open 1"_s, u"first\nwhile open 1"_s}));
    QVERIFY(viewers.size() == 2 && viewers[0].isNull() && viewers[1].isNull());
    QCOMPARE(m_prompts.asked.size(), 0);
}

void TestRunlatchLogForm::clearEmptiesFileAndText()
{
    QVERIFY(writeLog("old 1\r\nold 2\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    action(form, "Clear1")->trigger();

    QCOMPARE(logBytes(), QByteArray());
    QCOMPARE(memo2(form)->toPlainText(), QString());
    QVERIFY(form.isVisible());
    m_log.AppendLogLine(QStringLiteral("next run"));
    QCOMPARE(logBytes(), QByteArray("next run\r\n"));
    QCOMPARE(m_prompts.asked.size(), 0);
}

void TestRunlatchLogForm::clearIsRefusedDuringARun()
{
    QVERIFY(writeLog("run line\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    // The run starts after the viewer opened, as one started by a timer tick would.
    m_flags.RunInProgress = true;
    m_prompts.whileAsking = [](const ScriptedPrompts::Asked&) {
        QVERIFY(QFile::exists(LogName));
    };
    action(form, "Clear1")->trigger();

    QCOMPARE(logBytes(), QByteArray("run line\r\n"));
    QCOMPARE(memo2(form)->toPlainText(), QStringLiteral("run line"));
    QCOMPARE(m_prompts.texts(Kind::Information),
             QStringList{QString::fromLatin1(TRunlatchLogForm::RunInProgressText)});
    QVERIFY(form.isVisible());

    m_flags.RunInProgress = false;
    form.Clear1Click();
    QCOMPARE(logBytes(), QByteArray());
}

void TestRunlatchLogForm::failedClearKeepsTextAndWindow()
{
    QVERIFY(writeLog("kept\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    // With its folder gone the log cannot be created again.
    QVERIFY(QFile::remove(LogName));
    QVERIFY(QDir().rmdir(m_scratch->path()));
    action(form, "Clear1")->trigger();

    QCOMPARE(m_prompts.texts(Kind::General), QStringList{QStringLiteral("File not found.")});
    QCOMPARE(memo2(form)->toPlainText(), QStringLiteral("kept"));
    QVERIFY(form.isVisible());
}

void TestRunlatchLogForm::unreadableLogShowsNoWindow_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("error");
    QTest::newRow("log deleted") << "deleted"
                                 << "Cannot open file Runlatch.log";
    QTest::newRow("log replaced by a folder") << "folder"
                                              << "Runlatch.log is not a regular file.";
    // The current folder moved, as a file dialog once made it: the viewer still shows the log.
    QTest::newRow("current folder moved") << "moved"
                                          << "";
}

void TestRunlatchLogForm::unreadableLogShowsNoWindow()
{
    QFETCH(QString, setup);
    QFETCH(QString, error);
    m_log.AppendLogLine(QStringLiteral("in the first folder"));
    QWidget mainWindow;
    std::optional<ScratchDir> elsewhere;
    if (setup == u"moved")
        elsewhere.emplace();
    else
        QVERIFY(QFile::remove(LogName));
    if (setup == u"folder")
        QVERIFY(QDir().mkdir(LogName));

    QString text;
    whenViewerOpens([&](TRunlatchLogForm& form) { text = memo2(form)->toPlainText(); });
    QCOMPARE(errorOf([&] { TRunlatchLogForm::Log1Click(&mainWindow, m_log, m_flags, m_prompts); }),
             error);
    QCoreApplication::processEvents();
    QCOMPARE(text, error.isEmpty() ? QStringLiteral("in the first folder") : QString());
    QVERIFY(mainWindow.findChildren<TRunlatchLogForm*>().isEmpty());
}

void TestRunlatchLogForm::screenshot()
{
    const QString folder = qEnvironmentVariable("RUNLATCH_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("RUNLATCH_SCREENSHOT_DIR is not set");
    QVERIFY(writeLog("08:00:00 Mar 02, 2026:  /usr/bin/rsync -a /home/ann/Documents "
                     "/mnt/backup/Documents\r\n"
                     "08:03:41 Mar 02, 2026:  /usr/local/bin/report-mailer --daily\r\n"
                     "08:03:44 Mar 02, 2026:  /usr/bin/find /tmp/builds -mtime +7 -delete\r\n"
                     "08:03:45 Mar 02, 2026:  Processes Complete\r\n"
                     "12:00:00 Mar 02, 2026:  /usr/bin/rsync -a /home/ann/Documents "
                     "/mnt/backup/Documents\r\n"
                     "12:01:12 Mar 02, 2026:  /usr/local/bin/report-mailer --daily\r\n"
                     "12:01:15 Mar 02, 2026:  /usr/bin/find /tmp/builds -mtime +7 -delete\r\n"
                     "12:01:15 Mar 02, 2026:  Processes Complete\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    QVERIFY(form.grab().save(QDir(folder).filePath(QStringLiteral("log-viewer.png"))));
}

QTEST_MAIN(TestRunlatchLogForm)
#include "tst_RunlatchLogForm.moc"
