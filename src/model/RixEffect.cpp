#include "RixEffect.h"

namespace rix {

void TRixEffect::SetType(int32_t newType)
{
    type = newType;
    switch (newType) {
    case RIXEFFECT_DELAY:
        param1 = 400;
        param2 = 128;
        break;
    case RIXEFFECT_FLANGE:
        envelope1 = {100, 200, 65, RIXRESET_SONG, 16384, 0, 0, false, false};
        break;
    case RIXEFFECT_LOWPASS:
    case RIXEFFECT_HIGHPASS:
        param1 = 100;
        envelope1 = TRixEnvelope::Default();
        break;
    case RIXEFFECT_RESONANCE:
    case RIXEFFECT_BANDPASS:
        param1 = 100;
        param2 = 100;
        envelope1 = TRixEnvelope::Default();
        envelope2 = TRixEnvelope::Default();
        break;
    case RIXEFFECT_OVERDRIVE:
        param1 = 100;
        param2 = 100;
        envelope1 = TRixEnvelope::Default();
        break;
    default:
        break;
    }
}

TRixEffect TRixEffect::OfType(int32_t type)
{
    TRixEffect effect;
    effect.SetType(type);
    return effect;
}

} // namespace rix
