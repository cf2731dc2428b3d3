#include "nexilon/InputStreamSelector.h"

#include "nexilon/Exceptions.h"
#include "nexilon/FileInputStream.h"

namespace nexilon {

CInputStreamSelector::CInputStreamSelector(const CString& path)
{
    auto file = CPtr<IFileInputStream>::Adopt(static_cast<IFileInputStream*>(CreateFileInputStream()));
    file->Open(path);
    stream = CPtr<IInputStream>(file.Get());
}

CInputStreamSelector::CInputStreamSelector(IObject* object)
{
    if (!object)
        throw CNullPtrException("nexilon::CInputStreamSelector::CInputStreamSelector", "InputStreamSelector",
                                __LINE__, "Given smart pointer is NULL");
    stream = Query<IInputStream>(object);
    if (!stream)
        throw CInvalidParameterException("nexilon::CInputStreamSelector::CInputStreamSelector",
                                         "InputStreamSelector", __LINE__,
                                         "Failed to create an input stream from a smart pointer");
}

} // namespace nexilon
