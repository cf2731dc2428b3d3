#pragma once

#include <mutex>

namespace nexilon {

// Mutual exclusion, re-entrant for the thread that holds it.
class CBinaryLock {
public:
    void Lock() { mutex.lock(); }
    void Unlock() { mutex.unlock(); }

private:
    std::recursive_mutex mutex;
};

// Holds a CBinaryLock for one scope.
class CBinaryLockGuard {
public:
    explicit CBinaryLockGuard(CBinaryLock& lock) : lock(lock) { lock.Lock(); }
    ~CBinaryLockGuard() { lock.Unlock(); }
    CBinaryLockGuard(const CBinaryLockGuard&) = delete;
    CBinaryLockGuard& operator=(const CBinaryLockGuard&) = delete;

private:
    CBinaryLock& lock;
};

} // namespace nexilon
