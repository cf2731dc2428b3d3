#pragma once

#include <mutex>
#include <unordered_map>

#include "nexilon/Id.h"
#include "nexilon/Object.h"
#include "nexilon/Ptr.h"
#include "nexilon/String.h"

namespace nexilon {

// What a class registers: its id, its qualified name and a factory that
// returns a new object holding one reference.
struct TClassInfo {
    CId classId;
    CString name;
    IObject* (*factory)();
};

// The process-wide registry of creatable classes. Thread-safe.
class CClassStore {
public:
    // Registering an id again replaces the earlier entry.
    void RegisterClassNxl(const TClassInfo& info);
    // A new reference; CInvalidParameterException for an unknown id.
    IObject* CreateObject(const CId& classId) const;
    bool IsRegistered(const CId& classId) const;
    CString GetClassName(const CId& classId) const;
    void Clear();

private:
    mutable std::mutex mutex;
    std::unordered_map<CId, TClassInfo> classes;
};

} // namespace nexilon
