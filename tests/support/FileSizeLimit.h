#pragma once

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

// While this lives, no file of this process can grow beyond the given size: a write that would go
// further fails part way, as on a disk that is all but full. SIGXFSZ is ignored meanwhile, so
// that the write fails instead of ending the test program. Where the system has no such limit,
// the object does nothing and is never active.
class FileSizeLimit {
public:
    // Why no limit can be set here; empty where it can.
    static constexpr const char* WhyUnavailable =
#ifdef Q_OS_WIN
        "RLIMIT_FSIZE has no Windows counterpart: a full disk cannot be simulated";
#else
        "";
#endif
    [[nodiscard]] static constexpr bool isAvailable()
    {
        return *WhyUnavailable == '\0';
    }

#ifdef Q_OS_WIN
    explicit FileSizeLimit(qint64) {}
    [[nodiscard]] bool isActive() const
    {
        return false;
    }
#else
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_saved = ::getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_previous.rlim_max};
        m_set = m_saved && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_saved)
            ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

    // False when the limit could not be put in place.
    [[nodiscard]] bool isActive() const
    {
        return m_set;
    }
#endif
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

#ifndef Q_OS_WIN
private:
    rlimit m_previous{};
    bool m_saved = false;
    bool m_set = false;
    void (*m_previousHandler)(int) = nullptr;
#endif
};
