#pragma once

#include <cstdint>
#include <limits>

#include "RixConstants.h"

namespace rix {

// The synthesizer's integer arithmetic. Every sample, gain and phase is a
// 32-bit two's-complement value that wraps on overflow; the operations are
// done on uint32_t so a wrap is never undefined behaviour, and converted
// back. Right shifts of negative values are arithmetic (C++20), i.e. they
// round toward minus infinity ("floor shift").

inline int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrapNeg(int32_t a)
{
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// a × b floor-shifted right by 8: a /256-scale factor applied to a value.
inline int32_t ScaleFloor(int32_t a, int32_t b)
{
    return WrapMul(a, b) >> 8;
}

// Signed division rounding toward zero, by 256.
inline int32_t DivTrunc256(int32_t a)
{
    return a / 256;
}

// Single-precision rounding. Values beyond float's range become ±infinity
// (IEEE 754 conversion), which the static_assert makes a defined result.
static_assert(std::numeric_limits<float>::is_iec559, "IEEE 754 floats are required");
inline float ToSingle(double value)
{
    return static_cast<float>(value);
}

// The integer sine of oscillators and envelopes: one period per 256 steps of
// v (only v's low 8 bits count), range -128..128, starting at 0 and rising.
inline int32_t SineApprox(int32_t v)
{
    const int32_t x = (v & 0xFF) - 128;
    const int32_t magnitude = x < 0 ? -x : x;
    return ((magnitude * x) >> 5) - 4 * x;
}

} // namespace rix
