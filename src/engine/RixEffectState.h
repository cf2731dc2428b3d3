#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "RixEffect.h"
#include "RixEnvelopeState.h"

namespace rix {

// The most entries one history buffer holds (about 95 seconds): a longer
// delay from a file is shortened to this, so no file can make the player
// allocate gigabytes.
constexpr uint32_t RIX_MAX_HISTORY = 4194304;

// The running copy of one effect of a channel's chain: the record, the
// working values derived from it and the history of recent inputs and
// outputs. Samples are int32 of about ±32768 full scale; gains are on the
// /256 scale. Owned by a voice and used under the player's lock.
struct TRixEffectState {
    TRixEffect effect;
    // Frees a history taken from calloc.
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
    // Entries of historyIn and historyOut as allocated.
    uint32_t allocatedLength = 0;
    // Samples per row the working values were derived for.
    uint32_t preparedRowLength = 441;
    // Delay: the echo's distance in samples.
    uint32_t delayLength = 0;
    // Low-pass and high-pass: the filter coefficient.
    int32_t coefficient = 0;
    TRixEnvelopeState envelope1State;
    TRixEnvelopeState envelope2State;
    bool prepared = false;
    // Overdrive: the clip level (never 0) and the output gain.
    int32_t overdriveLimit = 0;
    int32_t overdriveVolume = 0;
    int32_t bandPassFreq = 0;
    int32_t bandPassWidth = 0;
    int32_t resonanceCutoff = 0;
    int32_t resonanceAmount = 0;
    int32_t bandPassState = 0;
    // The resonance filter's low-pass and band-pass memories.
    int32_t filterLow = 0;
    int32_t filterBand = 0;

    // A Delay record with default envelopes, prepared at 441 samples per row.
    TRixEffectState();

    // Adopts a model record and the current row length; anything that
    // differs from what the state was prepared for empties the history.
    void Update(const TRixEffect& record, uint32_t rowLength);
    // Derives the working values and empties (allocates) the history.
    void Prepare();
    // One output sample for one input sample.
    int32_t Process(int32_t x);
    // Process on `count` consecutive samples in place. The envelope values
    // are taken once: the caller keeps them constant over the block.
    void ProcessBlock(int32_t* samples, uint32_t count);

private:
    void ResizeHistory(uint32_t length, uint32_t used);
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
