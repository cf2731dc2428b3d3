#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "nexilon/Id.h"

namespace nexilon {

// Counts living framework objects per class and hands out object ids.
// Thread-safe: objects are born and die on any thread.
class CObjectCounter {
public:
    // Registers a birth; returns the new object's id (1, 2, 3 ...).
    uint32_t OnCreateObject(const CId& classId);
    void OnDestroyObject(const CId& classId);

    int GetLiveCount(const CId& classId) const;
    int GetLiveCount() const;

private:
    mutable std::mutex mutex;
    uint32_t lastObjectId = 0;
    int liveTotal = 0;
    std::unordered_map<CId, int> liveByClass;
};

} // namespace nexilon
