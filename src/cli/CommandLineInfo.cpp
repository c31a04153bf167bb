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
    "       %1 %2\n"
    "\n"
    "Runs a list of programs one after another, by hand or on a schedule.\n"
    "\n"
    "  /I<job file>  load the job file at start-up; the name follows /I without a blank.\n"
    "                A name that is not an absolute path is taken from the folder that\n"
    "                holds the %1 program.\n"
    "  /R            run the list once (at the delayed start time, if the job file sets\n"
    "                one ahead) and close when the run has ended\n"
    "  %3 print this help and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "Switches may be in any letter case; a later /I wins; other arguments are ignored.\n"
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
        QLatin1StringView(words.epilogue));
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
