#pragma once
// A lock that the same thread may take again (as the platform's critical section).
#include <mutex>

namespace kv {

class TCriticalSection {
public:
    void Enter() { FMutex.lock(); }
    void Leave() { FMutex.unlock(); }
    bool TryEnter() { return FMutex.try_lock(); }

    // Enter/Leave for std::lock_guard and std::unique_lock.
    void lock() { Enter(); }
    void unlock() { Leave(); }

private:
    std::recursive_mutex FMutex;
};

} // namespace kv
