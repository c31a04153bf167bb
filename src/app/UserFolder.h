#pragma once

#include <QString>

// The folder of the user's own that Runlatch starts in where the platform's menu entry gives it
// one (Windows: Documents\Runlatch, the Start menu shortcut's working folder). The first time the
// program starts there, the folder gets a copy of the example job file from programDir, to try
// and to change. Elsewhere, and on a platform without such a folder, nothing happens.
void prepareUserFolder(const QString& programDir);
