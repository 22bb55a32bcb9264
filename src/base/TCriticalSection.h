#pragma once
// The run time's critical section: a lock that its owner may take again on the same thread.
// Satisfies the standard's Lockable requirements, so std::lock_guard works with it.
#include <mutex>

namespace kv {

class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Acquire() { FMutex.lock(); }
    void Release() { FMutex.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }

    void lock() { Acquire(); }
    void unlock() { Release(); }
    bool try_lock() { return FMutex.try_lock(); }

private:
    std::recursive_mutex FMutex;
};

} // namespace kv
