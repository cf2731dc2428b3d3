#include "RixNoiseGenerator.h"

namespace rix {

TRixNoiseGenerator::TJump TRixNoiseGenerator::Jump(uint32_t steps)
{
    // All powers of one affine map commute, so the binary powers can be
    // composed in any order.
    TJump result;
    TJump power{MULTIPLIER, INCREMENT};
    while (steps != 0) {
        if (steps & 1u)
            result = {power.multiplier * result.multiplier, power.multiplier * result.increment + power.increment};
        power = {power.multiplier * power.multiplier, power.multiplier * power.increment + power.increment};
        steps >>= 1;
    }
    return result;
}

} // namespace rix
