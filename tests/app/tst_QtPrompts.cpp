#include "ActivityLog.h"
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
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

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

} // namespace

// The real Qt dialogs, not the scripted ones: choosing a file in another folder must leave the
// current folder where it was, so the log and the programs of the list are still found there.
class TestQtPrompts : public QObject {
    Q_OBJECT

private slots:
    void fileDialogsKeepTheCurrentFolder_data();
    void fileDialogsKeepTheCurrentFolder();
    void addProcessThenCancelKeepsRunsWorking();
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
                                    QStringLiteral("ini")};
    answerFileDialog(chosen ? file : QString());
    const std::optional<QString> answer =
        saving ? prompts.saveFile(request) : prompts.openFile(request);

    QCOMPARE(answer, chosen ? std::optional(file) : std::nullopt);
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
    table.ProcList[0] = {QStringLiteral("/bin/true"), QString()};
    table.LastProc = 0;

    TRunlatchParamForm editor(prompts, &mainForm);
    bool leftOpen = false;
    whenModalRuns(editor, leftOpen, [&] {
        answerFileDialog(QStringLiteral("/bin/sh"));
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

QTEST_MAIN(TestQtPrompts)
#include "tst_QtPrompts.moc"
