#pragma once

#include <cstdint>

namespace rix {

// The pseudo-random source of noise oscillators: a linear congruential
// generator (state × 214013 + 2531011 modulo 2^32) giving 15-bit values.
// Each module player owns one, reset to state 1 when it connects, so a song
// renders the same every time and players on different threads never share
// state.
struct TRixNoiseGenerator {
    // An affine map of the state, s -> s × multiplier + increment: the
    // effect of a number of steps at once.
    struct TJump {
        uint32_t multiplier = 1;
        uint32_t increment = 0;

        uint32_t Apply(uint32_t state) const { return state * multiplier + increment; }
    };

    static constexpr uint32_t MULTIPLIER = 214013u;
    static constexpr uint32_t INCREMENT = 2531011u;

    uint32_t state = 1;

    // The 15-bit value of one state.
    static int32_t ValueOf(uint32_t state) { return static_cast<int32_t>((state >> 16) & 0x7FFF); }

    // Steps once and returns the new state's value.
    int32_t Next()
    {
        state = state * MULTIPLIER + INCREMENT;
        return ValueOf(state);
    }

    // The map of `steps` single steps (the generator's period is 2^32, so
    // the count wraps harmlessly). Costs O(log steps).
    static TJump Jump(uint32_t steps);
};

} // namespace rix
