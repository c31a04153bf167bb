#include "JobLock.h"

#include <QCryptographicHash>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

JobLock::JobLock(const QString& jobFile)
{
    // File names do not tell letter cases apart here, so neither does the lock. A mutex in the
    // global namespace is seen from every session; the system releases it with its last handle.
    const QByteArray digest =
        QCryptographicHash::hash(keyOf(jobFile).toLower().toUtf8(), QCryptographicHash::Sha256)
            .toHex();
    const QString name = QStringLiteral("Global\\Runlatch-") + QString::fromLatin1(digest);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (mutex == nullptr) {
        // Another user's run made the mutex, and it is open: that run holds the job file.
        m_state = ::GetLastError() == ERROR_ACCESS_DENIED ? State::Busy : State::Unavailable;
        return;
    }
    switch (::WaitForSingleObject(mutex, 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED: // its holder ended without letting go
        m_handle = mutex;
        m_state = State::Held;
        return;
    case WAIT_TIMEOUT:
        m_state = State::Busy;
        break;
    default:
        break;
    }
    ::CloseHandle(mutex);
}

JobLock::~JobLock()
{
    if (m_handle != NoNativeFile) {
        ::ReleaseMutex(m_handle);
        ::CloseHandle(m_handle);
    }
}
