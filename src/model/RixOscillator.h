#pragma once

#include <cstdint>

#include "RixEnvelope.h"

namespace rix {

enum TRixOscillatorType : int32_t {
    RIXOSC_SINE = 0,
    RIXOSC_SAW = 1,
    RIXOSC_SQUARE = 2,
    RIXOSC_NOISE = 3,
};

// One oscillator of a channel. volume is on the /256 scale, pitch in cents
// relative to the played note. transition is only ever set on elements of a
// channel's oscillators: the transition oscillator of the same index then
// modulates this one's frequency.
struct TRixOscillator {
    int32_t type = RIXOSC_SINE;
    int32_t volume = 100;
    int32_t pitch = 0;
    TRixEnvelope volumeEnvelope;
    TRixEnvelope transitionEnvelope;
    bool transition = false;

    bool operator==(const TRixOscillator&) const = default;
};

} // namespace rix
