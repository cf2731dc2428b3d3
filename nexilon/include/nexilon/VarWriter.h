#pragma once

#include <cstdint>

#include "nexilon/Stream.h"
#include "nexilon/String.h"

namespace nexilon {

// Typed values as plain little-endian bytes, nothing between them:
// char and unsigned char 1 byte, unsigned short 2, int and unsigned int 4,
// bool 1 (0 or 1), float IEEE-754 binary32 in 4 bytes. A CString takes the
// archive form of a wide string: FF, FFFE, the length in UTF-16 code units
// (one byte below FF; else FF and 16 bits below FFFE; else FF, FFFF and 32
// bits), then the code units as UTF-16LE.
class CVarWriter {
public:
    explicit CVarWriter(IOutputStream& stream) : stream(stream) {}

    CVarWriter& operator<<(char value);
    CVarWriter& operator<<(unsigned char value);
    CVarWriter& operator<<(unsigned short value);
    CVarWriter& operator<<(int value);
    CVarWriter& operator<<(unsigned int value);
    CVarWriter& operator<<(bool value);
    CVarWriter& operator<<(float value);
    CVarWriter& operator<<(const CString& value);

    void WriteBytes(const void* data, uint64_t size);

private:
    IOutputStream& stream;
};

} // namespace nexilon
