#include "RixModule.h"

#include "nexilon/Nexilon.h"

namespace rix {

CRixModule::CRixModule() : CObjectBase(ClassId) {}

nexilon::IObject* CRixModule::QueryInterface(const nexilon::CId& interfaceId)
{
    if (interfaceId == IRixModule::Iid || interfaceId == nexilon::IObject::Iid)
        return Answer();
    return nullptr;
}

CRixModuleData* CRixModule::Lock(nexilon::TLockMode mode)
{
    lock.Lock(mode, 0);
    return &data;
}

CRixModuleData* CRixModule::TryLock(nexilon::TLockMode mode)
{
    return lock.TryLock(mode) ? &data : nullptr;
}

void CRixModule::Unlock()
{
    const nexilon::TLockMode mode = lock.GetLockMode();
    lock.Unlock();
    if (mode == nexilon::LOCKMODE_WRITE || mode == nexilon::LOCKMODE_WRITE_EXCL) {
        changeCount.fetch_add(1, std::memory_order_acq_rel);
        if (IRixModifiedSink* sink = modifiedSink.load())
            sink->SetModified();
    }
}

namespace {

nexilon::IObject* CreateModule()
{
    return static_cast<IRixModule*>(new CRixModule());
}

} // namespace

void RegisterModuleClass()
{
    nexilon::q.GetClassStore().RegisterClassNxl({CRixModule::ClassId, u"rix::CRixModule", &CreateModule});
}

} // namespace rix
