#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "RixEffect.h"
#include "RixEnvelopeState.h"

namespace rix {

// The most entries one history buffer holds (about 95 seconds): a longer
// delay or flange from a file is shortened to this. It bounds one effect
// (2 × 16 MiB), not a song: the number of effects has no limit, so the
// player also refuses a song whose histories together exceed
// RIX_HISTORY_BUDGET_BYTES.
constexpr uint32_t RIX_MAX_HISTORY = 4194304;

// The most memory the histories of one song may take, both buffers of every
// effect of every channel together: 3000 delays of one row at 120 BPM,
// or four of the longest. With the song's player, a WAV export's and the
// preview's alive at once, the editor stays well below 1 GB.
constexpr uint64_t RIX_HISTORY_BUDGET_BYTES = 128u << 20;

// Where histories come from: `entries` zeroed int32 values to be freed
// with std::free, or null when memory is short. The player uses
// CallocHistory; tests hand in one that fails.
using TRixHistoryAllocator = int32_t* (*)(uint32_t entries);
// calloc leaves the zeroing of a long history's pages to the system, on
// first touch, instead of writing megabytes up front.
int32_t* CallocHistory(uint32_t entries);

// The running copy of one effect of a channel's chain: the record, the
// working values derived from it and the history of recent inputs and
// outputs. Samples are int32 of about ±32768 full scale; gains are on the
// /256 scale. Owned by a voice and used under the player's lock.
//
// Whatever throws (only an allocation can), a state stays the one it was:
// the new history is allocated before anything is changed.
struct TRixEffectState {
    TRixEffect effect;
    // Frees a history taken from the allocator.
    struct TFree {
        void operator()(int32_t* history) const { std::free(history); }
    };
    using THistory = std::unique_ptr<int32_t[], TFree>;

    // The last historyLength inputs and outputs, both written at
    // historyPosition; null when the kind keeps no history.
    THistory historyIn;
    THistory historyOut;
    uint32_t historyLength = 0;
    uint32_t historyPosition = 0;
    // The position has passed the end since the history was emptied.
    bool historyWrapped = false;
    // Samples per row the working values were derived for.
    uint32_t preparedRowLength = 0;
    // Delay: the echo's distance in samples.
    uint32_t delayLength = 0;
    // Low-pass and high-pass: the filter coefficient.
    int32_t coefficient = 0;
    TRixEnvelopeState envelope1State;
    TRixEnvelopeState envelope2State;
    // Overdrive: the clip level (never 0) and the output gain.
    int32_t overdriveLimit = 0;
    int32_t overdriveVolume = 0;
    int32_t resonanceCutoff = 0;
    int32_t resonanceAmount = 0;
    // The resonance filter's low-pass and band-pass memories.
    int32_t filterLow = 0;
    int32_t filterBand = 0;

    // A state prepared for `record` at `rowLength` samples per row, with
    // fresh envelopes; throws std::bad_alloc when the history cannot be had.
    TRixEffectState(const TRixEffect& record, uint32_t rowLength, TRixHistoryAllocator allocate = &CallocHistory);

    // Entries of each of the two history buffers `record` keeps at
    // `rowLength` samples per row.
    static uint32_t HistoryLength(const TRixEffect& record, uint32_t rowLength);

    // Adopts a model record and the current row length; anything that
    // differs from what the state was prepared for empties the history.
    // Throws std::bad_alloc, leaving the state unchanged, when a history of
    // a new size cannot be had.
    void Update(const TRixEffect& record, uint32_t rowLength, TRixHistoryAllocator allocate = &CallocHistory);
    // Derives the working values and empties the history and the filter
    // memories; allocates nothing.
    void Prepare();
    // One output sample for one input sample.
    int32_t Process(int32_t x);
    // Process on `count` consecutive samples in place. The envelope values
    // are taken once: the caller keeps them constant over the block.
    void ProcessBlock(int32_t* samples, uint32_t count);

private:
    void Adopt(const TRixEffect& record, uint32_t rowLength, TRixHistoryAllocator allocate);
    void Remember(int32_t x, int32_t y);
    void ProcessDelay(int32_t* samples, uint32_t count);
    void ProcessFlange(int32_t* samples, uint32_t count);
    void ProcessLowPass(int32_t* samples, uint32_t count);
    void ProcessHighPass(int32_t* samples, uint32_t count);
    void ProcessResonance(int32_t* samples, uint32_t count);
    void ProcessOverdrive(int32_t* samples, uint32_t count);
    void ProcessPassThrough(int32_t* samples, uint32_t count);
};

} // namespace rix
