#include "RixEnvelopeState.h"

namespace rix {

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
