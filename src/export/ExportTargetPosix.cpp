#include "ExportTarget.h"

ExportTarget nativeExportTarget()
{
    return ExportTarget::Systemd;
}
