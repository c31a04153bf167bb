#include "AccessibilityChecks.h"
#include "ActivityLog.h"
#include "ChangingLogSource.h"
#include "Errors.h"
#include "LogView.h"
#include "MainFlags.h"
#include "RunlatchLogForm.h"
#include "ScratchDir.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
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

LogView* memo2(const QWidget& form)
{
    return form.findChild<LogView*>(QStringLiteral("Memo2"));
}

// What Memo2 shows, lines joined by line feeds.
QString shownText(const QWidget& form)
{
    LogView* view = memo2(form);
    QStringList lines;
    for (qint64 line = 0; line < view->lineCount(); ++line)
        lines << view->lineText(line);
    return lines.join(u'\n');
}

QAction* action(const QWidget& form, const char* name)
{
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    return bytes;
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
    void rightClickOpensTheMenu_data();
    void rightClickOpensTheMenu();
    void viewerOpensBesideItsOwnerAtTheEnd();
    void followsTheFile_data();
    void followsTheFile();
    void clearEmptiesFileAndText();
    void clearIsRefusedDuringARun();
    void failedClearKeepsTextAndWindow();
    void unreadableLogShowsNoWindow_data();
    void unreadableLogShowsNoWindow();
    void largeLogShowsBothEndsAndFindsNearTheEnd();
    void findBar_data();
    void findBar();
    void selectAndCopy_data();
    void selectAndCopy();
    void copyOfTooMuchIsRefused();
    void everyControlIsDescribed();
    void fileCutUnderTheViewKeepsItWhole();
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
    QVERIFY(writeLog("left over\r\n"));
    form.loadLog();
    QVERIFY(writeLog(file));
    form.loadLog();
    QCOMPARE(shownText(form), shown);
    QCOMPARE(logBytes(), file);
}

void TestRunlatchLogForm::windowAndMenu()
{
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    QCOMPARE(form.windowTitle(), QStringLiteral("Runlatch Log"));
    const auto* label1 = form.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label1);
    QCOMPARE(label1->text(), QStringLiteral("Right Click for menu."));

    const LogView* memo = memo2(form);
    QVERIFY(memo);
    // Fixed width: the columns of the log's lines stay aligned.
    const QFontMetrics metrics(memo->font());
    if (!QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).fixedPitch())
        QEXPECT_FAIL("", "this platform's fixed font is not fixed-pitch (offscreen under Wine)",
                     Continue);
    QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const auto* menu = form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QVERIFY(menu);
    QStringList items;
    for (const QAction* item : menu->actions())
        items << (item->isSeparator() ? QStringLiteral("-") + item->objectName()
                                      : item->objectName() + u' ' + item->text());
    QCOMPARE(items, (QStringList{u"Close1 Close"_s, u"-N1"_s, u"Clear1 C&lear"_s, u"-"_s,
                                 u"Copy &Copy\tCtrl+C"_s, u"SelectAll Select &All\tCtrl+A"_s,
                                 u"-"_s, u"Find &Find..."_s, u"FindNextAction Find &Next"_s,
                                 u"FindPreviousAction Find &Previous"_s}));
}

void TestRunlatchLogForm::rightClickOpensTheMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("right click") << 0 << Qt::KeyboardModifiers();
    QTest::newRow("menu key") << int(Qt::Key_Menu) << Qt::KeyboardModifiers();
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestRunlatchLogForm::rightClickOpensTheMenu()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.show();
    QWidget* viewport = memo2(form)->viewport();
    const QPoint at(10, 10);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    if (key == 0)
        QApplication::sendEvent(viewport, &rightClick);
    else
        QTest::keyClick(memo2(form), Qt::Key(key), modifiers);
    auto* menu = form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

// View > Log end to end: it returns with the viewer open at the last line, a second View > Log
// raises the same viewer, and the viewer closes with its owner.
void TestRunlatchLogForm::viewerOpensBesideItsOwnerAtTheEnd()
{
    QVERIFY(writeLog(numberedLines(300)));
    QWidget owner;
    owner.show();
    TRunlatchLogForm::Log1Click(owner, m_log, m_flags, m_prompts);
    TRunlatchLogForm::Log1Click(owner, m_log, m_flags, m_prompts);
    const QList<TRunlatchLogForm*> viewers = owner.findChildren<TRunlatchLogForm*>();
    QCOMPARE(viewers.size(), 1);
    const QPointer<TRunlatchLogForm> viewer = viewers.first();
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->isModal());
    QCOMPARE(memo2(*viewer)->lastVisibleLine(), 299);

    QVERIFY(owner.close());
    QTRY_VERIFY(viewer.isNull());
    QCOMPARE(m_prompts.asked.size(), 0);
}

void TestRunlatchLogForm::followsTheFile_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("scrolledUp");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("lastLines");

    QTest::newRow("line appended, view at the end")
        << "append" << false << 301 << QStringList{u"line 299"_s, u"next"_s};
    QTest::newRow("line appended, view scrolled up")
        << "append" << true << 301 << QStringList{u"line 299"_s, u"next"_s};
    QTest::newRow("cut short") << "cut" << true << 10 << QStringList{u"line 8"_s, u"line 9"_s};
    // Deleted and made anew, then written to: the new file is the one followed.
    QTest::newRow("cleared by another Runlatch") << "clear" << true << 1 << QStringList{u"next"_s};
    QTest::newRow("deleted, then made anew") << "delete" << true << 1 << QStringList{u"later"_s};
    QTest::newRow("replaced") << "replace" << true << 2 << QStringList{u"new 0"_s, u"new 1"_s};
}

void TestRunlatchLogForm::followsTheFile()
{
    QFETCH(QString, change);
    QFETCH(bool, scrolledUp);
    QFETCH(int, lineCount);
    QFETCH(QStringList, lastLines);
#ifdef Q_OS_WIN
    if (runsUnderWine() && (change == u"delete" || change == u"replace"))
        QSKIP("Wine keeps a deleted file's name, and refuses a file put in its place, while the "
              "viewer holds the file open");
#endif
    QVERIFY(writeLog(numberedLines(300)));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    LogView* view = memo2(form);
    if (scrolledUp)
        QTest::keyClick(view, Qt::Key_PageUp);
    const qint64 top = view->firstVisibleLine();

    ActivityLog other;
    other.PrepareLogFile();
    if (change == u"append") {
        other.AppendLogLine(QStringLiteral("next"));
    } else if (change == u"cut") {
        QVERIFY(QFile::resize(LogName, numberedLines(10).size()));
    } else if (change == u"clear") {
        other.Clear();
        QTRY_COMPARE(view->lineCount(), 0);
        other.AppendLogLine(QStringLiteral("next"));
    } else if (change == u"delete") {
        QVERIFY(QFile::remove(LogName));
        QTRY_COMPARE(view->lineCount(), 0);
        QVERIFY(writeLog("later\r\n"));
    } else {
        QVERIFY(writeBytes(u"new.log"_s, "new 0\r\nnew 1\r\n"));
        std::filesystem::rename("new.log", ActivityLog::FileName);
    }
    QTRY_COMPARE(view->lineCount(), lineCount);
    QStringList shownLast;
    for (qint64 line = lineCount - lastLines.size(); line < lineCount; ++line)
        shownLast << view->lineText(line);
    QCOMPARE(shownLast, lastLines);
    // Only a view at the end follows the new lines; a log shown afresh opens at its end.
    const bool followed = change != u"append" || !scrolledUp;
    QCOMPARE(view->isAtEnd(), followed);
    QCOMPARE(view->lastVisibleLine() == lineCount - 1, followed);
    if (change == u"append")
        QCOMPARE(view->firstVisibleLine(), top + (followed ? 1 : 0));
}

void TestRunlatchLogForm::clearEmptiesFileAndText()
{
    QVERIFY(writeLog("old 1\r\nold 2\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    action(form, "Clear1")->trigger();

    QCOMPARE(logBytes(), QByteArray());
    QCOMPARE(shownText(form), QString());
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
    QCOMPARE(shownText(form), QStringLiteral("run line"));
    QCOMPARE(m_prompts.texts(Kind::Information),
             QStringList{QString::fromLatin1(TRunlatchLogForm::RunInProgressText)});
    QVERIFY(form.isVisible());

    m_flags.RunInProgress = false;
    form.Clear1Click();
    QCOMPARE(logBytes(), QByteArray());
}

void TestRunlatchLogForm::failedClearKeepsTextAndWindow()
{
#ifdef Q_OS_WIN
    QSKIP("Windows keeps a process's current folder from being removed");
#endif
    QVERIFY(writeLog("kept\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    // With its folder gone the log cannot be created again.
    QVERIFY(QFile::remove(LogName));
    QVERIFY(QDir().rmdir(m_scratch->path()));
    action(form, "Clear1")->trigger();

    QCOMPARE(m_prompts.texts(Kind::General), QStringList{QStringLiteral("File not found.")});
    QCOMPARE(shownText(form), QStringLiteral("kept"));
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

    QCOMPARE(errorOf([&] { TRunlatchLogForm::Log1Click(mainWindow, m_log, m_flags, m_prompts); }),
             error);
    const QList<TRunlatchLogForm*> viewers = mainWindow.findChildren<TRunlatchLogForm*>();
    QCOMPARE(viewers.size(), error.isEmpty() ? 1 : 0);
    if (!viewers.isEmpty())
        QCOMPARE(shownText(*viewers.first()), QStringLiteral("in the first folder"));
}

namespace {

QByteArray generatedLine(int i)
{
    return QStringLiteral("12:%1:00 Mar 02, 2026:  /usr/bin/job-%2 --flag value\r\n")
        .arg(i % 60, 2, 10, QLatin1Char('0'))
        .arg(i, 6, 10, QLatin1Char('0'))
        .toLatin1();
}

// A point in Memo2's viewport inside row `row` from the top, left of character `column`.
// The point just after the first column characters of line, the row-th line shown. Measured on the
// line's own text, so that it holds in whatever font the platform gives.
QPoint pointAt(const LogView& view, const QString& line, int row, int column)
{
    const QFontMetrics metrics(view.font());
    return {4 + metrics.horizontalAdvance(line.left(column)) + 1,
            4 + row * metrics.lineSpacing() + metrics.lineSpacing() / 2};
}

} // namespace

// More lines than the first slice of the scan takes: the window is up before the scan is done,
// and a find backwards from the top, started at once, wraps to the end and still lands on its
// line there.
void TestRunlatchLogForm::largeLogShowsBothEndsAndFindsNearTheEnd()
{
    constexpr int Lines = 400'000;
    constexpr int Marked = Lines - 7;
    QByteArray bytes;
    bytes.reserve(Lines * 56);
    for (int i = 0; i < Lines; ++i)
        bytes += i == Marked ? QByteArray("12:00:00 Mar 02, 2026:  /opt/Needle-Run/x\r\n")
                             : generatedLine(i);
    QVERIFY(writeLog(bytes));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    LogView* view = memo2(form);
    QVERIFY(!view->isScanned());
    QCOMPARE(view->lineText(0), QString::fromLatin1(generatedLine(0).chopped(2)));

    form.showFind();
    auto* findEdit = form.findChild<QLineEdit*>(QStringLiteral("FindEdit"));
    QVERIFY(findEdit->isVisible());
    QTest::keyClicks(findEdit, QStringLiteral("needle-run"));
    QTest::keyClick(findEdit, Qt::Key_Return, Qt::ShiftModifier);
    QTRY_VERIFY(!view->isFinding());
    QCOMPARE(view->selectionStart(), (LogView::Position{Marked, 29}));
    QCOMPARE(view->selectedText(), QStringLiteral("Needle-Run"));
    QVERIFY(view->firstVisibleLine() <= Marked && Marked <= view->lastVisibleLine());

    QVERIFY(view->isScanned());
    QCOMPARE(view->lineCount(), Lines);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(view->firstVisibleLine(), 0);
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(view->lastVisibleLine(), Lines - 1);
    QCOMPARE(view->lineText(Lines - 1), QString::fromLatin1(generatedLine(Lines - 1).chopped(2)));
    const QScrollBar* bar = view->verticalScrollBar();
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(bar->maximum() > Lines - 100);
}

void TestRunlatchLogForm::findBar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QList<int>>("keys"); // Qt::Key_F3, or -Qt::Key_F3 for Shift+F3
    QTest::addColumn<QList<qint64>>("lines");
    QTest::addColumn<QString>("status");

    QTest::newRow("next, next, wrapped")
        << u"rsync"_s << false << QList<int>{Qt::Key_F3, Qt::Key_F3, Qt::Key_F3}
        << QList<qint64>{0, 2, 0} << u"Wrapped around the end"_s;
    QTest::newRow("previous from the top wraps") << u"rsync"_s << false << QList<int>{-Qt::Key_F3}
                                                 << QList<qint64>{2} << u"Wrapped around the end"_s;
    QTest::newRow("case matched") << u"RSYNC"_s << true << QList<int>{Qt::Key_F3}
                                  << QList<qint64>{-1} << u"Not found"_s;
    QTest::newRow("other letters")
        << u"gr\u00fc\u00dfe"_s << false << QList<int>{Qt::Key_F3} << QList<qint64>{1} << QString();
}

void TestRunlatchLogForm::findBar()
{
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(QList<int>, keys);
    QFETCH(QList<qint64>, lines);
    QFETCH(QString, status);
    QVERIFY(writeLog("08:00:00 Mar 02, 2026:  /usr/bin/rsync -a\r\n"
                     "08:00:01 Mar 02, 2026:  /home/j\xc3\xbcrgen/gr\xc3\xbc\xc3\x9f"
                     "e\r\n"
                     "08:00:02 Mar 02, 2026:  /usr/bin/rsync -b\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    LogView* view = memo2(form);
    auto* findEdit = form.findChild<QLineEdit*>(QStringLiteral("FindEdit"));
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    findEdit->setText(text);
    form.findChild<QCheckBox*>(QStringLiteral("MatchCase"))->setChecked(matchCase);
    view->setFocus();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::keyClick(view, Qt::Key_F3, keys[i] < 0 ? Qt::ShiftModifier : Qt::NoModifier);
        QTRY_VERIFY(!view->isFinding());
        QCOMPARE(view->hasSelection() ? view->selectionStart().line : -1, lines[i]);
        if (lines[i] >= 0)
            QCOMPARE(view->selectedText().toCaseFolded(), text.toCaseFolded());
    }
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("FindStatus"))->text(), status);

    // Escape in the find bar hides the bar; the window stays.
    QTest::keyClick(findEdit, Qt::Key_Escape);
    QVERIFY(!findEdit->isVisible());
    QVERIFY(form.isVisible());
}

void TestRunlatchLogForm::selectAndCopy_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("copied");

    QTest::newRow("drag within a line") << u"drag 0 2 0 6"_s << u"line"_s;
    QTest::newRow("drag across lines") << u"drag 0 7 1 3"_s << u"one\nsec"_s;
    QTest::newRow("drag up") << u"drag 1 3 0 7"_s << u"one\nsec"_s;
    QTest::newRow("double click takes a word") << u"double 1 6"_s << u"second"_s;
    QTest::newRow("Ctrl+A takes everything")
        << u"all"_s << u"a line one\nsec second\n\u00e4\ufffd"_s;
}

void TestRunlatchLogForm::selectAndCopy()
{
    QFETCH(QString, gesture);
    QFETCH(QString, copied);
    QVERIFY(writeLog("a line one\r\nsec second\r\n\xc3\xa4\xff\r\n"));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    LogView* view = memo2(form);
    QWidget* viewport = view->viewport();
    const QStringList words = gesture.split(u' ');
    const QStringList lines{u"a line one"_s, u"sec second"_s};
    const auto at = [&](int first) {
        const int row = words[first].toInt();
        return pointAt(*view, lines[row], row, words[first + 1].toInt());
    };
    if (words[0] == u"drag") {
        QTest::mousePress(viewport, Qt::LeftButton, {}, at(1));
        QMouseEvent move(QEvent::MouseMove, at(3), viewport->mapToGlobal(at(3)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(3));
    } else if (words[0] == u"double") {
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at(1));
    } else {
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    }
    QApplication::clipboard()->clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), copied);
}

void TestRunlatchLogForm::copyOfTooMuchIsRefused()
{
    const QByteArray line = QByteArray(1000, 'x') + "\r\n";
    QVERIFY(writeLog(line.repeated(LogView::MaxCopyBytes / line.size() + 1)));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    LogView* view = memo2(form);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(m_prompts.texts(Kind::Information),
             QStringList{
                 u"The selection is too large to copy (33 MB). Copy at most 32 MB at a time."_s});
}

void TestRunlatchLogForm::everyControlIsDescribed()
{
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.show();
    form.showFind();
    const QString missing = AccessibilityChecks::undescribedControls(form);
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
}

// The top line was scrolled into its wrapped rows when the file was cut: laid out anew it has one
// row, and the view goes on from there.
void TestRunlatchLogForm::fileCutUnderTheViewKeepsItWhole()
{
    QByteArray bytes = QByteArray("word ").repeated(2000) + "\n";
    for (int i = 0; i < 3000; ++i)
        bytes += "line " + QByteArray::number(i) + "\n";
    auto owned = std::make_unique<ChangingLogSource>(bytes);
    ChangingLogSource& source = *owned;
    LogView view;
    view.resize(300, 200);
    view.setLines(std::make_unique<LogLines>(std::move(owned)));
    view.show();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    source.cutTo(0);
    for (qint64 line = 0; line < 2500; ++line)
        (void)view.lineText(line);
    QVERIFY(!view.grab().isNull());
    QCOMPARE(view.firstVisibleLine(), 0);
    QCOMPARE(view.lineText(0), QString());
}

void TestRunlatchLogForm::screenshot()
{
    const QString folder = qEnvironmentVariable("RUNLATCH_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("RUNLATCH_SCREENSHOT_DIR is not set");
    // Two runs a day for four days: more than the window holds, so that it opens at the end.
    QByteArray runs;
    for (int day = 2; day <= 5; ++day)
        for (const char* hour : {"08", "12"})
            runs +=
                QStringLiteral("%2:00:00 Mar 0%1, 2026:  /usr/bin/rsync -a /home/ann/Documents "
                               "/mnt/backup/Documents\r\n"
                               "%2:03:41 Mar 0%1, 2026:  /usr/local/bin/report-mailer --daily\r\n"
                               "%2:03:44 Mar 0%1, 2026:  /usr/bin/find /tmp/builds -mtime +7 "
                               "-delete\r\n"
                               "%2:03:45 Mar 0%1, 2026:  Processes Complete\r\n")
                    .arg(day)
                    .arg(QLatin1StringView(hour))
                    .toLatin1();
    QVERIFY(writeLog(runs));
    TRunlatchLogForm form(m_log, m_flags, m_prompts);
    form.loadLog();
    form.show();
    QVERIFY(form.grab().save(QDir(folder).filePath(QStringLiteral("log-viewer.png"))));
}

QTEST_MAIN(TestRunlatchLogForm)
#include "tst_RunlatchLogForm.moc"
