#include "StartSwitches.h"

#include "UserFile.h"

#include <QDir>

namespace {

bool switchIs(const QString& argument, QLatin1StringView name)
{
    return argument.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

StartSwitches StartSwitches::parse(const QStringList& arguments, const QString& programDir)
{
    StartSwitches switches;
    for (const QString& argument : arguments) {
        if (switchIs(argument, QLatin1StringView("/R"))) {
            switches.autoRun = true;
        } else if (switchIs(argument.left(2), QLatin1StringView("/I"))) {
            const QString name = argument.mid(2);
            // Joining the program's folder to an absolute path could only name a file that
            // does not exist, so an absolute path stands as it is.
            switches.jobFile =
                QDir::toNativeSeparators(isAbsoluteFilePath(name) ? name : programDir + name);
        }
    }
    return switches;
}

bool jobFileExists(const QString& name)
{
    const PathKind kind = pathKind(nativePath(name));
    return kind != PathKind::Missing && kind != PathKind::Folder;
}
