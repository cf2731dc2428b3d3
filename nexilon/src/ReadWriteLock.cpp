#include "nexilon/ReadWriteLock.h"

#include "nexilon/Exceptions.h"

namespace nexilon {

CReadWriteLock::TThreadLevels* CReadWriteLock::Find(std::thread::id self)
{
    for (TThreadLevels& entry : threads)
        if (entry.owner == self)
            return &entry;
    return nullptr;
}

const CReadWriteLock::TThreadLevels* CReadWriteLock::Find(std::thread::id self) const
{
    return const_cast<CReadWriteLock*>(this)->Find(self);
}

void CReadWriteLock::Lock(TLockMode mode, unsigned int)
{
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock guard(mutex);
    if (TThreadLevels* mine = Find(self)) {
        // Re-entrance: a writer may take any level, a reader only reading ones.
        if (IsWriting(mode) && !(hasWriter && writer == self)) {
            throw COperationNotSupportedException("nexilon::CReadWriteLock::Lock", "ReadWriteLock", __LINE__,
                                                  "A reading thread cannot take a writing lock");
        }
        mine->levels.push_back(mode);
        return;
    }

    // Claimed before waiting, so the wait cannot end with nowhere to record
    // the level; by index, since another thread may append meanwhile.
    const std::size_t index = ClaimEntry(self);

    if (IsWriting(mode)) {
        ++waitingWriters;
        changed.wait(guard, [&] { return !hasWriter && readers == 0; });
        --waitingWriters;
        hasWriter = true;
        writer = self;
    } else {
        changed.wait(guard, [&] { return !hasWriter && waitingWriters == 0; });
        ++readers;
    }
    threads[index].levels.push_back(mode);
}

std::size_t CReadWriteLock::ClaimEntry(std::thread::id self)
{
    std::size_t index = 0;
    while (index < threads.size() && threads[index].owner != std::thread::id())
        ++index;
    if (index == threads.size()) {
        threads.emplace_back();
        threads.back().levels.reserve(8);
    }
    threads[index].owner = self;
    return index;
}

bool CReadWriteLock::TryLock(TLockMode mode)
{
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock guard(mutex, std::try_to_lock);
    if (!guard.owns_lock())
        return false;
    if (TThreadLevels* mine = Find(self)) {
        if (IsWriting(mode) && !(hasWriter && writer == self))
            return false;
        mine->levels.push_back(mode);
        return true;
    }
    if (hasWriter || (IsWriting(mode) ? readers > 0 : waitingWriters > 0))
        return false;
    threads[ClaimEntry(self)].levels.push_back(mode);
    if (IsWriting(mode)) {
        hasWriter = true;
        writer = self;
    } else {
        ++readers;
    }
    return true;
}

void CReadWriteLock::Unlock()
{
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard guard(mutex);
    TThreadLevels* mine = Find(self);
    if (!mine)
        throw COperationNotSupportedException("nexilon::CReadWriteLock::Unlock", "ReadWriteLock", __LINE__,
                                              "The lock is not held by this thread");
    mine->levels.pop_back();
    if (!mine->levels.empty())
        return;
    mine->owner = std::thread::id();
    if (hasWriter && writer == self)
        hasWriter = false;
    else
        --readers;
    changed.notify_all();
}

TLockMode CReadWriteLock::GetLockMode() const
{
    std::lock_guard guard(mutex);
    const TThreadLevels* mine = Find(std::this_thread::get_id());
    return mine ? mine->levels.back() : LOCKMODE_READ;
}

std::size_t CReadWriteLock::GetThreadEntryCount() const
{
    std::lock_guard guard(mutex);
    return threads.size();
}

} // namespace nexilon
