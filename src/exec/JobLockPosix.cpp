#include "JobLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The lock files live where the user's own short-lived files do: the runtime folder, which
// ends with the session, or the user's cache folder where there is none.
QString lockFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return runtime + QStringLiteral("/runlatch");
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/runlatch/locks");
}

} // namespace

JobLock::JobLock(const QString& jobFile)
{
    const QString folder = lockFolder();
    if (!QDir().mkpath(folder))
        return;
    // A name of fixed length whatever the path's length; the file is never removed, since a
    // removed lock file could be locked by one run while another locks its successor.
    const QByteArray name =
        QCryptographicHash::hash(keyOf(jobFile).toUtf8(), QCryptographicHash::Sha256).toHex();
    const QByteArray path = QFile::encodeName(folder) + '/' + name + ".lock";
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_handle = fd;
        m_state = State::Held;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::Busy : State::Unavailable;
    ::close(fd);
}

JobLock::~JobLock()
{
    if (m_handle != NoNativeFile)
        ::close(m_handle);
}
