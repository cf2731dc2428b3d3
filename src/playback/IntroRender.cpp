#include "IntroRender.h"

#include <algorithm>

#include "RixArithmetic.h"
#include "RixConstants.h"
#include "RixModule.h"
#include "RixSongExporter.h"
#include "nexilon/Nexilon.h"

namespace rix {

CIntroRender::CIntroRender(const CRixModuleData& song, bool exact, uint32_t changeCount)
    : tables(CRixSongExporter().Build(song, exact)), routine(tables),
      module(nexilon::CreateInstance<IRixModule>(CRixModule::ClassId)),
      player(nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS)), exact(exact),
      changeCount(changeCount), songSamples(routine.SongSamples())
{
    {
        CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        *data = song;
    }
    player->Connect(module.Get());
}

uint32_t CIntroRender::Render(uint32_t count, uint32_t mutedChannels, int16_t* intro, int16_t* editor)
{
    count = static_cast<uint32_t>(std::min<uint64_t>({count, kBlock, songSamples - position}));
    if (count == 0)
        return 0;
    for (int32_t c = 0; c < RIX_CHANNELS; ++c)
        if (((mutedChannels ^ playerMuted) >> c & 1u) != 0)
            player->SetChannelEnabled(c, (mutedChannels >> c & 1u) == 0);
    playerMuted = mutedChannels;

    routine.Render(routineMix.data(), count, channels.data());
    // The routine's own mix, with the muted channels' outputs left out.
    for (uint32_t k = 0; k < count; ++k) {
        int32_t mix = 0;
        for (uint32_t c = 0; c < 8; ++c)
            if ((mutedChannels >> c & 1u) == 0)
                mix = WrapAdd(mix, channels[8 * k + c]);
        mix = ScaleFloor(mix, tables.masterVolume);
        intro[k] = static_cast<int16_t>(std::clamp<int32_t>(mix, -32768, 32767));
    }
    const uint64_t got = player->Read(playerBytes.data(), 2u * count) / 2;
    for (uint32_t k = 0; k < count; ++k)
        editor[k] = k < got ? static_cast<int16_t>(static_cast<uint16_t>(playerBytes[2 * k] | playerBytes[2 * k + 1] << 8))
                            : int16_t{0};
    position += count;
    return count;
}

void CIntroRender::Skip(uint64_t count)
{
    while (count > 0) {
        const uint32_t step = Render(static_cast<uint32_t>(std::min<uint64_t>(count, kBlock)), playerMuted,
                                     discarded.data(), discarded.data());
        if (step == 0)
            return;
        count -= step;
    }
}

} // namespace rix
