#include "JobLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The lock files live in the user's own cache folder, found from the user's account and not from
// the environment: a window in the desktop session, a timer and a cron job see different
// environments (one with a runtime folder, one without), yet must meet at the same lock.
QString lockFolder()
{
    const passwd* account = ::getpwuid(::getuid());
    if (account == nullptr || account->pw_dir == nullptr || account->pw_dir[0] != '/')
        return {};
    return QFile::decodeName(account->pw_dir) + QStringLiteral("/.cache/runlatch/locks");
}

} // namespace

JobLock::JobLock(const QString& jobFile)
{
    const QString folder = lockFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
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
