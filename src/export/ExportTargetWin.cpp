#include "ExportTarget.h"

ExportTarget nativeExportTarget()
{
    return ExportTarget::TaskScheduler;
}
