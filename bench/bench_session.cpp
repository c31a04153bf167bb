// Memory over a long session: the main window, shown, runs a one-entry job file of /bin/true
// through File > Process 1,000 times, the event loop getting its turn after each run as between
// timer ticks. Printed after 100 and after 1,000 runs: the resident set, the heap in use and what
// the activity memo's document holds. Target: flat from 100 to 1,000 runs.
//
// For comparison, the same with the memo's undo history switched back on, as it was before the
// memo dropped it: that growth is what this benchmark exists to catch.
#include "Clock.h"
#include "JobTable.h"
#include "MainForm.h"
#include "QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <malloc.h>

#include <cstdio>

namespace {

constexpr int FirstCount = 100;
constexpr int SecondCount = 1000;

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

double heapMiB()
{
    return static_cast<double>(mallinfo2().uordblks) / (1024 * 1024);
}

void print(int runs, const QPlainTextEdit& memo)
{
    std::printf("  after %4d runs: resident %7.2f MiB   heap in use %7.3f MiB   memo %3d lines, "
                "%5d characters, %4d undo steps\n",
                runs, residentMiB(), heapMiB(), memo.document()->blockCount(),
                memo.document()->characterCount(), memo.document()->availableUndoSteps());
}

void session(const QString& folder, bool undoHistory)
{
    QtPrompts prompts;
    SystemClock clock;
    TMainForm form({prompts, clock, folder + u'/', {}});
    JobTable& table = form.jobTable();
    table.ProcList[0] = {QStringLiteral("/bin/true"), QString()};
    table.LastProc = 0;
    auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    memo->setUndoRedoEnabled(undoHistory);
    form.show();
    for (int run = 1; run <= SecondCount; ++run) {
        form.Process1Click();
        QApplication::processEvents();
        if (run == FirstCount || run == SecondCount)
            print(run, *memo);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    std::printf("one session, %d runs of one entry, each line also in Runlatch.log\n", SecondCount);
    std::printf("as built:\n");
    session(scratch.path(), false);
    std::printf("with the memo's undo history on (as before):\n");
    session(scratch.path(), true);
    return 0;
}
