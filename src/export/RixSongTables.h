#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "RixSongDataTypes.h"

namespace rix {

// The tables of RixSongData.cpp as values. The exporter builds them once;
// the text is printed from them and the replay routine plays them, so what
// the editor's tool hears is what the intro compiles.
struct TRixSongTables {
    static constexpr int kEffectTypes = 6;

    // The defines block. RIXSONG_EXACT and RIXSONG_WIDE_CHANNELS are set
    // only by an exact export, and only where the song needs them (see
    // RixReplay.h for the forms they choose).
    bool exact = false;
    bool wideChannels = false;
    int32_t songLength = 0;
    int32_t rowLength = 0;
    int32_t masterVolume = 0;
    std::array<bool, kEffectTypes> effectTypeUsed{};

    // One entry per order position: channel 1's pattern in the low four bits.
    std::vector<uint32_t> orderTable;
    // 16 bytes per written pattern (octave in the high, semitone in the low
    // four bits, or when exact the note itself; 0 empty, 255 stop). patternIsNote tells a note byte from an
    // empty one: the lowest note is the byte 0 too, but written as 0x00.
    std::vector<uint8_t> patternData;
    std::vector<bool> patternIsNote;
    // Patterns written before each channel's first one.
    std::array<uint8_t, 8> patternLookup{};

    std::vector<TRixSongEnvelope> envelopes;
    std::vector<TRixSongEnvelopeCounter> counters;
    std::vector<TRixSongOscillator> oscillators;
    std::vector<TRixSongEffect> effects;

    // As written; the compiled tables are bytes unless wideChannels, so
    // values above 255 do not compile (the export verification names them).
    std::array<int32_t, 8> channelVolume{};
    std::array<int32_t, 8> channelEnvelopeCounter{};
    std::array<bool, 8> channelStopNote{};

    // Ints of echo history the replay routine keeps for the effects.
    uint64_t HistoryInts() const
    {
        uint64_t total = 0;
        for (const TRixSongEffect& e : effects) {
            if (exact)
                total += static_cast<uint32_t>(e.length);
            else if (e.type == RIXSONGEFFECTTYPE_DELAY)
                total += static_cast<uint32_t>(e.length) + 2u;
            else if (e.type == RIXSONGEFFECTTYPE_FLANGE && e.length >= 0)
                total += static_cast<uint32_t>(e.length) + 1u;
        }
        return total;
    }

    // Patterns written for a channel.
    int PatternCount(int channel) const
    {
        const int next = channel + 1 < 8 ? patternLookup[channel + 1] : static_cast<int>(patternData.size() / 16);
        return next - patternLookup[channel];
    }
};

} // namespace rix
