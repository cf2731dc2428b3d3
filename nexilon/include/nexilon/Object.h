#pragma once

#include <cstdint>

#include "nexilon/Id.h"

namespace nexilon {

class IObjectListener;

// The root of every framework object. The declaration order below is the
// slot order the contract fixes (0 AddRef ... 6 GetClassId); interfaces have
// no virtual destructor so that derived interfaces continue at slot 7.
class IObject {
public:
    static constexpr CId Iid{0x021E95ED, 0x173F45B5, 0xA6C3EC3F, 0xB12B6A49};

    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // A new reference to the object as the asked interface, or null.
    virtual IObject* QueryInterface(const CId& interfaceId) = 0;
    // Listeners are not owned; each is told once when the object dies.
    virtual void AddListener(IObjectListener* listener) = 0;
    virtual void RemoveListener(IObjectListener* listener) = 0;
    virtual uint32_t GetObjectId() const = 0;
    virtual CId GetClassId() const = 0;

protected:
    ~IObject() = default;
};

// An object that wants to hear of another one's death (slot 7).
class IObjectListener : public IObject {
public:
    static constexpr CId Iid{0x5A1C3E20, 0x4F1B4D7E, 0x9C2E6B31, 0x0D8E7A42};

    virtual void OnObjectDestroyed(IObject* object) = 0;

protected:
    ~IObjectListener() = default;
};

} // namespace nexilon
