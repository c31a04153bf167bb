#include "UserFolder.h"

#include <QDir>

#include <windows.h>

namespace {

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// The shortcut names the folder through %USERPROFILE%, so this does too: a Documents folder
// that was moved elsewhere is not the folder the shortcut starts in.
QString shortcutFolder()
{
    const QString profile = qEnvironmentVariable("USERPROFILE");
    return profile.isEmpty() ? QString()
                             : QDir::cleanPath(profile + QStringLiteral("/Documents/Runlatch"));
}

} // namespace

void prepareUserFolder(const QString& programDir)
{
    const QString folder = shortcutFolder();
    if (folder.isEmpty() ||
        QDir::cleanPath(QDir::currentPath()).compare(folder, Qt::CaseInsensitive) != 0)
        return;
    const QString name = QStringLiteral("example.ini");
    // Never over a file of that name: it may be the user's own by now. A copy that fails leaves
    // the folder as it was, which serves as well.
    (void)::CopyFileW(wide(QDir::toNativeSeparators(programDir + name)),
                      wide(QDir::toNativeSeparators(folder + u'/' + name)), TRUE);
}
