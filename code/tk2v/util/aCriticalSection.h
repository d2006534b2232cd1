#pragma once
#include <mutex>

// The engine's one lock type: re-entrant, used as a base class, with a scoped guard.
class aCriticalSection {
public:
    void enter() { m_mutex.lock(); }
    void leave() { m_mutex.unlock(); }

    class Guard {
    public:
        explicit Guard(aCriticalSection& cs) : m_cs(cs) { m_cs.enter(); }
        ~Guard() { m_cs.leave(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        aCriticalSection& m_cs;
    };

private:
    std::recursive_mutex m_mutex;
};
