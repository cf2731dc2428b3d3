#pragma once

#include <array>
#include <cstdint>

#include "RixReplay.h"
#include "RixSongTables.h"

namespace rix {

// Plays exported tables with the intro replay routine, as the intro will.
// The routine keeps its state in static storage, so at most one renderer
// may exist in a process at a time, and it is used from one thread.
class CRixReplayRenderer {
public:
    // Throws std::runtime_error when the routine cannot hold the song, or
    // when another renderer exists.
    explicit CRixReplayRenderer(const TRixSongTables& tables);
    ~CRixReplayRenderer();
    CRixReplayRenderer(const CRixReplayRenderer&) = delete;
    CRixReplayRenderer& operator=(const CRixReplayRenderer&) = delete;

    // The next `count` samples; after the song's end the routine starts it
    // again. `channels`, when given, receives each sample's eight channel
    // outputs (after effects, before the master volume), 8 ints per sample.
    void Render(int16_t* out, uint32_t count, int32_t* channels = nullptr);

    // Samples of one pass through the song.
    uint64_t SongSamples() const;

    // The routine's phase step for a note on an oscillator row of these tables.
    int32_t Increment(int note, const TRixSongOscillator& oscillator) const;

private:
    TRixSongTables tables;
    // The channel tables as an intro compiles them: bytes unless wide.
    std::array<int, 8> channelVolume{};
    std::array<int, 8> channelEnvelopeCounter{};
    TRixReplaySong song{};
};

} // namespace rix
