#pragma once

#ifdef _WIN32
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#else
#include <unistd.h>
#endif

// Some failures do not fail, they hang: opening a FIFO the blocking way waits for a peer that
// never comes, and a child reading a terminal waits for a line. While this lives, such a wait ends
// the test program (SIGALRM's default action; on Windows a watching thread ends it), so that the
// test fails instead of hanging; a test that passes never gets near the limit.
class FailInsteadOfHanging {
public:
#ifdef _WIN32
    FailInsteadOfHanging()
        : m_watcher([this] {
            std::unique_lock lock(m_mutex);
            if (!m_released.wait_for(lock, std::chrono::seconds(60), [this] { return m_done; })) {
                std::fputs("FailInsteadOfHanging: the test hung\n", stderr);
                std::_Exit(EXIT_FAILURE);
            }
        })
    {}
    ~FailInsteadOfHanging()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_released.notify_one();
        m_watcher.join();
    }
#else
    FailInsteadOfHanging()
    {
        ::alarm(60);
    }
    ~FailInsteadOfHanging()
    {
        ::alarm(0);
    }
#endif
    FailInsteadOfHanging(const FailInsteadOfHanging&) = delete;
    FailInsteadOfHanging& operator=(const FailInsteadOfHanging&) = delete;

#ifdef _WIN32
private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_done = false;
    std::thread m_watcher; // last, so that it starts once the rest is there
#endif
};
