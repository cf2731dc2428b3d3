#pragma once

#include <atomic>
#include <functional>

#include "RixModulePlayer.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"

namespace rix {

// The module player as the class store hands it to the controller, with
// switches that make it fail and a hook into its start.
struct TPlayerHooks {
    std::atomic<bool> failConnect{false};
    // Read fails from this sample on; negative: never.
    std::atomic<int64_t> failReadFrom{-1};
    // Called on the playback thread when it seeks to the start row.
    std::function<void()> onSeekToRow;
    // Called on the sound's render thread before each read, with the
    // player's position in samples.
    std::function<void(uint64_t)> onRead;
};

inline TPlayerHooks playerHooks;

class CHookedPlayer final : public nexilon::CObjectBase<IRixModulePlayer> {
public:
    CHookedPlayer() : CObjectBase(RIX_MODULE_PLAYER_CLASS) {}

    static void Register()
    {
        nexilon::q.GetClassStore().RegisterClassNxl({RIX_MODULE_PLAYER_CLASS, u"rix::CRixModulePlayer", [] {
            return static_cast<nexilon::IObject*>(static_cast<IRixModulePlayer*>(new CHookedPlayer));
        }});
    }

    nexilon::IObject* QueryInterface(const nexilon::CId& id) override
    {
        using namespace nexilon;
        return id == IRixModulePlayer::Iid || id == IInputStream::Iid || id == IStream::Iid || id == IObject::Iid ? Answer() : nullptr;
    }
    void Close() override { inner->Close(); }
    int32_t GetCapabilities() override { return inner->GetCapabilities(); }
    uint64_t GetLength() override { return inner->GetLength(); }
    void Flush() override { inner->Flush(); }
    void Seek(uint64_t position) override { inner->Seek(position); }
    uint64_t Tell() override { return inner->Tell(); }
    bool IsEof() override { return inner->IsEof(); }
    const nexilon::TStreamFormat* GetFormat() override { return inner->GetFormat(); }
    void Read(nexilon::IMediaSample* sample) override { inner->Read(sample); }
    uint64_t Read(void* buffer, uint64_t size) override
    {
        if (playerHooks.onRead)
            playerHooks.onRead(inner->Tell() / 2);
        const int64_t failFrom = playerHooks.failReadFrom;
        if (failFrom >= 0 && static_cast<int64_t>(inner->Tell() / 2) >= failFrom)
            throw nexilon::CIOException("rix::CHookedPlayer::Read", "HookedPlayer", __LINE__, "Read failed on purpose");
        return inner->Read(buffer, size);
    }
    bool IsFeatureSupported(uint32_t feature) override { return inner->IsFeatureSupported(feature); }
    void Skip(int64_t delta) override { inner->Skip(delta); }
    void SetChannelEnabled(int32_t channel, bool enabled) override { inner->SetChannelEnabled(channel, enabled); }
    int32_t RowAtTime(float seconds) override { return inner->RowAtTime(seconds); }
    float TimeOfRow(uint32_t row) override { return inner->TimeOfRow(row); }
    void SeekToRow(uint32_t row) override
    {
        if (playerHooks.onSeekToRow)
            playerHooks.onSeekToRow();
        inner->SeekToRow(row);
    }
    void Connect(IRixModule* module) override
    {
        if (playerHooks.failConnect)
            throw nexilon::CIOException("rix::CHookedPlayer::Connect", "HookedPlayer", __LINE__, "Connect failed on purpose");
        inner->Connect(module);
    }
    uint32_t GetRow() override { return inner->GetRow(); }
    void CopyOutput(int32_t channel, uint32_t position, int32_t* destination, uint32_t count) override
    {
        inner->CopyOutput(channel, position, destination, count);
    }
    void SetLoopPattern(bool loop) override { inner->SetLoopPattern(loop); }
    uint64_t GetRenderedCount() override { return inner->GetRenderedCount(); }
    float GetRowSeconds() override { return inner->GetRowSeconds(); }
    bool CopyRendered(int32_t channel, uint64_t end, int32_t* destination, uint32_t count) override
    {
        return inner->CopyRendered(channel, end, destination, count);
    }

private:
    nexilon::CPtr<CRixModulePlayer> inner = nexilon::CPtr<CRixModulePlayer>::Adopt(new CRixModulePlayer);
};

} // namespace rix
