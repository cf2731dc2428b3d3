#include "nexilon/VarWriter.h"

#include <cstring>

namespace nexilon {

namespace {

template <class T>
void PutLittleEndian(IOutputStream& stream, T value)
{
    unsigned char bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(static_cast<uint64_t>(value) >> (8 * i));
    stream.Write(bytes, sizeof(T));
}

} // namespace

CVarWriter& CVarWriter::operator<<(char value)
{
    PutLittleEndian(stream, static_cast<uint8_t>(value));
    return *this;
}

CVarWriter& CVarWriter::operator<<(unsigned char value)
{
    PutLittleEndian(stream, static_cast<uint8_t>(value));
    return *this;
}

CVarWriter& CVarWriter::operator<<(unsigned short value)
{
    PutLittleEndian(stream, static_cast<uint16_t>(value));
    return *this;
}

CVarWriter& CVarWriter::operator<<(int value)
{
    PutLittleEndian(stream, static_cast<uint32_t>(value));
    return *this;
}

CVarWriter& CVarWriter::operator<<(unsigned int value)
{
    PutLittleEndian(stream, static_cast<uint32_t>(value));
    return *this;
}

CVarWriter& CVarWriter::operator<<(bool value)
{
    PutLittleEndian(stream, static_cast<uint8_t>(value ? 1 : 0));
    return *this;
}

CVarWriter& CVarWriter::operator<<(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutLittleEndian(stream, bits);
    return *this;
}

CVarWriter& CVarWriter::operator<<(const CString& value)
{
    const std::u16string& text = value.Wide();
    const uint64_t length = text.size();
    PutLittleEndian(stream, static_cast<uint8_t>(0xFF));
    PutLittleEndian(stream, static_cast<uint16_t>(0xFFFE));
    if (length < 0xFF) {
        PutLittleEndian(stream, static_cast<uint8_t>(length));
    } else {
        PutLittleEndian(stream, static_cast<uint8_t>(0xFF));
        if (length < 0xFFFE) {
            PutLittleEndian(stream, static_cast<uint16_t>(length));
        } else {
            PutLittleEndian(stream, static_cast<uint16_t>(0xFFFF));
            PutLittleEndian(stream, static_cast<uint32_t>(length));
        }
    }
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    stream.Write(bytes.data(), bytes.size());
    return *this;
}

void CVarWriter::WriteBytes(const void* data, uint64_t size)
{
    stream.Write(data, size);
}

} // namespace nexilon
