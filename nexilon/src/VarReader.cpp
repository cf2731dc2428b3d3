#include "nexilon/VarReader.h"

#include <cstring>
#include <string>

#include "nexilon/Exceptions.h"

namespace nexilon {

namespace {

// Strings arrive in pieces of this many code units, so memory grows only
// with the input actually present.
constexpr uint32_t kStringPiece = 32768;

} // namespace

void CVarReader::ReadBytes(void* data, uint64_t size)
{
    auto* bytes = static_cast<unsigned char*>(data);
    if (size > 0 && hasPeeked) {
        *bytes++ = peeked;
        hasPeeked = false;
        --size;
    }
    while (size > 0) {
        const uint64_t got = stream.Read(bytes, size);
        if (got == 0)
            throw CIOException("nexilon::CVarReader::Read", "VarReader", __LINE__, "Unexpected end of stream");
        bytes += got;
        size -= got;
    }
}

bool CVarReader::IsExhausted()
{
    if (hasPeeked)
        return false;
    if (stream.Read(&peeked, 1) == 1) {
        hasPeeked = true;
        return false;
    }
    return true;
}

namespace {

template <class T>
T GetLittleEndian(CVarReader& reader)
{
    unsigned char bytes[sizeof(T)];
    reader.ReadBytes(bytes, sizeof(T));
    uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return static_cast<T>(value);
}

} // namespace

CVarReader& CVarReader::operator>>(char& value)
{
    value = static_cast<char>(GetLittleEndian<uint8_t>(*this));
    return *this;
}

CVarReader& CVarReader::operator>>(unsigned char& value)
{
    value = GetLittleEndian<uint8_t>(*this);
    return *this;
}

CVarReader& CVarReader::operator>>(unsigned short& value)
{
    value = GetLittleEndian<uint16_t>(*this);
    return *this;
}

CVarReader& CVarReader::operator>>(int& value)
{
    value = static_cast<int>(GetLittleEndian<uint32_t>(*this));
    return *this;
}

CVarReader& CVarReader::operator>>(unsigned int& value)
{
    value = GetLittleEndian<uint32_t>(*this);
    return *this;
}

CVarReader& CVarReader::operator>>(bool& value)
{
    value = GetLittleEndian<uint8_t>(*this) != 0;
    return *this;
}

CVarReader& CVarReader::operator>>(float& value)
{
    const uint32_t bits = GetLittleEndian<uint32_t>(*this);
    std::memcpy(&value, &bits, sizeof value);
    return *this;
}

uint32_t CVarReader::ReadLength(uint8_t first)
{
    if (first < 0xFF)
        return first;
    const uint16_t word = GetLittleEndian<uint16_t>(*this);
    if (word < 0xFFFF)
        return word;
    return GetLittleEndian<uint32_t>(*this);
}

CVarReader& CVarReader::operator>>(CString& value)
{
    const uint8_t first = GetLittleEndian<uint8_t>(*this);
    bool wide = false;
    uint32_t length;
    if (first == 0xFF) {
        const uint16_t word = GetLittleEndian<uint16_t>(*this);
        if (word == 0xFFFE) {
            wide = true;
            length = ReadLength(GetLittleEndian<uint8_t>(*this));
        } else if (word == 0xFFFF) {
            length = GetLittleEndian<uint32_t>(*this);
        } else {
            length = word;
        }
    } else {
        length = first;
    }

    if (wide) {
        std::u16string text;
        std::string bytes;
        for (uint32_t done = 0; done < length;) {
            const uint32_t piece = std::min(kStringPiece, length - done);
            bytes.resize(2 * static_cast<std::size_t>(piece));
            ReadBytes(bytes.data(), bytes.size());
            for (uint32_t i = 0; i < piece; ++i)
                text += static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                              (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
            done += piece;
        }
        value = CString(std::move(text));
    } else {
        std::string bytes;
        for (uint32_t done = 0; done < length;) {
            const uint32_t piece = std::min(kStringPiece, length - done);
            const std::size_t start = bytes.size();
            bytes.resize(start + piece);
            ReadBytes(bytes.data() + start, piece);
            done += piece;
        }
        value = CString::FromLatin1(bytes);
    }
    return *this;
}

} // namespace nexilon
