#include "CommandLineInfo.h"

#include "RunlatchBuildInfo.h"

namespace {

QString versionText()
{
    return QStringLiteral("Runlatch %1\n")
        .arg(QLatin1StringView(RunlatchBuildInfo::VersionText.data(),
                               static_cast<qsizetype>(RunlatchBuildInfo::VersionText.size())));
}

const char* const UsageText =
    "Usage: runlatch [/I<job file>] [/R]\n"
    "       runlatch --help | --version\n"
    "\n"
    "Runs a list of programs one after another, by hand or on a schedule.\n"
    "\n"
    "  /I<job file>  load the job file at start-up; the name follows /I without a blank.\n"
    "                A name that is not an absolute path is taken from the folder that\n"
    "                holds the runlatch program.\n"
    "  /R            run the list once (at the delayed start time, if the job file sets\n"
    "                one ahead) and close when the run has ended\n"
    "  --help        print this help and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "Switches may be in any letter case; a later /I wins; other arguments are ignored.\n"
    "\n"
    "Example:\n"
    "  runlatch /I/home/me/jobs.ini /R\n"
    "\n"
    "Every run is logged to Runlatch.log in the folder Runlatch is started from.\n"
    "The manual is under Help > Contents, and in \"man runlatch\".\n";

} // namespace

std::optional<QString> commandLineInfo(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--help")))
        return QString::fromLatin1(UsageText);
    if (arguments.contains(QStringLiteral("--version")))
        return versionText();
    return std::nullopt;
}
