#pragma once

#include <functional>
#include <utility>

// Runs its action when the scope ends, however it ends.
class ScopeExit {
public:
    explicit ScopeExit(std::function<void()> action)
        : m_action(std::move(action))
    {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    std::function<void()> m_action;
};
