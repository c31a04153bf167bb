#include "CommandLine.h"

#include "CommandLineInfo.h"
#include "ConsolePrompts.h"
#include "ConsoleStreams.h"
#include "DisplayCheck.h"
#include "ExportCommand.h"
#include "HeadlessRun.h"
#include "StartSwitches.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QTextStream>

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

// The schedule handed to this system's scheduler; the other system's option is refused, as its
// files would name this program where that system cannot start it.
std::optional<int> exportFromCommandLine(int& argc, char** argv, const QStringList& given)
{
    const ExportTarget native = nativeExportTarget();
    const ExportTarget other =
        native == ExportTarget::Systemd ? ExportTarget::TaskScheduler : ExportTarget::Systemd;
    const QString option = given.constFirst();
    if (option != exportOption(native) && option != exportOption(other))
        return std::nullopt;
    useCallersConsole();
    if (option == exportOption(other)) {
        ConsolePrompts::tell(
            QStringLiteral("%1 is not for this system; use %2").arg(option, exportOption(native)));
        return HeadlessStatus::BadRequest;
    }
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QString message;
    QTextStream err(&message);
    const int status =
        exportScheduleCommand(native, given.mid(1), QCoreApplication::applicationFilePath(),
                              toDateTime(QDateTime::currentDateTime()), out, err);
    out.flush();
    err.flush();
    if (!message.isEmpty())
        ConsolePrompts::tell(message);
    return status;
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
    if (!given.isEmpty())
        if (const std::optional<int> status = exportFromCommandLine(argc, argv, given))
            return status;
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
