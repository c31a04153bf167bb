#include "ExportCommand.h"

#include "Errors.h"
#include "ScheduleExport.h"
#include "UserFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

constexpr int Done = 0;
constexpr int Refused = 3;

QString absolutePath(const QString& path)
{
    if (isAbsoluteFilePath(path))
        return QDir::toNativeSeparators(QDir::cleanPath(path));
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir::fromNativeSeparators(pathText(currentFolderPath())) + u'/' + path));
}

} // namespace

QString exportOption(ExportTarget target)
{
    return target == ExportTarget::Systemd ? QStringLiteral("--export-systemd")
                                           : QStringLiteral("--export-task");
}

int exportScheduleCommand(ExportTarget target, const QStringList& arguments,
                          const QString& programPath, TDateTime now, QTextStream& out,
                          QTextStream& err)
{
    if (arguments.isEmpty() || arguments.size() > 2 || arguments.first().isEmpty()) {
        err << QCoreApplication::translate("ScheduleExport", "Usage: runlatch %1 JOBFILE [FOLDER]")
                   .arg(exportOption(target))
            << Qt::endl;
        return Refused;
    }
    try {
        const JobTable job = readJobToExport(absolutePath(arguments.first()), now);
        const QString folder =
            arguments.size() > 1 ? absolutePath(arguments[1]) : defaultExportFolder(target);
        const ExportPlan plan = planScheduleExport(target, job, programPath, folder, now);
        writeScheduleExport(plan);
        for (const ExportFile& file : plan.files)
            out << file.path << '\n';
        out << plan.startCommand << Qt::endl;
        return Done;
    } catch (const RunlatchError& error) {
        err << error.message() << Qt::endl;
        return Refused;
    }
}
