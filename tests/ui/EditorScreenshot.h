#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

// Saves a picture of a window as PNG into the folder RUNLATCH_SCREENSHOT_DIR names, for the
// manual. Without that variable nothing is written. False when the picture could not be saved.
[[nodiscard]] inline bool saveEditorScreenshot(QWidget& window, const QString& fileName)
{
    const QString folder = qEnvironmentVariable("RUNLATCH_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return true;
    return QDir().mkpath(folder) && window.grab().save(QDir(folder).filePath(fileName), "PNG");
}
