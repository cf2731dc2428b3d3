#pragma once

#include "IRixModulePlayer.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"

namespace rix {

class CIntroRenderSwitch;

inline constexpr nexilon::CId INTRO_RENDER_STREAM_CLASS{0x8C5D13A2, 0x47E94B0F, 0x9A61D2C8, 0x5B03E7F4};

// The song player as the song's sound reads it, with the A/B switch in
// between: every block the player renders passes through
// CIntroRenderSwitch::OnEditorBlock, which may put the intro's render in
// its place. Everything else goes to the player as it is. Used by the
// sound's thread; the switch outlives it.
class CIntroRenderStream final : public nexilon::CObjectBase<nexilon::IInputStream> {
public:
    CIntroRenderStream(IRixModulePlayer& player, CIntroRenderSwitch& owner);

    nexilon::IObject* QueryInterface(const nexilon::CId& interfaceId) override;

    void Close() override { player->Close(); }
    int32_t GetCapabilities() override { return player->GetCapabilities(); }
    uint64_t GetLength() override { return player->GetLength(); }
    void Flush() override { player->Flush(); }
    void Seek(uint64_t position) override { player->Seek(position); }
    uint64_t Tell() override { return player->Tell(); }

    bool IsEof() override { return player->IsEof(); }
    const nexilon::TStreamFormat* GetFormat() override { return player->GetFormat(); }
    void Read(nexilon::IMediaSample* sample) override { player->Read(sample); }
    uint64_t Read(void* buffer, uint64_t size) override;
    bool IsFeatureSupported(uint32_t feature) override { return player->IsFeatureSupported(feature); }
    void Skip(int64_t delta) override { player->Skip(delta); }

private:
    nexilon::CPtr<IRixModulePlayer> player;
    CIntroRenderSwitch& owner;
};

} // namespace rix
