#pragma once

#include <atomic>

#include "IRixModule.h"
#include "RixModuleData.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/ReadWriteLock.h"

namespace rix {

class CRixModule final : public nexilon::CObjectBase<IRixModule> {
public:
    static constexpr nexilon::CId ClassId{0x0AEA7BA7, 0x57AD4F96, 0xB863B4CF, 0xAD05F98B};

    CRixModule();

    nexilon::IObject* QueryInterface(const nexilon::CId& interfaceId) override;
    CRixModuleData* Lock(nexilon::TLockMode mode) override;
    CRixModuleData* TryLock(nexilon::TLockMode mode) override;
    void Unlock() override;
    uint32_t GetChangeCount() const override { return changeCount.load(std::memory_order_acquire); }
    void SetModifiedSink(IRixModifiedSink* sink) override { modifiedSink.store(sink); }

private:
    CRixModuleData data;
    nexilon::CReadWriteLock lock;
    std::atomic<uint32_t> changeCount{1};
    std::atomic<IRixModifiedSink*> modifiedSink{nullptr};
};

// Registers "rix::CRixModule" with the framework's class store.
void RegisterModuleClass();

// Holds one level of a module's lock for a scope and gives the data.
class CRixModuleLock {
public:
    CRixModuleLock(IRixModule& module, nexilon::TLockMode mode) : module(module), data(module.Lock(mode)) {}
    ~CRixModuleLock() { module.Unlock(); }
    CRixModuleLock(const CRixModuleLock&) = delete;
    CRixModuleLock& operator=(const CRixModuleLock&) = delete;

    CRixModuleData& operator*() const { return *data; }
    CRixModuleData* operator->() const { return data; }

private:
    IRixModule& module;
    CRixModuleData* data;
};

} // namespace rix
