#pragma once

#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

// The library's file writer: slot 15 opens (creating or truncating) a file,
// slot 14 appends bytes. Every failure throws CIOException naming the path
// and the system's reason, a full disk included.
class IFileOutputStream : public IOutputStream {
public:
    static constexpr CId Iid{0xB321E4B6, 0x6CD84F8B, 0x94D6DC1A, 0x14946231};
    static constexpr CId ClassId{0x039A99B9, 0x85864E63, 0xA613F839, 0xF0D8B4AD};

    virtual void Open(const CString& path, int32_t mode) = 0;

protected:
    ~IFileOutputStream() = default;
};

// The registry entry Init() adds for the file writer.
IObject* CreateFileOutputStream();

} // namespace nexilon
