#include "AccessibilityChecks.h"
#include "ActivityLog.h"
#include "ChildRecords.h"
#include "Clock.h"
#include "JobTable.h"
#include "MainForm.h"
#include "ModalDriver.h"
#include "QtPrompts.h"
#include "RunlatchParamForm.h"
#include "ScratchDir.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using Answer = Prompts::Answer;
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(Answer)

namespace {

// Answers the next real file dialog as a user would: by choosing path (in a folder other than
// the current one) or, with an empty path, by cancelling. Looks again until the dialog is up.
void answerFileDialog(const QString& path, int triesLeft = 50)
{
    QTimer::singleShot(0, qApp, [path, triesLeft] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (triesLeft > 0)
                answerFileDialog(path, triesLeft - 1);
            return;
        }
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name field and confirmed with Return, as a user would.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            dialog->reject();
            return;
        }
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

// Closes every message box that comes up while it lives and keeps its text, so that a failing
// run cannot leave the test waiting on a real box.
class MessageBoxCloser {
public:
    MessageBoxCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->reject();
            }
        });
        m_timer.start(10);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

// Runs whileOpen on the input box inside its modal loop once the prompt has started it, as the
// user's actions would run. A box the test failed to close is cancelled and leftOpen set, so that
// a failing test cannot hang the suite.
void whenInputBoxRuns(bool& leftOpen, const std::function<void(QDialog&, QLineEdit&)>& whileOpen)
{
    leftOpen = false;
    QTimer::singleShot(0, qApp, [&leftOpen, whileOpen] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QStringLiteral("InputBox"))
            return;
        whileOpen(*box, *box->findChild<QLineEdit*>(QStringLiteral("InputEdit")));
        if (box->isVisible()) {
            leftOpen = true;
            box->reject();
        }
    });
}

} // namespace

// The real Qt dialogs, not the scripted ones: choosing a file in another folder must leave the
// current folder where it was, so the log and the programs of the list are still found there; the
// input box is driven with keys as the user would.
class TestQtPrompts : public QObject {
    Q_OBJECT

private slots:
    void fileDialogsKeepTheCurrentFolder_data();
    void fileDialogsKeepTheCurrentFolder();
    void addProcessThenCancelKeepsRunsWorking();
    void inputBoxOffersTheTextSelected();
    void inputBoxKeys_data();
    void inputBoxKeys();
    void inputBoxFitsLongText_data();
    void inputBoxFitsLongText();
    void inputBoxIsDescribed();
    void questionWithCancel_data();
    void questionWithCancel();
};

void TestQtPrompts::fileDialogsKeepTheCurrentFolder_data()
{
    QTest::addColumn<bool>("saving");
    QTest::addColumn<bool>("chosen");

    // clang-format off
    QTest::newRow("open, file chosen") << false << true;
    QTest::newRow("save, file chosen") << true  << true;
    QTest::newRow("open, cancelled")   << false << false;
    // clang-format on
}

void TestQtPrompts::fileDialogsKeepTheCurrentFolder()
{
    QFETCH(bool, saving);
    QFETCH(bool, chosen);
    ScratchDir start;
    ScratchDir other; // the current folder is back in start once this is gone
    const QString startFolder = start.path();
    QDir::setCurrent(startFolder);
    const QString file = other.filePath(QStringLiteral("jobs.ini"));
    QVERIFY(writeBytes(file, "[Processes]\r\n"));

    QtPrompts prompts;
    const FileDialogRequest request{other.path(), QStringLiteral("Ini File (*.ini)"),
                                    QStringLiteral("ini"), QStringLiteral("Open Ini")};
    answerFileDialog(chosen ? file : QString());
    const std::optional<QString> answer =
        saving ? prompts.saveFile(request) : prompts.openFile(request);

    // The dialog gives the path in the platform's own notation.
    QCOMPARE(answer, chosen ? std::optional(QDir::toNativeSeparators(file)) : std::nullopt);
    QCOMPARE(QDir::currentPath(), startFolder);
}

// The way users met the fault: Configure > Processes > Add Process, a program chosen in another
// folder, the editor cancelled, then File > Process.
void TestQtPrompts::addProcessThenCancelKeepsRunsWorking()
{
    ScratchDir start;
    ScratchDir other;
    QDir::setCurrent(start.path());
    QtPrompts prompts;
    SystemClock clock;
    TMainForm mainForm({prompts, clock, start.path() + u'/', {}});
    JobTable& table = mainForm.jobTable();
    table.ProcList[0] = {testChildPath(), QString()};
    table.LastProc = 0;

    TRunlatchParamForm editor(prompts, &mainForm);
    bool leftOpen = false;
    whenModalRuns(editor, leftOpen, [&] {
        answerFileDialog(testChildPath());
        editor.findChild<QAction*>(QStringLiteral("Add1"))->trigger();
        editor.reject();
    });
    editor.Parameters1Click(table);
    QVERIFY(!leftOpen);
    QCOMPARE(table.LastProc, 0);
    QCOMPARE(QDir::currentPath(), start.path());

    MessageBoxCloser boxes;
    mainForm.Process1Click();
    QCOMPARE(boxes.texts, QStringList());
    QVERIFY(!mainForm.flags().RunInProgress);
    QVERIFY(readBytes(start.filePath(QString::fromLatin1(ActivityLog::FileName)))
                .contains("Processes Complete"));
}

void TestQtPrompts::inputBoxOffersTheTextSelected()
{
    QtPrompts prompts;
    QString caption;
    QString prompt;
    QString selected;
    int maxLength = 0;
    bool fieldHasFocus = false;
    bool leftOpen = false;

    whenInputBoxRuns(leftOpen, [&](QDialog& box, QLineEdit& field) {
        caption = box.windowTitle();
        prompt = box.findChild<QLabel*>(QStringLiteral("InputPrompt"))->text();
        selected = field.selectedText();
        maxLength = field.maxLength();
        fieldHasFocus = box.focusWidget() == &field;
        box.reject();
    });
    const std::optional<QString> answer =
        prompts.inputText(QStringLiteral("Runlatch Processes"),
                          QStringLiteral("Enter Parameter(s)"), QStringLiteral("--old -v"), 255);

    QVERIFY(!leftOpen);
    QCOMPARE(caption, QStringLiteral("Runlatch Processes"));
    QCOMPARE(prompt, QStringLiteral("Enter Parameter(s)"));
    QCOMPARE(selected, QStringLiteral("--old -v"));
    QCOMPARE(maxLength, 255);
    QVERIFY(fieldHasFocus);
    QCOMPARE(answer, std::nullopt);
}

void TestQtPrompts::inputBoxKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("closingKey");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<std::optional<QString>>("answer");

    const int enter = Qt::Key_Return;
    QTest::newRow("typing replaces the text offered")
        << QStringLiteral("  -v  --out \"x y\" ") << enter << 255
        << std::optional<QString>(QStringLiteral("  -v  --out \"x y\" "));
    QTest::newRow("Enter alone keeps it")
        << QString() << enter << 255 << std::optional<QString>(QStringLiteral("--old"));
    QTest::newRow("Backspace and Enter empty it")
        << QStringLiteral("\b") << enter << 255 << std::optional<QString>(QString());
    QTest::newRow("Escape cancels")
        << QStringLiteral("new") << int(Qt::Key_Escape) << 255 << std::optional<QString>();
    QTest::newRow("typing stops at 255 characters")
        << QStringLiteral("x").repeated(300) << enter << 255
        << std::optional<QString>(QStringLiteral("x").repeated(255));
    QTest::newRow("typing stops at a shorter limit")
        << QStringLiteral("abcdefgh") << enter << 5
        << std::optional<QString>(QStringLiteral("abcde"));
}

void TestQtPrompts::inputBoxKeys()
{
    QFETCH(QString, typed);
    QFETCH(int, closingKey);
    QFETCH(int, maxLength);
    QFETCH(std::optional<QString>, answer);
    QtPrompts prompts;
    bool leftOpen = false;

    whenInputBoxRuns(leftOpen, [&](QDialog&, QLineEdit& field) {
        QTest::keyClicks(&field, typed);
        QTest::keyClick(&field, Qt::Key(closingKey));
    });
    const std::optional<QString> given = prompts.inputText(
        QStringLiteral("Caption"), QStringLiteral("Prompt"), QStringLiteral("--old"), maxLength);

    QVERIFY(!leftOpen);
    QCOMPARE(given, answer);
}

void TestQtPrompts::inputBoxFitsLongText_data()
{
    QTest::addColumn<int>("length");

    QTest::newRow("a short option string") << 40;
    QTest::newRow("a long option string") << 100;
    QTest::newRow("the most one can type") << 255;
    QTest::newRow("longer, from a hand-edited job file") << 400;
}

// The box shows a long text whole as far as the screen allows, and offers it whole even beyond
// what can be typed, so that OK alone loses nothing.
void TestQtPrompts::inputBoxFitsLongText()
{
    QFETCH(int, length);
    const QString text = QStringLiteral("--opt=x ").repeated(length / 8 + 1).left(length);
    QtPrompts prompts;
    int fieldWidth = 0;
    int textWidth = 0;
    int boxWidth = 0;
    int screenWidth = 0;
    QString selected;
    bool leftOpen = false;

    whenInputBoxRuns(leftOpen, [&](QDialog& box, QLineEdit& field) {
        fieldWidth = field.width();
        textWidth = field.fontMetrics().horizontalAdvance(text);
        boxWidth = box.frameGeometry().width();
        screenWidth = box.screen()->availableGeometry().width();
        selected = field.selectedText();
        QTest::keyClick(&field, Qt::Key_Return);
    });
    const std::optional<QString> answer =
        prompts.inputText(QStringLiteral("Caption"), QStringLiteral("Prompt"), text, 255);

    QVERIFY(!leftOpen);
    QCOMPARE(selected, text);
    QCOMPARE(answer, std::optional(text));
    QVERIFY2(boxWidth <= screenWidth, qPrintable(QString::number(boxWidth)));
    if (textWidth < screenWidth * 3 / 4)
        QVERIFY2(fieldWidth > textWidth,
                 qPrintable(QStringLiteral("%1 for %2").arg(fieldWidth).arg(textWidth)));
    else
        QVERIFY(boxWidth >= screenWidth * 3 / 4);
}

void TestQtPrompts::inputBoxIsDescribed()
{
    QtPrompts prompts;
    QString missing;
    bool leftOpen = false;

    whenInputBoxRuns(leftOpen, [&](QDialog& box, QLineEdit&) {
        missing = AccessibilityChecks::undescribedControls(box);
        box.reject();
    });
    static_cast<void>(prompts.inputText(QStringLiteral("Runlatch Processes"),
                                        QStringLiteral("Enter Parameter(s)"), QString(), 255));

    QVERIFY(!leftOpen);
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
}

void TestQtPrompts::questionWithCancel_data()
{
    QTest::addColumn<int>("key"); // 0: the close box
    QTest::addColumn<Answer>("answer");

    QTest::newRow("Escape cancels") << int(Qt::Key_Escape) << Answer::Cancel;
    QTest::newRow("the close box cancels") << 0 << Answer::Cancel;
    QTest::newRow("Enter answers Yes") << int(Qt::Key_Return) << Answer::Yes;
}

void TestQtPrompts::questionWithCancel()
{
    QFETCH(int, key);
    QFETCH(Answer, answer);
    QtPrompts prompts;
    QString title;
    bool leftOpen = false;

    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        title = box->windowTitle();
        if (key == 0)
            box->close();
        else
            QTest::keyClick(box, Qt::Key(key));
        leftOpen = box->isVisible();
        if (leftOpen)
            box->done(QMessageBox::No);
    });

    QCOMPARE(prompts.confirmOrCancel(QStringLiteral("Save?")), answer);
    QVERIFY(!leftOpen);
    QCOMPARE(title, QStringLiteral("Confirm"));
}

QTEST_MAIN(TestQtPrompts)
#include "tst_QtPrompts.moc"
