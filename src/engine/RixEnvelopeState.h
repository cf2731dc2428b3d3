#pragma once

#include <cstdint>

#include "RixArithmetic.h"
#include "RixEnvelope.h"

namespace rix {

// The running copy of one envelope. The player steps it every 44 samples,
// restarts it on notes (reset mode Note) or at order positions (Pattern, Two
// patterns, Four patterns) and releases it on stop notes. Only the
// parameters follow the model; counter, value and released run on.
struct TRixEnvelopeState {
    TRixEnvelope parameters;
    // Phase offset since the last restart, 65536 per cycle; wraps freely
    // because only bits 8..15 of phase + counter reach the output.
    int32_t counter = 0;
    // The current output on the /256 scale.
    int32_t value = 256;
    // Set by a stop note: the counter may run past the sustain point.
    bool released = true;

    // The output for a counter: swings between minValue and maxValue.
    int32_t EnvelopeValue(int32_t atCounter) const
    {
        int32_t c = atCounter;
        if (parameters.keepEnabled && c > parameters.keep)
            c = parameters.keep;
        const int32_t s = SineApprox(WrapAdd(parameters.phase, c) >> 8);
        const int32_t span = WrapSub(parameters.maxValue, parameters.minValue);
        return WrapAdd(parameters.minValue, DivTrunc256(WrapMul(s + 128, span)));
    }
    // One envelope step (every 44 samples).
    void Step()
    {
        counter = WrapAdd(counter, parameters.speed);
        if (!released && parameters.sustainEnabled && counter > parameters.sustain)
            counter = parameters.sustain;
        if (parameters.keepEnabled && counter > parameters.keep)
            counter = parameters.keep;
        value = EnvelopeValue(counter);
    }
    // Note restart: from the start phase, held at the sustain point again.
    void Restart();
    // Restart at an order position; leaves released as it is.
    void PatternRestart();
    void Release() { released = true; }
    // Positions the envelope as if it had run `steps` steps since its last
    // restart, without the sustain hold (used after a seek).
    void Rederive(uint32_t steps);
};

} // namespace rix
