#pragma once

#include <string>
#include <string_view>

#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"

namespace nexilon {

// Streams over bytes in memory: for tests, fuzzers and text that is built
// before it is written anywhere.
class IMemoryOutputStream : public IOutputStream {
public:
    static constexpr CId Iid{0x6E2B0F47, 0x15C94D3A, 0xA7F03E81, 0x52D6B9C0};

    virtual const std::string& GetBytes() const = 0;

protected:
    ~IMemoryOutputStream() = default;
};

// A new input stream holding a copy of the bytes.
CPtr<IInputStream> CreateMemoryInputStream(std::string_view bytes);
CPtr<IMemoryOutputStream> CreateMemoryOutputStream();

} // namespace nexilon
