#pragma once

#include "nexilon/ClassStore.h"
#include "nexilon/Exceptions.h"
#include "nexilon/ObjectCounter.h"

namespace nexilon {

// The library's process-wide services. Init() registers the library's own
// classes (file streams, audio output) and must run before the program
// registers its own; Close() forgets every registered class.
class CNexilon {
public:
    void Init();
    void Close();

    CClassStore& GetClassStore() { return classStore; }
    CObjectCounter& GetObjectCounter() { return objectCounter; }

private:
    CClassStore classStore;
    CObjectCounter objectCounter;
};

extern CNexilon q;

// Creates an object through the class store and asks it for interface I.
// Throws CInvalidParameterException when the class is unknown or does not
// answer I.
template <class I>
CPtr<I> CreateInstance(const CId& classId)
{
    CPtr<IObject> object = CPtr<IObject>::Adopt(q.GetClassStore().CreateObject(classId));
    CPtr<I> result = Query<I>(object.Get());
    if (!result)
        throw CInvalidParameterException("nexilon::CreateInstance", "Nexilon", __LINE__,
                                         "Class does not implement the interface");
    return result;
}

} // namespace nexilon
