#include "nexilon/ReadWriteLock.h"

#include "nexilon/Exceptions.h"

namespace nexilon {

void CReadWriteLock::Lock(TLockMode mode, unsigned int)
{
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock guard(mutex);
    std::vector<TLockMode>& mine = levels[self];
    if (mine.capacity() == 0)
        mine.reserve(8);

    if (!mine.empty()) {
        // Re-entrance: a writer may take any level, a reader only reading ones.
        if (IsWriting(mode) && !(hasWriter && writer == self)) {
            throw COperationNotSupportedException("nexilon::CReadWriteLock::Lock", "ReadWriteLock", __LINE__,
                                                  "A reading thread cannot take a writing lock");
        }
        mine.push_back(mode);
        return;
    }

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
    levels.find(self)->second.push_back(mode);
}

void CReadWriteLock::Unlock()
{
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard guard(mutex);
    auto found = levels.find(self);
    if (found == levels.end() || found->second.empty())
        throw COperationNotSupportedException("nexilon::CReadWriteLock::Unlock", "ReadWriteLock", __LINE__,
                                              "The lock is not held by this thread");
    found->second.pop_back();
    if (!found->second.empty())
        return;
    // The thread's entry stays (empty, with its capacity), so a thread that
    // locks again, such as the audio thread at every buffer, allocates nothing.
    if (hasWriter && writer == self)
        hasWriter = false;
    else
        --readers;
    changed.notify_all();
}

TLockMode CReadWriteLock::GetLockMode() const
{
    std::lock_guard guard(mutex);
    auto found = levels.find(std::this_thread::get_id());
    if (found == levels.end() || found->second.empty())
        return LOCKMODE_READ;
    return found->second.back();
}

} // namespace nexilon
