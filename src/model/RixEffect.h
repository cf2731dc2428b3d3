#pragma once

#include <cstdint>

#include "RixEnvelope.h"

namespace rix {

enum TRixEffectType : int32_t {
    RIXEFFECT_DELAY = 0,
    RIXEFFECT_FLANGE = 1,
    RIXEFFECT_LOWPASS = 2,
    RIXEFFECT_HIGHPASS = 3,
    RIXEFFECT_RESONANCE = 4,
    RIXEFFECT_OVERDRIVE = 5,
    RIXEFFECT_BANDPASS = 6,
};

// One effect of a channel's chain. A new record is a Delay (param1 400 =
// four rows, param2 128 = half volume) with default envelopes; SetType
// applies the chosen type's defaults and leaves the other members as they
// were. Overdrive's parameters are unsigned in files; the bits are kept here.
struct TRixEffect {
    int32_t type = RIXEFFECT_DELAY;
    TRixEnvelope envelope1;
    TRixEnvelope envelope2;
    int32_t param1 = 400;
    int32_t param2 = 128;

    bool operator==(const TRixEffect&) const = default;

    void SetType(int32_t newType);
    // A new record already set to a type.
    static TRixEffect OfType(int32_t type);
};

} // namespace rix
