#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "RixEffectState.h"
#include "RixEnvelopeState.h"
#include "RixModuleChannel.h"
#include "RixOscillatorState.h"
#include "RixOutputRing.h"

namespace rix {

// The most envelopes of one channel that the player steps, restarts and
// releases; later ones are left out.
constexpr uint32_t RIX_MAX_VOICE_ENVELOPES = 256;

// The synthesizer of one channel: runtime copies of the channel's
// instrument with their running state. Samples are int32 of about ±32768
// full scale before the player's final clamp; volume and gains are on the
// /256 scale. Used only by the module player under its lock, except the
// mute switch, which may be set from any thread.
class TRixVoice {
public:
    TRixVoice();
    TRixVoice(const TRixVoice&) = delete;
    TRixVoice& operator=(const TRixVoice&) = delete;

    // Back to a fresh voice: silent ring, no oscillators, no effects, gate
    // closed, audible.
    void Reset();
    // Follows the model's channel. Oscillator and effect states are
    // recreated only when their number changed (the channel then stays
    // silent until its next note); otherwise a sounding note goes on with
    // the new parameters. rowLength (samples) sizes the delay effects, whose
    // histories come from `allocate`. Throws std::bad_alloc when one cannot
    // be had; the voice then stays consistent, partly synchronised, and can
    // render on.
    void Synchronise(const CRixModuleChannel& channel, uint32_t rowLength, TRixHistoryAllocator allocate);
    // A pattern value: 1..254 start a note, 255 stops it. The caller then
    // restarts or releases the envelopes (Envelopes()).
    void NoteOn(uint32_t note);
    // Fills `list` with the channel envelope, then per oscillator pair the
    // carrier's volume and transition envelopes and the transition
    // oscillator's, then both envelopes of each effect; at most 256.
    uint32_t CollectEnvelopes(std::array<TRixEnvelopeState*, RIX_MAX_VOICE_ENVELOPES>& list);
    // The list CollectEnvelopes gave at the last synchronisation.
    std::span<TRixEnvelopeState* const> Envelopes() const { return {envelopes.data(), envelopeCount}; }

    // Numbers the noise draws this voice makes in each sample of the next
    // block: carriers (gate open) first, continuing from `nextSlot`, and in
    // a second pass the transition oscillators.
    void AssignCarrierNoise(uint32_t& nextSlot);
    void AssignModulatorNoise(uint32_t& nextSlot);
    // `count` (1..RIX_MAX_BLOCK) samples with an Advance between each two:
    // the channel's output (0 when muted) is added to `mix`, or written
    // there for the first channel, and recorded in the ring. Envelope
    // values and gate must stay constant over the block. The Advance after
    // the last sample is the caller's.
    void RenderBlock(int32_t* mix, bool addToMix, uint32_t count, const TRixNoiseRun& noise);
    // Moves every phase on by one sample (with frequency modulation) and
    // the ring position by one.
    void Advance(TRixNoiseGenerator& noise);
    // Empties every effect's history and filter memory.
    void PrepareEffects();

    // The channel's recent post-effect output, muted or not.
    TRixOutputRing& Ring() { return outputRing; }

    void SetEnabled(bool on) { enabled.store(on, std::memory_order_relaxed); }
    bool IsEnabled() const { return enabled.load(std::memory_order_relaxed); }

private:
    TRixOutputRing outputRing;
    int32_t volume = 100;
    std::vector<TRixOscillatorState> carriers;
    // modulators[i] is carriers[i]'s transition oscillator.
    std::vector<TRixOscillatorState> modulators;
    TRixEnvelopeState envelope;
    bool gate = false;
    std::vector<TRixEffectState> effects;
    std::atomic<bool> enabled{true};
    std::array<TRixEnvelopeState*, RIX_MAX_VOICE_ENVELOPES> envelopes{};
    uint32_t envelopeCount = 0;
    // Oscillators of the noise type, so blocks without noise skip the
    // numbering of draws.
    uint32_t noiseOscillators = 0;
};

} // namespace rix
