#pragma once

#include <csignal>
#include <sys/resource.h>

// While this lives, no file of this process can grow beyond the given size: a write that would go
// further fails part way, as on a disk that is all but full. SIGXFSZ is ignored meanwhile, so
// that the write fails instead of ending the test program.
class FileSizeLimit {
public:
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
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be put in place.
    [[nodiscard]] bool isActive() const { return m_set; }

private:
    rlimit m_previous{};
    bool m_saved = false;
    bool m_set = false;
    void (*m_previousHandler)(int) = nullptr;
};
