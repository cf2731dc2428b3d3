#pragma once

#include <cstdint>

namespace rix {

class CRixModuleData;

// The kinds of song data an edit, an undo or a load can change.
enum TSongData : uint32_t {
    SONG_ORDER_TABLE = 1u << 0,    // a channel's order entries
    SONG_PATTERNS = 1u << 1,       // a channel's pattern cells
    SONG_INSTRUMENT = 1u << 2,     // a channel's oscillators, effects and channel envelope
    SONG_CHANNEL_VOLUME = 1u << 3,
    SONG_MASTER_VOLUME = 1u << 4,
    SONG_TEMPO = 1u << 5,
    SONG_ALL = (1u << 6) - 1,
};

// What changed in the song: kinds of data (TSongData bits) and the channels
// whose own data (order entries, patterns, instrument, volume) of those
// kinds changed. Windows redraw what it names.
struct TSongChange {
    uint32_t data = 0;
    uint32_t channels = 0;  // bit c: channel c

    bool operator==(const TSongChange&) const = default;
    bool IsEmpty() const { return data == 0; }
    // Whether any of the kinds changed, for channel (0..7) or for any
    // channel when channel is negative.
    bool Names(uint32_t kinds, int32_t channel = -1) const
    {
        return (data & kinds) != 0 && (channel < 0 || (channels >> channel & 1u) != 0);
    }
    TSongChange& operator|=(const TSongChange& other)
    {
        data |= other.data;
        channels |= other.channels;
        return *this;
    }

    // A new or loaded song: everything.
    static TSongChange Everything() { return {SONG_ALL, 0xFFu}; }
};

// The data in which two states of a song differ.
TSongChange SongDifference(const CRixModuleData& before, const CRixModuleData& after);

} // namespace rix
