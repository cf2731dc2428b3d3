#pragma once

#include "IMfcFileOutputStream.h"
#include "nexilon/ObjectBase.h"

namespace rix {

// Presents a document archive's file as a framework output stream, writing
// the file directly at its current position (not through the archive). The
// file is never owned: destruction forgets it without closing it. One
// thread at a time.
class CMfcFileOutputStream final : public nexilon::CObjectBase<IMfcFileOutputStream> {
public:
    static constexpr nexilon::CId ClassId{0xE92A0F8C, 0x3BC54175, 0x92014B42, 0x05960F5A};

    CMfcFileOutputStream() : CObjectBase(ClassId) {}

    // The class store's factory: a new, disconnected stream with one reference.
    static nexilon::IObject* Create();

    nexilon::IObject* QueryInterface(const nexilon::CId& interfaceId) override;

    void Close() override;
    int32_t GetCapabilities() override;
    uint64_t GetLength() override;
    void Flush() override;
    void Seek(uint64_t position) override;
    uint64_t Tell() override;

    void SetHint(uint32_t) override {}
    void Write(const void* buffer, uint64_t size) override;

    void Connect(CArchive* archive) override;
    void Connect(CFile* newFile) override;
    void Disconnect() override { file = nullptr; }
    CFile* GetFile() const override { return file; }

private:
    CFile& RequireFile(const char* operation) const;

    CFile* file = nullptr;
};

} // namespace rix
