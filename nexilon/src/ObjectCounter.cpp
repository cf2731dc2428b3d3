#include "nexilon/ObjectCounter.h"

namespace nexilon {

uint32_t CObjectCounter::OnCreateObject(const CId& classId)
{
    std::lock_guard guard(mutex);
    ++liveTotal;
    ++liveByClass[classId];
    return ++lastObjectId;
}

void CObjectCounter::OnDestroyObject(const CId& classId)
{
    std::lock_guard guard(mutex);
    --liveTotal;
    auto found = liveByClass.find(classId);
    if (found != liveByClass.end() && --found->second == 0)
        liveByClass.erase(found);
}

int CObjectCounter::GetLiveCount(const CId& classId) const
{
    std::lock_guard guard(mutex);
    auto found = liveByClass.find(classId);
    return found == liveByClass.end() ? 0 : found->second;
}

int CObjectCounter::GetLiveCount() const
{
    std::lock_guard guard(mutex);
    return liveTotal;
}

} // namespace nexilon
