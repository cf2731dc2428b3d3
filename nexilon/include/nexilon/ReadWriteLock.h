#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>
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
    void Unlock();
    // The mode of the level the next Unlock of this thread releases.
    TLockMode GetLockMode() const;

private:
    bool IsWriting(TLockMode mode) const { return mode != LOCKMODE_READ; }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::unordered_map<std::thread::id, std::vector<TLockMode>> levels;
    std::thread::id writer;
    bool hasWriter = false;
    int readers = 0;
    int waitingWriters = 0;
};

} // namespace nexilon
