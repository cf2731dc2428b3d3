#include "IntroRenderStream.h"

#include "IntroRenderSwitch.h"

namespace rix {

CIntroRenderStream::CIntroRenderStream(IRixModulePlayer& player, CIntroRenderSwitch& owner)
    : CObjectBase(INTRO_RENDER_STREAM_CLASS), player(&player), owner(owner)
{
}

nexilon::IObject* CIntroRenderStream::QueryInterface(const nexilon::CId& interfaceId)
{
    if (interfaceId == nexilon::IInputStream::Iid || interfaceId == nexilon::IStream::Iid ||
        interfaceId == nexilon::IObject::Iid)
        return Answer();
    return nullptr;
}

uint64_t CIntroRenderStream::Read(void* buffer, uint64_t size)
{
    const uint64_t first = player->Tell() / 2;
    const uint64_t got = player->Read(buffer, size);
    const auto count = static_cast<uint32_t>(got / 2);
    if (count > 0 && buffer)
        owner.OnEditorBlock(first, player->Tell() / 2, static_cast<unsigned char*>(buffer), count);
    return got;
}

} // namespace rix
