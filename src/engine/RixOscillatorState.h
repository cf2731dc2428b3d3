#pragma once

#include <cstdint>

#include "RixEnvelopeState.h"
#include "RixNoiseGenerator.h"
#include "RixOscillator.h"

namespace rix {

// The most samples rendered in one block: envelopes step every 44 samples,
// and within a block every envelope value stays the same.
constexpr uint32_t RIX_MAX_BLOCK = 44;

// Where the noise oscillators of one block draw their values: the
// generator's state at the block start and the map of one sample's worth of
// draws (the draws of all voices for one sample are consecutive, in the
// order the per-sample algorithm makes them).
struct TRixNoiseRun {
    uint32_t startState = 1;
    TRixNoiseGenerator::TJump perSample;
};

// The running copy of one oscillator (a carrier or a transition oscillator).
// Phases are in units of 65536 per cycle (only the low 16 bits count);
// volume is on the /256 scale; samples span about ±32768.
struct TRixOscillatorState {
    int32_t type = RIXOSC_SINE;
    int32_t volume = 100;
    int32_t pitch = 0;
    uint32_t phase = 0;
    // Phase step per sample for the current note; 0 keeps the oscillator
    // silent (no note yet).
    int32_t increment = 0;
    TRixEnvelopeState volumeEnvelope;
    // 256 keeps the note's pitch, 512 is an octave up.
    TRixEnvelopeState transitionEnvelope;
    // The paired transition oscillator's output floor-shifted by 3; only
    // carriers are modulated, so a transition oscillator's stays 0.
    int32_t fmOffset = 0;
    bool transition = false;
    // The position of this oscillator's noise draw among one sample's draws
    // in the current block; -1 when it draws none.
    int32_t noiseSlot = -1;

    // Copies the model's parameters; phase, increment and envelope running
    // state are kept, so a sounding note goes on.
    void SetParameters(const TRixOscillator& oscillator);
    // Starts a note (1..254 are the pattern notes; 58 is 440 Hz).
    void StartNote(uint32_t note);
    // The phase step of a note at a transpose in cents.
    static int32_t NoteIncrement(int32_t pitch, uint32_t note);

    bool DrawsNoise() const { return type == RIXOSC_NOISE && increment != 0; }
    // Phase step per sample before frequency modulation.
    int32_t PhaseStep() const;

    // The output at the current phase; a noise oscillator draws one value.
    int32_t Output(TRixNoiseGenerator& noise) const;
    // Outputs for `count` samples, added to `out` (accumulate) or written
    // into it: at the given phases, or at phase, phase + step, phase +
    // 2 × step ... A noise oscillator takes its k-th value from its slot
    // among the draws of the block's k-th sample.
    void RenderAtPhases(const uint32_t* phases, int32_t* out, bool accumulate, uint32_t count,
                        const TRixNoiseRun& run) const;
    void RenderFromPhase(uint32_t step, int32_t* out, bool accumulate, uint32_t count, const TRixNoiseRun& run) const;

private:
    // nextPhase() gives the phase of each sample in turn.
    template <bool accumulate, class TNextPhase>
    void RenderOutputs(TNextPhase nextPhase, int32_t* out, uint32_t count, const TRixNoiseRun& run) const;
};

} // namespace rix
