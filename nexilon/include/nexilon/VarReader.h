#pragma once

#include <cstdint>

#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

// Reads what CVarWriter writes. It never reads ahead of the value asked for
// (beyond the one byte IsExhausted() may peek), so raw reads from the
// stream can be mixed with it. Running out of input throws CIOException
// "Unexpected end of stream". Strings also come in the narrow form (a
// length without the FF FFFE marker, then Latin-1 bytes); a string is read
// in bounded pieces, so a corrupt length fails at the end of the input
// instead of allocating what the input cannot hold.
class CVarReader {
public:
    explicit CVarReader(IInputStream& stream) : stream(stream) {}

    CVarReader& operator>>(char& value);
    CVarReader& operator>>(unsigned char& value);
    CVarReader& operator>>(unsigned short& value);
    CVarReader& operator>>(int& value);
    CVarReader& operator>>(unsigned int& value);
    CVarReader& operator>>(bool& value);
    CVarReader& operator>>(float& value);
    CVarReader& operator>>(CString& value);

    // True when the input has no byte left.
    bool IsExhausted();

    // Exactly size bytes or CIOException.
    void ReadBytes(void* data, uint64_t size);

private:
    uint32_t ReadLength(uint8_t first);

    IInputStream& stream;
    bool hasPeeked = false;
    uint8_t peeked = 0;
};

} // namespace nexilon
