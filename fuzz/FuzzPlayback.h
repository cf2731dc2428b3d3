#pragma once

#include <cstdint>
#include <cstdlib>

#include "RixModule.h"
#include "RixModulePlayer.h"
#include "nexilon/Exceptions.h"

namespace fuzzing {

// Plays a loaded song as the editor and the WAV export would: connect, a
// few thousand samples, one seek to a row taken from the input, a few more.
// A framework exception (a song the player refuses) is a fine outcome; a
// crash, a hang or more memory than libFuzzer's -rss_limit_mb is not.
inline void PlayBriefly(const rix::CRixModuleData& song, uint32_t seekRow)
{
    auto module = nexilon::CPtr<rix::CRixModule>::Adopt(new rix::CRixModule());
    {
        rix::CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        *data = song;
    }
    auto player = nexilon::CPtr<rix::CRixModulePlayer>::Adopt(new rix::CRixModulePlayer());
    try {
        player->Connect(module.Get());
        unsigned char buffer[8192];
        const uint64_t first = player->Read(buffer, sizeof buffer);
        if (first > sizeof buffer || first % 2 != 0)
            std::abort();
        player->SeekToRow(seekRow);
        player->Read(buffer, 2048);
    } catch (const nexilon::CException&) {
    }
}

// From the last four bytes of the input, so the seek moves with the
// mutations: mostly a row of the song or just past it, sometimes any row.
inline uint32_t SeekRowFrom(const uint8_t* data, size_t size)
{
    uint32_t row = 0;
    for (size_t i = size >= 4 ? size - 4 : 0; i < size; ++i)
        row = row << 8 | data[i];
    return (row & 0x80000000u) != 0 ? row : row % 8192;
}

} // namespace fuzzing
