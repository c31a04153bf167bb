#include "WindowEntry.h"

#include "ConsolePrompts.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <dlfcn.h>

namespace {

// Beside the program in the build, under the library folder once installed.
QString modulePath(const char* folder)
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + u'/' +
           QString::fromUtf8(folder) + QStringLiteral(RUNLATCH_WINDOW_MODULE_NAME);
}

} // namespace

int runWindow(int argc, char** argv)
{
    QString tried;
    for (const char* folder : {"", RUNLATCH_WINDOW_MODULE_FOLDER}) {
        const QString path = modulePath(folder);
        if (!QFileInfo::exists(path))
            continue;
        void* module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            tried = QString::fromLocal8Bit(::dlerror());
            break;
        }
        using Entry = int (*)(int, char**);
        if (const auto entry = reinterpret_cast<Entry>(::dlsym(module, "runlatchWindowMain")))
            return entry(argc, argv);
        tried = QString::fromLocal8Bit(::dlerror());
        break;
    }
    ConsolePrompts::tell(QStringLiteral("Cannot load the window: %1")
                             .arg(tried.isEmpty()
                                      ? QStringLiteral(RUNLATCH_WINDOW_MODULE_NAME " not found")
                                      : tried));
    return 1;
}
