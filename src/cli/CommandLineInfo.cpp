#include "CommandLineInfo.h"

#include "RunlatchBuildInfo.h"
#include "UsageWords.h"

namespace {

QString versionText()
{
    return QStringLiteral("Runlatch %1\n")
        .arg(QLatin1StringView(
            RunlatchBuildInfo::ReleaseVersionText.data(),
            static_cast<qsizetype>(RunlatchBuildInfo::ReleaseVersionText.size())));
}

// The platform's own words go in at the %-places (UsageWords).
const char* const UsageText =
    "Usage: %1 [/I<job file>] [/R]\n"
    "       %1 --run <job file>\n"
    "       %1 %6 <job file> [<folder>]\n"
    "       %1 %2\n"
    "\n"
    "Runs a list of programs one after another, by hand or on a schedule.\n"
    "\n"
    "  /I<job file>  load the job file at start-up; the name follows /I without a blank.\n"
    "                A name that is not an absolute path is taken from the folder that\n"
    "                holds the %1 program.\n"
    "  /R            run the list once (at the delayed start time, if the job file sets\n"
    "                one ahead) and close when the run has ended%8.\n"
    "  --run <job file>\n"
    "                run the list once without a window, and exit. The job file is taken\n"
    "                from the current folder; each step goes to Runlatch.log there and to\n"
    "                standard output. Exit status: 0 every program ended with 0; 1 a\n"
    "                program ended otherwise; 2 the run stopped (a program could not be\n"
    "                started, or the log not be written); 3 the job file cannot be read or\n"
    "                the command line is wrong; 4 another Runlatch is running the job file;\n"
    "                128+n ended by signal n, after asking the running program to end.\n"
    "  %6 <job file> [<folder>]\n"
    "%7"
    "  %3 print this help and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "/I and /R may be in any letter case; a later /I wins; other arguments are ignored.\n"
    "\n"
    "Example:\n"
    "  %4\n"
    "\n"
    "%5";

QString usageText()
{
    const UsageWords& words = usageWords();
    return QString::fromLatin1(UsageText).arg(
        QLatin1StringView(words.program), QLatin1StringView(words.helpOptions),
        QLatin1StringView(words.helpColumn), QLatin1StringView(words.example),
        QLatin1StringView(words.epilogue), QLatin1StringView(words.exportOption),
        QLatin1StringView(words.exportHelp), QLatin1StringView(words.noDisplay));
}

} // namespace

std::optional<QString> commandLineInfo(const QStringList& arguments)
{
    // "/?" is how Windows programs are asked for help; elsewhere it does no harm.
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("/?")))
        return usageText();
    if (arguments.contains(QStringLiteral("--version")))
        return versionText();
    return std::nullopt;
}
