#include "nexilon/ClassStore.h"

#include "nexilon/Exceptions.h"

namespace nexilon {

void CClassStore::RegisterClassNxl(const TClassInfo& info)
{
    if (!info.factory)
        throw CNullPtrException("nexilon::CClassStore::RegisterClassNxl", "ClassStore", __LINE__,
                                "factory is NULL");
    std::lock_guard guard(mutex);
    classes.insert_or_assign(info.classId, info);
}

IObject* CClassStore::CreateObject(const CId& classId) const
{
    IObject* (*factory)() = nullptr;
    {
        std::lock_guard guard(mutex);
        auto found = classes.find(classId);
        if (found != classes.end())
            factory = found->second.factory;
    }
    if (!factory)
        throw CInvalidParameterException("nexilon::CClassStore::CreateObject", "ClassStore", __LINE__,
                                         "Class is not registered");
    return factory();
}

bool CClassStore::IsRegistered(const CId& classId) const
{
    std::lock_guard guard(mutex);
    return classes.contains(classId);
}

CString CClassStore::GetClassName(const CId& classId) const
{
    std::lock_guard guard(mutex);
    auto found = classes.find(classId);
    return found == classes.end() ? CString() : found->second.name;
}

void CClassStore::Clear()
{
    std::lock_guard guard(mutex);
    classes.clear();
}

} // namespace nexilon
