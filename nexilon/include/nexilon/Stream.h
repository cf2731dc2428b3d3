#pragma once

#include <cstdint>

#include "nexilon/Object.h"

namespace nexilon {

// The header every stream format descriptor starts with: the format's id
// and the descriptor's total size in bytes (20 for the bare header).
struct TStreamFormat {
    CId formatId;
    uint32_t size;
};
static_assert(sizeof(TStreamFormat) == 20);

// A unit of media data; the program's streams carry plain bytes and refuse
// these.
class IMediaSample : public IObject {
public:
    static constexpr CId Iid{0x7D2F4C61, 0x2B8A4E09, 0x8E6A1D35, 0xC41F9B27};

protected:
    ~IMediaSample() = default;
};

// A byte stream. Declaration order is slot order (7 to 12).
class IStream : public IObject {
public:
    static constexpr CId Iid{0x22C30DFF, 0xBD4042C7, 0xAAC861B7, 0xBEB00D39};

    virtual void Close() = 0;
    // Stream capability bits; the values each stream answers are fixed by
    // contract (15 for an open input file, 11 for an output file, 7 for a
    // connected player, 0 when closed or disconnected).
    virtual int32_t GetCapabilities() = 0;
    virtual uint64_t GetLength() = 0;
    virtual void Flush() = 0;
    virtual void Seek(uint64_t position) = 0;
    virtual uint64_t Tell() = 0;

protected:
    ~IStream() = default;
};

// Slots 13 to 18.
class IInputStream : public IStream {
public:
    static constexpr CId Iid{0xE3105CB8, 0xCEBD4B10, 0x829C75B7, 0x76ACBBB3};

    virtual bool IsEof() = 0;
    // A descriptor owned by the stream, valid while the stream lives.
    virtual const TStreamFormat* GetFormat() = 0;
    virtual void Read(IMediaSample* sample) = 0;
    // Reads up to size bytes; returns the count read, 0 at the end.
    virtual uint64_t Read(void* buffer, uint64_t size) = 0;
    // Reserved by the contract; every stream of this program answers false.
    virtual bool IsFeatureSupported(uint32_t feature) = 0;
    virtual void Skip(int64_t delta) = 0;

protected:
    ~IInputStream() = default;
};

// Slots 13 and 14.
class IOutputStream : public IStream {
public:
    static constexpr CId Iid{0x52EA12BA, 0x7E5D408D, 0x8E0B8BF7, 0x6DA4B54A};

    // Reserved by the contract; ignored by every stream of this program.
    virtual void SetHint(uint32_t hint) = 0;
    // Writes all size bytes or throws.
    virtual void Write(const void* buffer, uint64_t size) = 0;

protected:
    ~IOutputStream() = default;
};

} // namespace nexilon
