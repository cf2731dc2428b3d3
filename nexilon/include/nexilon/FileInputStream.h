#pragma once

#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

// The library's file reader, used by CInputStreamSelector for paths.
class IFileInputStream : public IInputStream {
public:
    static constexpr CId Iid{0x3C7B9E15, 0x61D24A8F, 0xB0E4572C, 0x9A13D6E8};
    static constexpr CId ClassId{0xA4E0C2D1, 0x7F3B4E96, 0x8D21C5A7, 0x1E6F0B34};

    // Opens an existing file for reading; CIOException when it cannot.
    virtual void Open(const CString& path) = 0;

protected:
    ~IFileInputStream() = default;
};

IObject* CreateFileInputStream();

} // namespace nexilon
