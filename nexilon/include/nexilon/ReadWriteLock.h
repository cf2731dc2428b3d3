#pragma once

#include <condition_variable>
#include <mutex>
#include <cstddef>
#include <thread>
#include <vector>

namespace nexilon {

enum TLockMode {
    LOCKMODE_READ = 0,       // shared with other readers
    LOCKMODE_WRITE = 1,      // exclusive
    LOCKMODE_WRITE_EXCL = 2, // exclusive (editors that must not overlap a preview)
};

// Readers share, writers exclude. Re-entrant for the holding thread in any
// mode: a writer may lock again for reading or writing, a reader again for
// reading; each Unlock releases one level. A reader may not take a writing
// level (two such upgrades would wait for each other for ever), which
// throws COperationNotSupportedException. A waiting writer blocks new
// readers, so a steady stream of readers cannot starve it.
class CReadWriteLock {
public:
    // The second argument is reserved (always 0).
    void Lock(TLockMode mode, unsigned int reserved = 0);
    // Lock without waiting at all, not even for the lock's own bookkeeping:
    // false when the level cannot be had at once (a reader asking for a
    // writing level included).
    bool TryLock(TLockMode mode);
    void Unlock();
    // The mode of the level the next Unlock of this thread releases.
    TLockMode GetLockMode() const;
    // Entries kept for threads' levels: the most threads that ever held or
    // waited for the lock at the same time, however many came and went.
    std::size_t GetThreadEntryCount() const;

private:
    // The levels one thread holds, innermost last. An entry whose thread
    // released its last level is free (owner is the empty id) and goes to
    // the next thread that locks, capacity and all, so neither a stream of
    // short-lived playback threads makes the list grow nor does the audio
    // thread allocate when it locks at every buffer.
    struct TThreadLevels {
        std::thread::id owner;
        std::vector<TLockMode> levels;
    };

    static bool IsWriting(TLockMode mode) { return mode != LOCKMODE_READ; }
    // Under mutex: an entry for a thread that holds no level yet.
    std::size_t ClaimEntry(std::thread::id self);
    // This thread's entry, or null when it holds no level.
    TThreadLevels* Find(std::thread::id self);
    const TThreadLevels* Find(std::thread::id self) const;

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<TThreadLevels> threads;
    std::thread::id writer;
    bool hasWriter = false;
    int readers = 0;
    int waitingWriters = 0;
};

} // namespace nexilon
