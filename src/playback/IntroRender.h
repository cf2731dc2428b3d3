#pragma once

#include <array>
#include <cstdint>

#include "IRixModule.h"
#include "IRixModulePlayer.h"
#include "RixModuleData.h"
#include "RixReplayRenderer.h"
#include "nexilon/Ptr.h"

namespace rix {

// One song as the intro plays it (the replay routine on the song's
// exported tables) beside the same song as the editor plays it from its
// start (a player of its own on a copy of the song): what the intro is
// meant to equal, sample for sample. Both move forward together.
//
// Made and moved to a position on a worker thread, then handed to the
// audio path, which renders from it without locks others take and without
// allocating. The routine keeps its state in static storage, so at most
// one CIntroRender (or other CRixReplayRenderer) exists in a process.
class CIntroRender {
public:
    // Samples rendered per step, the most Render takes at once.
    static constexpr uint32_t kBlock = 1024;

    // The plain or, with exact, the exact tables of song; changeCount is
    // the song module's when song was copied from it. Throws
    // std::runtime_error when the routine cannot hold the song or is in
    // use, and what the player throws for a song it refuses.
    CIntroRender(const CRixModuleData& song, bool exact, uint32_t changeCount);
    CIntroRender(const CIntroRender&) = delete;
    CIntroRender& operator=(const CIntroRender&) = delete;

    bool Exact() const { return exact; }
    uint32_t ChangeCount() const { return changeCount; }
    // The next sample, counted from the song's start.
    uint64_t Position() const { return position; }
    uint64_t SongSamples() const { return songSamples; }

    // The next count (at most kBlock) samples of both: intro as the routine
    // mixes them, editor as the player does, each without the channels of
    // mutedChannels (bit c: channel c), as the editor's mute switches
    // silence them. Fewer at the song's end; returns how many.
    uint32_t Render(uint32_t count, uint32_t mutedChannels, int16_t* intro, int16_t* editor);
    // Moves both on by count samples (up to the song's end).
    void Skip(uint64_t count);

private:
    TRixSongTables tables;
    CRixReplayRenderer routine;
    nexilon::CPtr<IRixModule> module;
    nexilon::CPtr<IRixModulePlayer> player;
    bool exact;
    uint32_t changeCount;
    uint64_t songSamples;
    uint64_t position = 0;
    // The mute switches as the player has them.
    uint32_t playerMuted = 0;
    // Each sample's eight channel outputs from the routine, before the
    // master volume, so that muted channels can be left out of its mix.
    std::array<int32_t, 8 * kBlock> channels{};
    std::array<int16_t, kBlock> routineMix{};
    std::array<unsigned char, 2 * kBlock> playerBytes{};
    std::array<int16_t, kBlock> discarded{};
};

} // namespace rix
