#pragma once

#include "IMfcFileInputStream.h"
#include "nexilon/ObjectBase.h"

namespace rix {

// Presents a document archive's file as a framework input stream, reading
// the file directly from its current state (not through the archive). The
// file is never owned: destruction forgets it without closing it. One
// thread at a time.
class CMfcFileInputStream final : public nexilon::CObjectBase<IMfcFileInputStream> {
public:
    static constexpr nexilon::CId ClassId{0x74C2E0AE, 0xF899476C, 0x818BB132, 0xEAA011BA};

    CMfcFileInputStream() : CObjectBase(ClassId) {}

    // The class store's factory: a new, disconnected stream with one reference.
    static nexilon::IObject* Create();

    nexilon::IObject* QueryInterface(const nexilon::CId& interfaceId) override;

    void Close() override;
    int32_t GetCapabilities() override;
    uint64_t GetLength() override;
    void Flush() override;
    void Seek(uint64_t position) override;
    uint64_t Tell() override;

    bool IsEof() override { return atEnd; }
    const nexilon::TStreamFormat* GetFormat() override;
    void Read(nexilon::IMediaSample* sample) override;
    uint64_t Read(void* buffer, uint64_t size) override;
    bool IsFeatureSupported(uint32_t) override { return false; }
    void Skip(int64_t delta) override;

    void Connect(CArchive* archive) override;
    void Connect(CFile* newFile) override;
    void Disconnect() override;
    CFile* GetFile() const override { return file; }

private:
    CFile& RequireFile(const char* operation) const;

    CFile* file = nullptr;
    // True while disconnected and after a read that returned less than asked.
    bool atEnd = true;
};

} // namespace rix
