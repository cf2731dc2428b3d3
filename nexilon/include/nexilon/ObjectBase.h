#pragma once

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "nexilon/Nexilon.h"
#include "nexilon/Object.h"

namespace nexilon {

// The common part of every framework object: the object id taken from the
// object counter, the reference count (1 after construction) and the
// listener list. The concrete class supplies QueryInterface and GetClassId
// and passes its class id here so birth and death are reported under it.
template <class TInterface>
class CObjectBase : public TInterface {
public:
    uint32_t AddRef() override { return ++referenceCount; }

    uint32_t Release() override
    {
        const uint32_t remaining = --referenceCount;
        if (remaining == 0)
            delete this;
        return remaining;
    }

    void AddListener(IObjectListener* listener) override
    {
        if (!listener)
            return;
        std::lock_guard guard(listenerMutex);
        listeners.push_back(listener);
    }

    void RemoveListener(IObjectListener* listener) override
    {
        std::lock_guard guard(listenerMutex);
        auto found = std::find(listeners.begin(), listeners.end(), listener);
        if (found != listeners.end())
            listeners.erase(found);
    }

    uint32_t GetObjectId() const override { return objectId; }
    CId GetClassId() const override { return classId; }

protected:
    explicit CObjectBase(const CId& classId)
        : objectId(q.GetObjectCounter().OnCreateObject(classId)), classId(classId)
    {
    }

    virtual ~CObjectBase()
    {
        std::vector<IObjectListener*> toTell;
        {
            std::lock_guard guard(listenerMutex);
            toTell.swap(listeners);
        }
        for (IObjectListener* listener : toTell)
            listener->OnObjectDestroyed(this);
        q.GetObjectCounter().OnDestroyObject(classId);
    }

    // For QueryInterface: a new reference to this object.
    IObject* Answer()
    {
        AddRef();
        return this;
    }

private:
    const uint32_t objectId;
    const CId classId;
    std::atomic<uint32_t> referenceCount{1};
    std::mutex listenerMutex;
    std::vector<IObjectListener*> listeners;
};

} // namespace nexilon
