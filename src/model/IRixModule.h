#pragma once

#include <cstdint>

#include "nexilon/Object.h"
#include "nexilon/ReadWriteLock.h"

namespace rix {

class CRixModuleData;

// Whoever must learn that the song was changed (the open document, which
// then counts as modified). Called on the thread that unlocks a writing
// level, with the module lock already released.
class IRixModifiedSink {
public:
    virtual void SetModified() = 0;

protected:
    ~IRixModifiedSink() = default;
};

// The song object. Slots 7 to 9 follow IObject's.
class IRixModule : public nexilon::IObject {
public:
    static constexpr nexilon::CId Iid{0xCFD3C7C4, 0x612A428D, 0xA83561A0, 0x7462795F};

    // Mode 0 reads (shared), 1 and 2 write (exclusive); re-entrant for the
    // holding thread. The data stays valid until the matching Unlock.
    virtual CRixModuleData* Lock(nexilon::TLockMode mode) = 0;
    // Releases one level; a writing level advances the change counter and
    // marks the registered document modified.
    virtual void Unlock() = 0;
    // Lock without waiting: null when the lock is not to be had at once (a
    // writer holds it or waits for it), for the real-time renderer, which
    // then renders on from what it has.
    virtual CRixModuleData* TryLock(nexilon::TLockMode mode) = 0;
    // Read without the lock; moves only on writing unlocks.
    virtual uint32_t GetChangeCount() const = 0;
    // The document to mark modified, or null. Not owned.
    virtual void SetModifiedSink(IRixModifiedSink* sink) = 0;

protected:
    ~IRixModule() = default;
};

} // namespace rix
