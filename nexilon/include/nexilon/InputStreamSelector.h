#pragma once

#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

// Chooses the input stream a reader works on: a file opened by path, or a
// stream object. Holds a reference for as long as the selector lives.
class CInputStreamSelector {
public:
    // Opens the file; CIOException when it cannot be opened.
    explicit CInputStreamSelector(const CString& path);
    // CNullPtrException "Given smart pointer is NULL" for null; an object
    // without IInputStream: CInvalidParameterException "Failed to create an
    // input stream from a smart pointer".
    explicit CInputStreamSelector(IObject* object);

    IInputStream* GetInputStreamTmp() const { return stream.Get(); }

private:
    CPtr<IInputStream> stream;
};

} // namespace nexilon
