#include "CommandLine.h"

#include "CommandLineInfo.h"
#include "ConsolePrompts.h"
#include "ConsoleStreams.h"
#include "DisplayCheck.h"
#include "HeadlessRun.h"
#include "StartSwitches.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

const QString RunOption = QStringLiteral("--run");

int runFromCommandLine(int& argc, char** argv, const QStringList& given)
{
    if (given.size() != 2 || given[1].isEmpty()) {
        ConsolePrompts::tell(QStringLiteral("--run takes one job file and nothing else: "
                                            "runlatch --run JOBFILE"));
        return HeadlessStatus::BadRequest;
    }
    const QCoreApplication app(argc, argv);
    return runHeadless(given[1]);
}

// "/R" with no display to open the window on: the list runs as "--run" runs it, with the job
// file "/I" names.
int runInsteadOfWindow(int& argc, char** argv, const QStringList& given)
{
    const QCoreApplication app(argc, argv);
    const StartSwitches switches =
        StartSwitches::parse(given, QCoreApplication::applicationDirPath() + u'/');
    if (switches.jobFile.isEmpty()) {
        ConsolePrompts::tell(QStringLiteral("No display, and no job file (/I) to run without one"));
        return HeadlessStatus::BadRequest;
    }
    return runHeadless(switches.jobFile);
}

} // namespace

std::optional<int> answerWithoutWindow(int& argc, char** argv)
{
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> info = commandLineInfo(given)) {
        useCallersConsole();
        return printText(stdout, *info) ? 0 : 1;
    }
    if (!given.isEmpty() && given.constFirst() == RunOption) {
        useCallersConsole();
        return runFromCommandLine(argc, argv, given);
    }
    if (given.contains(RunOption)) {
        useCallersConsole();
        ConsolePrompts::tell(QStringLiteral("--run comes first: runlatch --run JOBFILE"));
        return HeadlessStatus::BadRequest;
    }
    if (StartSwitches::parse(given, QString()).autoRun && !displayAvailable()) {
        useCallersConsole();
        return runInsteadOfWindow(argc, argv, given);
    }
    return std::nullopt;
}
