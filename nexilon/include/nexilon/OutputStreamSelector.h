#pragma once

#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

// The output counterpart of CInputStreamSelector. A path is created or
// truncated; the file is closed when the last reference goes. Callers that
// must know that every byte reached the disk call Close() on the stream
// first, which reports a failed flush.
class COutputStreamSelector {
public:
    explicit COutputStreamSelector(const CString& path);
    // CNullPtrException "Given smart pointer is NULL" for null; an object
    // without IOutputStream: CInvalidParameterException "Failed to create an
    // output stream from a smart pointer".
    explicit COutputStreamSelector(IObject* object);

    IOutputStream* GetOutputStreamTmp() const { return stream.Get(); }

private:
    CPtr<IOutputStream> stream;
};

} // namespace nexilon
