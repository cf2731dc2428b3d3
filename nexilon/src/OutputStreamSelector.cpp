#include "nexilon/OutputStreamSelector.h"

#include "nexilon/Exceptions.h"
#include "nexilon/FileOutputStream.h"

namespace nexilon {

COutputStreamSelector::COutputStreamSelector(const CString& path)
{
    auto file = CPtr<IFileOutputStream>::Adopt(static_cast<IFileOutputStream*>(CreateFileOutputStream()));
    file->Open(path, 0);
    stream = CPtr<IOutputStream>(file.Get());
}

COutputStreamSelector::COutputStreamSelector(IObject* object)
{
    if (!object)
        throw CNullPtrException("nexilon::COutputStreamSelector::COutputStreamSelector",
                                "OutputStreamSelector", __LINE__, "Given smart pointer is NULL");
    stream = Query<IOutputStream>(object);
    if (!stream)
        throw CInvalidParameterException("nexilon::COutputStreamSelector::COutputStreamSelector",
                                         "OutputStreamSelector", __LINE__,
                                         "Failed to create an output stream from a smart pointer");
}

} // namespace nexilon
