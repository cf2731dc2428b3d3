#include "RixEnvelopeState.h"

#include "RixArithmetic.h"

namespace rix {

int32_t TRixEnvelopeState::EnvelopeValue(int32_t atCounter) const
{
    int32_t c = atCounter;
    if (parameters.keepEnabled && c > parameters.keep)
        c = parameters.keep;
    const int32_t s = SineApprox(WrapAdd(parameters.phase, c) >> 8);
    const int32_t span = WrapSub(parameters.maxValue, parameters.minValue);
    return WrapAdd(parameters.minValue, DivTrunc256(WrapMul(s + 128, span)));
}

void TRixEnvelopeState::Step()
{
    counter = WrapAdd(counter, parameters.speed);
    if (!released && parameters.sustainEnabled && counter > parameters.sustain)
        counter = parameters.sustain;
    if (parameters.keepEnabled && counter > parameters.keep)
        counter = parameters.keep;
    value = EnvelopeValue(counter);
}

void TRixEnvelopeState::Restart()
{
    counter = 0;
    released = false;
    value = EnvelopeValue(0);
}

void TRixEnvelopeState::PatternRestart()
{
    counter = 0;
    value = EnvelopeValue(0);
}

void TRixEnvelopeState::Rederive(uint32_t steps)
{
    counter = static_cast<int32_t>(steps * static_cast<uint32_t>(parameters.speed));
    value = EnvelopeValue(counter);
}

} // namespace rix
