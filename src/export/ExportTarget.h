#pragma once

// The schedulers a job's schedule can be handed to.
enum class ExportTarget { Systemd, TaskScheduler };

// The scheduler of the system the program runs on.
[[nodiscard]] ExportTarget nativeExportTarget();
