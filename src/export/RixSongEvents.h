#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RixModuleData.h"

namespace rix {

// One row value that the player acts on: a note (1..254) or a stop (255),
// at the sample where its row starts.
struct TRixNoteEvent {
    uint32_t sample = 0; // from the song's start
    int order = 0;       // order position
    int row = 0;         // 0..15
    int channel = 0;     // 0..7
    uint32_t note = 0;   // 1..254, or 255 for a stop

    double Seconds() const { return sample / static_cast<double>(RIX_SAMPLE_RATE); }
    bool operator==(const TRixNoteEvent&) const = default;
};

// The notes and stops of one pass through the song in the order the player
// meets them (row by row, channel 1 first), as the replay routine's sync
// reports them: every played pattern counts, pattern 0 too, as the player
// plays it. For a demo tool's timeline.
std::vector<TRixNoteEvent> SongNoteEvents(const CRixModuleData& data);

// Channels with at least one note in the song, in order.
std::vector<int> PlayingChannels(const CRixModuleData& data);

// "channel-3-saw-sine.wav": the channel (1..8) and its oscillators'
// waveforms, for a stem of that channel.
std::string StemFileName(const CRixModuleData& data, int channel);

} // namespace rix
