#include "nexilon/MemoryStream.h"

#include <algorithm>
#include <cstring>

#include "nexilon/Exceptions.h"
#include "nexilon/ObjectBase.h"

namespace nexilon {

namespace {

constexpr CId kMemoryInputClass{0x9F3A61C2, 0x0B7E4D58, 0x86C1F2A9, 0x3E40D7B5};
constexpr CId kMemoryOutputClass{0x2D84E7B1, 0xC6A34F02, 0x9B5E0D6C, 0x71F8A3E4};

class CMemoryInputStream final : public CObjectBase<IInputStream> {
public:
    explicit CMemoryInputStream(std::string_view bytes) : CObjectBase(kMemoryInputClass), bytes(bytes) {}

    IObject* QueryInterface(const CId& id) override
    {
        if (id == IInputStream::Iid || id == IStream::Iid || id == IObject::Iid)
            return Answer();
        return nullptr;
    }

    void Close() override {}
    int32_t GetCapabilities() override { return 15; }
    uint64_t GetLength() override { return bytes.size(); }
    void Flush() override {}
    void Seek(uint64_t target) override
    {
        position = std::min<uint64_t>(target, bytes.size());
        atEnd = position == bytes.size();
    }
    uint64_t Tell() override { return position; }
    bool IsEof() override { return atEnd; }
    const TStreamFormat* GetFormat() override
    {
        static const TStreamFormat plain{CId(), sizeof(TStreamFormat)};
        return &plain;
    }
    void Read(IMediaSample*) override
    {
        throw COperationNotSupportedException("nexilon::CMemoryInputStream::Read", "MemoryStream", __LINE__,
                                              "Media samples are not supported");
    }
    uint64_t Read(void* data, uint64_t size) override
    {
        if (!data)
            throw CNullPtrException("nexilon::CMemoryInputStream::Read", "MemoryStream", __LINE__,
                                    "buffer is NULL");
        const uint64_t count = std::min<uint64_t>(size, bytes.size() - position);
        if (count > 0)
            std::memcpy(data, bytes.data() + position, count);
        position += count;
        atEnd = count < size;
        return count;
    }
    bool IsFeatureSupported(uint32_t) override { return false; }
    void Skip(int64_t delta) override { Seek(static_cast<uint64_t>(static_cast<int64_t>(position) + delta)); }

private:
    std::string bytes;
    uint64_t position = 0;
    bool atEnd = false;
};

class CMemoryOutputStream final : public CObjectBase<IMemoryOutputStream> {
public:
    CMemoryOutputStream() : CObjectBase(kMemoryOutputClass) {}

    IObject* QueryInterface(const CId& id) override
    {
        if (id == IMemoryOutputStream::Iid || id == IOutputStream::Iid || id == IStream::Iid ||
            id == IObject::Iid)
            return Answer();
        return nullptr;
    }

    void Close() override {}
    int32_t GetCapabilities() override { return 11; }
    uint64_t GetLength() override { return bytes.size(); }
    void Flush() override {}
    void Seek(uint64_t target) override { position = target; }
    uint64_t Tell() override { return position; }
    void SetHint(uint32_t) override {}
    void Write(const void* data, uint64_t size) override
    {
        if (!data && size > 0)
            throw CNullPtrException("nexilon::CMemoryOutputStream::Write", "MemoryStream", __LINE__,
                                    "buffer is NULL");
        if (position + size > bytes.size())
            bytes.resize(position + size);
        if (size > 0)
            std::memcpy(bytes.data() + position, data, size);
        position += size;
    }
    const std::string& GetBytes() const override { return bytes; }

private:
    std::string bytes;
    uint64_t position = 0;
};

} // namespace

CPtr<IInputStream> CreateMemoryInputStream(std::string_view bytes)
{
    return CPtr<IInputStream>::Adopt(new CMemoryInputStream(bytes));
}

CPtr<IMemoryOutputStream> CreateMemoryOutputStream()
{
    return CPtr<IMemoryOutputStream>::Adopt(new CMemoryOutputStream());
}

} // namespace nexilon
